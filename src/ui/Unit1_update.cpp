// Refreshing the rate table from the central bank's page.
#include "Unit1.h"

#include "calc/apperror.h"
#include "rategrid.h"
#include "rates/pageloader.h"
#include "rates/ratefile.h"
#include "rates/ratepage.h"
#include "rates/settings.h"

#include <QApplication>
#include <QFrame>
#include <QProgressBar>

namespace {

// The browser's own switch for loading pictures; ours never loads any, but
// the switch is kept as users of the program have always seen it.
const QString kBrowserKey = QStringLiteral("Software\\Microsoft\\Internet Explorer\\Main");
const QString kInlineImages = QStringLiteral("Display Inline Images");

// Fetched over TLS: rates used in court claims must not be open to tampering
// on the way. `update_url` in the settings replaces it (a mirror).
const QString kRatePage = QStringLiteral(
    "https://www.cbr.ru/print.asp?file=/statistics/credit_statistics/refinancing_rates.htm");

void advance(QProgressBar *bar) {
    bar->setValue(std::min(bar->maximum(), bar->value() + 1));
}

} // namespace

rates::PageLoader *TForm1::pageLoader() {
    if (!loader_) {
        // Like an installed browser, the loader brings its settings key along.
        rates::SettingExists(kBrowserKey, true, kInlineImages);
        loader_ = new rates::PageLoader(this);
        connect(loader_, &rates::PageLoader::downloadBegin, this,
                [this] { run(&TForm1::WebBrowser1DownloadBegin); });
        connect(loader_, &rates::PageLoader::documentComplete, this,
                [this] { run(&TForm1::WebBrowser1DocumentComplete); });
    }
    loader_->setTimeLimit(updateTimeLimitMs);
    return loader_;
}

void TForm1::Label24Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    updating_ = true;
    Label23Click();
    Panel2->setEnabled(false);
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    try {
        rates::PageLoader *loader = pageLoader();
        rates::SettingWrite(kBrowserKey, false, kInlineImages, QStringLiteral("no"));
        QString address =
            rates::SettingRead(rates::kSettingsKey, false, QStringLiteral("update_url"));
        loader->navigate(QUrl(address.isEmpty() ? kRatePage : address));
    } catch (const AppError &) {
        updateAtRest();
        throw;
    }
}

void TForm1::WebBrowser1DownloadBegin() {
    advance(ProgressBar1);
}

void TForm1::updateAtRest() {
    if (updating_) {
        QApplication::restoreOverrideCursor();
        updating_ = false;
    }
    ProgressBar1->hide();
    Panel2->setEnabled(true);
}

void TForm1::connectionFailure() {
    ask(QStringLiteral("Ошибка соединения с сервером. Обновление прервано"),
        QStringLiteral("Ошибка соединения"), MessageBoxes::Icon::Stop, MessageBoxes::Buttons::Ok);
    updateAtRest();
}

void TForm1::WebBrowser1DocumentComplete() {
    try {
        rates::SettingWrite(kBrowserKey, false, kInlineImages, QStringLiteral("yes"));
        advance(ProgressBar1);
        const rates::HtmlDocument &page = pageLoader()->document();
        if (!page.isHtml() || !rates::IsRatePage(page) || !page.hasBody()) {
            connectionFailure();
            return;
        }
        advance(ProgressBar1);
        // All pairs are read before anything changes, and the file is written
        // before the grid shows the new table: a page that cannot be taken
        // whole never leaves the table half-replaced.
        const QStringList lines = rates::ReadRatePairs(rates::RatePageCells(page));
        Panel2->setEnabled(true);
        if (lines.isEmpty()) {
            updateAtRest();
            return;
        }
        advance(ProgressBar1);
        rates::RateTable fresh;
        fresh.setLines(lines);
        rates::RateFileSave(RateFilePath, fresh);
        table = fresh;
        ValueListEditor1->refresh();
        updateAtRest();
        ask(QStringLiteral("Значения ставок рефинансирования актуализированы"),
            QStringLiteral("Сообщение"), MessageBoxes::Icon::Information,
            MessageBoxes::Buttons::Ok);
        if (ValueListEditor1->isVisible()) ValueListEditor1->setFocus();
    } catch (const AppError &) {
        updateAtRest();
        throw;
    }
}
