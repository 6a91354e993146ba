// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/print/printerjob.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPagedPaintDevice;

namespace ui {

class Dialogs;

// What the boxes say of the thing printed: the calculation unless told.
struct PrintWords {
    QString ask = QStringLiteral("Распечатать расчет на бумажный носитель?");
    QString refused = QStringLiteral("Принтер \"%1\" не принял задание: расчет не напечатан.");
    QString sent = QStringLiteral(
        "Расчет отправлен на печать. Подождите, когда документ выйдет из лотка принтера.");
    QString noPrinter =
        QStringLiteral("Принтер не установлен, расчет не напечатан. Сохранить его в файл PDF?");
    QString saveCaption = QStringLiteral("Сохранить расчет");
    QString fileName = QStringLiteral("Расчет.pdf");
    QString saved = QStringLiteral("Расчет сохранен в файл \"%1\".");
};
// The same of the user's guide.
PrintWords guideWords();

// Prints report lines on the default printer after asking, or, without a
// printer, offers a PDF file of the same pages; saves them as PDF on request.
// Every outcome is told in a box; the busy pointer shows while the job runs.
class ReportPrinter {
public:
    // Lines go on one page (the window's six lines always fit on one).
    explicit ReportPrinter(Dialogs &dialogs, PrintWords words = {});

    // Makes the printer for a print: the default printer, or null when none
    // is installed. Tests print into files instead.
    using PrinterFactory = std::function<std::unique_ptr<PrinterJob>()>;
    void setPrinterFactory(PrinterFactory factory) { makePrinter_ = std::move(factory); }

    void print(const QStringList &lines);
    void savePdf(const QStringList &lines);
    // Draws the pages itself instead of the lines (the table by periods);
    // false when the device refused the job.
    using Drawer = std::function<bool(QPagedPaintDevice &)>;
    void setDrawer(Drawer drawer) { drawer_ = std::move(drawer); }

private:
    bool draw(QPagedPaintDevice &device, const QStringList &lines) const;
    void offerPdf(const QStringList &lines);

    Dialogs &dialogs_;
    PrintWords words_;
    PrinterFactory makePrinter_;
    Drawer drawer_;
};

} // namespace ui
