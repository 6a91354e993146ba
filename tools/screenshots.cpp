// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the window in its main states to PNG files for the documentation:
//   make screenshots   (runs this under Xvfb, writes docs/*.png)
#include "common/apperror.h"
#include "documents/claimdocument.h"
#include "documents/paper.h"
#include "ui/guide/help.h"
#include "ui/periods/countchoice.h"
#include "ui/periods/periodentries.h"
#include "ui/periods/periodsdialog.h"
#include "ui/print/printing.h"
#include "ui/rates/rateeditor.h"
#include "ui/rates/rategrid.h"
#include "ui/rates/ratepanel.h"
#include "ui/widgets/datepicker.h"
#include "ui/widgets/numberfield.h"
#include "ui/window/application.h"
#include "ui/window/claiminputs.h"
#include "ui/window/mainwindow.h"
#include "ui/window/ratemodes.h"
#include "ui/window/reportview.h"

#include <QContextMenuEvent>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEventLoop>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace {

void settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

// A control by its object name, as the tests reach them.
template <class T> T *part(const QObject *root, const char *name) {
    T *found = root->findChild<T *>(QString::fromLatin1(name));
    if (!found) qFatal("no %s", name);
    return found;
}

bool save(ui::MainWindow &form, const QString &path) {
    settle();
    return form.grab().save(path);
}

} // namespace

// The worked example calculated, with the rate table open beside it.
void showExample(ui::MainWindow &form) {
    form.fileOn(QDate(2010, 2, 1));
    part<ui::NumberField>(&form, "debtField")->setText(QStringLiteral("100000"));
    part<ui::DatePicker>(&form, "periodStart")->setDate(QDate(2010, 1, 1));
    part<ui::DatePicker>(&form, "periodEnd")->setDate(QDate(2010, 1, 30));
    part<QRadioButton>(&form, "generalCourt")->setChecked(true);
    part<ui::RateModes>(&form, "rateModes")->chooseStatutory();
    form.calculate();
    form.openRatePanel();
}

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    p.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
    p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x26));
    p.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
    p.setColor(QPalette::Button, QColor(0x3c, 0x3c, 0x3c));
    p.setColor(QPalette::ButtonText, QColor(0xf0, 0xf0, 0xf0));
    p.setColor(QPalette::Highlight, QColor(0x2f, 0x65, 0xca));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

// The window's own pictures: the worked example, its printout, the rate
// panel and its menu, the guide, the statutory mode.
bool windowPictures(ui::MainWindow &form, const QString &dir, ui::MessageBoxes &boxes) {
    bool ok = true;
    // The worked example: a claim of 2010, filed then.
    form.fileOn(QDate(2010, 2, 1));
    part<ui::NumberField>(&form, "debtField")->setText(QStringLiteral("100000"));
    part<ui::DatePicker>(&form, "periodStart")->setDate(QDate(2010, 1, 1));
    part<ui::DatePicker>(&form, "periodEnd")->setDate(QDate(2010, 1, 30));
    part<QRadioButton>(&form, "generalCourt")->setChecked(true);
    form.calculate();
    ok = save(form, dir + QStringLiteral("/window-report.png")) && ok;
    {
        // The printout of this report, as the printer would get it.
        QPdfWriter pdf(dir + QStringLiteral("/printout.pdf"));
        pdf.setResolution(300);
        QPainter painter(&pdf);
        const QRect area = pdf.pageLayout().paintRectPixels(pdf.resolution());
        ui::drawReportPage(painter, area.width(), area.height(),
                           part<ui::ReportView>(&form, "reportView")->shownLines());
        ok = painter.end() && ok;
    }

    form.openRatePanel();
    part<ui::RatePanel>(&form, "rateList")->selectRow(4);
    part<ui::RateEditor>(&form, "rateEditing")->startAdding();
    ok = save(form, dir + QStringLiteral("/window-rate-panel.png")) && ok;
    {
        // The table's menu as the menu key opens it, with the rates the program knows.
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QApplication::sendEvent(part<ui::RatePanel>(&form, "rateList")->grid(), &menuKey);
        if (QWidget *menu = QApplication::activePopupWidget()) {
            ok = menu->grab().save(dir + QStringLiteral("/window-rate-menu.png")) && ok;
            menu->close();
        }
    }

    {
        // The guide, opened at the bases of a claim.
        ui::HelpWindow *help =
            ui::openHelp(&form, ui::Dialogs(&form, &boxes), QStringLiteral("bases"));
        QApplication::processEvents();
        ok = help->grab().save(dir + QStringLiteral("/help.png")) && ok;
        help->close();
    }

    form.closePanels();
    part<ui::RateModes>(&form, "rateModes")->chooseStatutory();
    form.calculate();
    ok = save(form, dir + QStringLiteral("/window-statutory.png")) && ok;

    return ok;
}

// The periods dialog's: a claim with a payment and an increase, its table,
// its parties and the court order made of it, the housing penalty.
bool periodsPictures(ui::MainWindow &form, const QString &dir) {
    bool ok = true;
    // The calculation by periods, with a payment and an increase, for a claim
    // of 2022 filed today.
    form.fileOn(QDate());
    part<ui::DatePicker>(&form, "periodStart")->setDate(QDate(2022, 3, 1));
    part<ui::DatePicker>(&form, "periodEnd")->setDate(QDate(2022, 10, 31));
    form.openPeriods();
    ui::PeriodsDialog *periods = part<ui::PeriodsDialog>(&form, "periodsDialog");
    part<ui::DatePicker>(periods, "paymentDate")->setDate(QDate(2022, 6, 10));
    part<ui::NumberField>(periods, "paymentAmount")->setText(QStringLiteral("5000"));
    part<ui::PeriodEntries>(periods, "periodEntries")->add();
    // An invoice overdue from 01.08.2022 raises the debt from that day.
    part<ui::DatePicker>(periods, "paymentDate")->setDate(QDate(2022, 8, 1));
    part<ui::NumberField>(periods, "paymentAmount")->setText(QStringLiteral("20000"));
    part<QComboBox>(periods, "entryKind")->setCurrentIndex(1);
    part<ui::PeriodEntries>(periods, "periodEntries")->add();
    periods->reportLines(); // its count come
    settle();
    ok = periods->grab().save(dir + QStringLiteral("/periods-dialog.png")) && ok;
    // The same claim as the table a court gets (its first page is drawn from it).
    try {
        documents::saveDocument(
            dir + QStringLiteral("/periods-table.pdf"),
            documents::makeDocument(periods->currentClaim(), QDate(2026, 12, 7)));
    } catch (const AppError &) {
        ok = false;
    }
    // The same claim's parties, and the court-order application made of it.
    periods->findChild<QToolButton *>(QStringLiteral("partiesToggle"))->setChecked(true);
    const char *const parties[][2] = {
        {"claimant", "ООО \"Ромашка\""},
        {"claimant_address", "г. Москва, ул. Садовая, д. 1"},
        {"claimant_id", "ИНН 7700000000, ОГРН 1027700000000"},
        {"debtor", "Иванов Иван Иванович"},
        {"debtor_address", "г. Тула, ул. Мира, д. 2, кв. 3"},
        {"debtor_born", "01.02.1980, г. Тула"},
        {"ground", "договор поставки № 15 от 10.01.2022"},
        {"court_name", "Мировому судье судебного участка № 5 Центрального района г. Тулы"},
    };
    for (const auto &[name, text] : parties) {
        auto *field = part<QLineEdit>(periods, name);
        field->setText(QString::fromUtf8(text));
        emit field->editingFinished();
    }
    periods->reportLines();
    settle();
    ok = periods->grab().save(dir + QStringLiteral("/periods-parties.png")) && ok;
    try {
        documents::saveDocument(dir + QStringLiteral("/court-order.pdf"),
                                documents::makePaper(periods->currentClaim(),
                                                     documents::PaperKind::CourtOrder,
                                                     QDate(2026, 12, 7)));
    } catch (const AppError &) {
        ok = false;
    }
    periods->findChild<QToolButton *>(QStringLiteral("partiesToggle"))->setChecked(false);
    // The housing penalty: half a year of bills, one paid late, one paid for
    // a named month.
    part<ui::PeriodEntries>(periods, "periodEntries")->setEntries({}, {});
    part<QRadioButton>(periods, "housingCount")->setChecked(true);
    part<ui::DatePicker>(periods, "filingDate")->setDate(QDate(2024, 12, 2));
    part<ui::PeriodEntries>(periods, "periodEntries")
        ->fillCharges(QDate(2024, 1, 1), QDate(2024, 6, 1), QStringLiteral("3000"));
    part<ui::DatePicker>(periods, "paymentDate")->setDate(QDate(2024, 5, 20));
    part<ui::NumberField>(periods, "paymentAmount")->setText(QStringLiteral("6000"));
    part<QComboBox>(periods, "entryKind")->setCurrentIndex(0);
    part<ui::PeriodEntries>(periods, "periodEntries")->add();
    part<ui::DatePicker>(periods, "paymentDate")->setDate(QDate(2024, 7, 9));
    part<ui::NumberField>(periods, "paymentAmount")->setText(QStringLiteral("3000"));
    part<QCheckBox>(periods, "entryForMonth")->setChecked(true);
    part<QDateEdit>(periods, "entryMonth")->setDate(QDate(2024, 6, 1));
    part<ui::PeriodEntries>(periods, "periodEntries")->add();
    periods->reportLines();
    settle();
    ok = periods->grab().save(dir + QStringLiteral("/periods-housing.png")) && ok;
    return ok;
}

int main(int argc, char **argv) {
    ui::Application app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    ui::SilentMessageBoxes boxes;
    if (argc > 2 && QByteArray(argv[2]) == "scaled") {
        // Run with QT_SCALE_FACTOR=2: the window as a screen scaled up shows it.
        ui::MainWindow form(&boxes);
        form.show();
        showExample(form);
        return save(form, dir + QStringLiteral("/window-scale-2.png")) ? 0 : 1;
    }
    {
        // Under a dark desktop theme.
        const QPalette light = QApplication::palette();
        QApplication::setPalette(darkPalette());
        ui::MainWindow form(&boxes);
        form.show();
        showExample(form);
        const bool saved = save(form, dir + QStringLiteral("/window-dark.png"));
        QApplication::setPalette(light);
        if (!saved) return 1;
    }
    ui::MainWindow form(&boxes);
    form.show();
    bool ok = save(form, dir + QStringLiteral("/window-compact.png"));
    ok = windowPictures(form, dir, boxes) && ok;
    ok = periodsPictures(form, dir) && ok;
    return ok ? 0 : 1;
}
