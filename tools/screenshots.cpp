// Renders the window in its main states to PNG files for the documentation:
//   make screenshots   (runs this under Xvfb, writes docs/*.png)
#include "Unit1.h"
#include "application.h"
#include "printing.h"
#include "rategrid.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <QDateEdit>
#include <QEventLoop>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

namespace {

void settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(TForm1 &form, const QString &path) {
    settle();
    return form.grab().save(path);
}

} // namespace

int main(int argc, char **argv) {
    ui::Application app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    SilentMessageBoxes boxes;
    TForm1 form(&boxes);
    form.show();
    bool ok = save(form, dir + QStringLiteral("/window-compact.png"));

    form.Edit1->setText(QStringLiteral("100000"));
    form.DateTimePicker1->setDate(QDate(2010, 1, 1));
    form.DateTimePicker2->setDate(QDate(2010, 1, 30));
    form.RadioButton2->setChecked(true);
    form.Label6Click();
    ok = save(form, dir + QStringLiteral("/window-report.png")) && ok;
    {
        // The printout of this report, as the printer would get it.
        QPdfWriter pdf(dir + QStringLiteral("/printout.pdf"));
        pdf.setResolution(300);
        QPainter painter(&pdf);
        const QRect area = pdf.pageLayout().paintRectPixels(pdf.resolution());
        ui::DrawReportPage(painter, area.width(), area.height(), ui::DisplayLines(form.RichEdit1));
        ok = painter.end() && ok;
    }

    form.Edit5Click();
    form.ValueListEditor1->selectRow(4);
    form.addClick();
    ok = save(form, dir + QStringLiteral("/window-rate-panel.png")) && ok;
    return ok ? 0 : 1;
}
