// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the update tests share: pages laid out as the bank's, a responder on
// 127.0.0.1 serving them, and the window updating from it.
#include "httpresponder.h"
#include "keyratefixture.h"
#include "patience.h"
#include "storage/settings.h"
#include "windowtest.h"

#include <QApplication>
#include <QStringEncoder>

inline const QString kBrowserKey = QStringLiteral("Software\\Microsoft\\Internet Explorer\\Main");
inline const QString kDone = QStringLiteral("Значения ставок рефинансирования актуализированы");
inline const QString kFailed = QStringLiteral("Ошибка соединения с сервером. Обновление прервано. "
                                              "Проверьте подключение к Интернету и повторите "
                                              "обновление.");
inline const QString kNoKeyRate = QStringLiteral(
    "Не удалось получить ключевую ставку с сайта Банка России; таблица ставок не изменена.");
// What the key rate page served by default makes of the table's head.
inline const QString kKeyRateLine = QStringLiteral("с 01 января 2016 г.=11,00");

// An update's word that it is done, alone; or, when the pages lack lines of
// the table it replaced (`before`, the file's bytes), first how many, with
// that file kept whole beside the new one.
inline bool saidDone(const ScriptedBoxes &boxes, const QString &rateFile, const QByteArray &before,
                     int dropped) {
    if (boxes.shown.isEmpty() || boxes.shown.last().text != kDone) return false;
    if (dropped == 0) return boxes.shown.size() == 1;
    const QString backup = rateFile + QStringLiteral(".bak");
    return boxes.shown.size() == 2 &&
           boxes.shown[0].text.contains(
               QStringLiteral("(записи других дат, заметки): %1. ").arg(dropped)) &&
           boxes.shown[0].text.contains(backup) && fileBytes(backup) == before;
}

// A page laid out as the bank's: a menu, a header row, a date cell and a rate
// cell per row, and a footer whose numbers come after the last date.
inline QByteArray bankPage(const QString &title, const QStringList &rows,
                           const QString &dateAttrs = QStringLiteral("valign=\"top\" nowrap")) {
    QString html = QStringLiteral("<html><head><title>%1</title></head><body>"
                                  "<table><tr><td>Главная</td><td>О банке</td></tr></table>"
                                  "<table><tr><th>Период</th><th>Ставка</th></tr>")
                       .arg(title);
    for (const QString &row : rows) {
        const QStringList cells = row.split(u'|');
        html +=
            QStringLiteral("<tr><td %1>%2</td><td>%3</td></tr>").arg(dateAttrs, cells[0], cells[1]);
    }
    html += QStringLiteral("</table><table><tr><td>© 1990–2010</td><td>2010</td><td>15</td>"
                           "</tr></table></body></html>");
    return QStringEncoder("windows-1251")(html);
}

// A home, the window and a responder for one test function; the update tests
// derive from it.
struct UpdateEnv {
    void start() {
        env_.start();
        server_ = std::make_unique<HttpResponder>();
        QVERIFY(server_->isListening());
    }
    void stop() {
        env_.stop();
        server_.reset();
    }
    // The settings name the responder's pages: the classic one at `path`, the
    // key rate one at /keyrate (one working day, unless a test serves another).
    void pointAt(const QString &path) {
        storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("update_url"),
                              server_->url(path));
        storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("keyrate_url"),
                              server_->url(QStringLiteral("/keyrate")));
        if (!server_->routes.contains("/keyrate"))
            server_->routes["/keyrate"] = {200, "text/html; charset=utf-8",
                                           ::keyRatePage({{QDate(2016, 1, 11), "11,00"}})};
    }
    // The window with its rate table open, updating from the responder.
    Window &openAt(const QString &path) {
        pointAt(path);
        Window &f = env_.open();
        f.window.openRatePanel();
        return f;
    }
    // Starts an update and waits until the window is back at rest.
    void update(Window &f) {
        QTest::mouseClick(f.updateLink, Qt::LeftButton);
        QVERIFY(!f.ratePanel->isEnabled());
        QVERIFY(f.updateProgress->isVisible());
        QVERIFY(QApplication::overrideCursor());
        QTRY_VERIFY_WITH_TIMEOUT(f.ratePanel->isEnabled() && f.updateProgress->isHidden(),
                                 kPatienceMs);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(storage::readSetting(kBrowserKey, false, QStringLiteral("Display Inline Images")),
                 QStringLiteral("yes"));
    }

    WindowEnv env_;
    std::unique_ptr<HttpResponder> server_;
};
