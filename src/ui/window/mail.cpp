// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window/mail.h"

#include "ui/widgets/dialogs.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>
#include <QUrlQuery>

namespace ui {

void writeMail(Dialogs &dialogs, const QString &name, const QString &address,
               const QString &subject) {
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(name + QStringLiteral(" <") + address + u'>');
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), subject);
    url.setQuery(query);
    if (QDesktopServices::openUrl(url)) return;
    // No mail program: the address is still of use, on the clipboard.
    QGuiApplication::clipboard()->setText(address);
    dialogs.ask(QStringLiteral("Почтовая программа не найдена. Напишите нам по адресу %1 "
                               "(адрес скопирован в буфер обмена).")
                    .arg(address),
                QStringLiteral("Сообщение"), MessageBoxes::Icon::Information);
}

} // namespace ui
