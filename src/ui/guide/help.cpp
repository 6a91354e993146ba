// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/guide/help.h"

#include "storage/savedfile.h"

#include <QAccessible>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPagedPaintDevice>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ui {
namespace {

// Controls (by their object names) and the section that tells of them; a
// control without a row of its own takes its parent's.
struct Section {
    const char *objectName;
    const char *anchor;
};
constexpr Section kSections[] = {
    {"ratePanel", "rates"},       {"rateEditor", "rates"},
    {"staleTableNote", "rates"},  {"refinancingRateField", "rates"},
    {"countChoice", "bases"},     {"entriesGrid", "payments"},
    {"paymentDate", "payments"},  {"paymentAmount", "payments"},
    {"entryKind", "payments"},    {"debtArose", "moratoria"},
    {"moratorium", "moratoria"},  {"filingDate", "fee"},
    {"courtOrder", "fee"},        {"periodsReport", "documents"},
    {"partiesToggle", "papers"},  {"partiesForm", "papers"},
    {"makePaper", "papers"},      {"periodsDialog", "periods"},
};

QPointer<HelpWindow> shown; // one guide at a time

} // namespace

HelpWindow::HelpWindow(QWidget *parent, const Dialogs &dialogs)
    : QDialog(parent), dialogs_(dialogs.over(this)), printer_(dialogs_, guideWords()) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Справка — Долгомер"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(720, 560);
    auto *layout = new QVBoxLayout(this);
    auto *find = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("&Найти:"), this);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("helpSearch"));
    search_->setAccessibleName(QStringLiteral("Найти в справке"));
    search_->setClearButtonEnabled(true);
    label->setBuddy(search_);
    auto *next = new QPushButton(QStringLiteral("Далее"), this);
    next->setAutoDefault(false);
    notFound_ = new QLabel(QStringLiteral("Не найдено"), this);
    notFound_->setObjectName(QStringLiteral("helpNotFound"));
    notFound_->setAccessibleName(QStringLiteral("Не найдено"));
    notFound_->hide();
    find->addWidget(label);
    find->addWidget(search_, 1);
    find->addWidget(next);
    find->addWidget(notFound_);
    auto *browser = new QPushButton(QStringLiteral("Открыть в браузере"), this);
    browser->setObjectName(QStringLiteral("helpInBrowser"));
    browser->setAutoDefault(false);
    browser->setToolTip(QStringLiteral("Справка в браузере: там ее можно распечатать"));
    find->addWidget(browser);
    connect(browser, &QPushButton::clicked, this, &HelpWindow::openInBrowser);
    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("helpText"));
    text_->setAccessibleName(QStringLiteral("Текст справки"));
    text_->setOpenExternalLinks(false);
    text_->setSource(QUrl(QStringLiteral("qrc:/guide/guide.html")));
    layout->addLayout(find);
    layout->addWidget(text_, 1);
    connect(search_, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(search_, &QLineEdit::textChanged, notFound_, &QWidget::hide);
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    auto *findKey = new QShortcut(QKeySequence::Find, this);
    connect(findKey, &QShortcut::activated, this, [this] {
        search_->setFocus();
        search_->selectAll();
    });
    auto *back = new QShortcut(QKeySequence::FindPrevious, this);
    connect(back, &QShortcut::activated, this, [this] { findNext(true); });
    auto *again = new QShortcut(QKeySequence::FindNext, this);
    connect(again, &QShortcut::activated, this, [this] { findNext(); });
    auto *printKey = new QShortcut(QKeySequence::Print, this);
    connect(printKey, &QShortcut::activated, this, &HelpWindow::print);
    printer_.setDrawer([this](QPagedPaintDevice &device) {
        text_->document()->print(&device);
        return true; // a device that failed says so itself
    });
    text_->setFocus();
}

// The guide the program carries, written to the user's cache (where a
// browser can read it whatever was installed) and opened there.
bool HelpWindow::openInBrowser() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString path = dir + QStringLiteral("/guide.html");
    QFile guide(QStringLiteral(":/guide/guide.html"));
    QString failed = QDir().mkpath(dir) && guide.open(QIODevice::ReadOnly)
                         ? storage::saveFile(path, guide.readAll())
                         : QStringLiteral("не удается создать папку %1").arg(dir);
    if (failed.isEmpty() && !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        failed = QStringLiteral("не удается открыть браузер");
    notFound_->setText(failed.isEmpty() ? QStringLiteral("Не найдено")
                                        : QStringLiteral("Справка не открыта: ") + failed);
    notFound_->setAccessibleName(notFound_->text());
    notFound_->setVisible(!failed.isEmpty());
    return failed.isEmpty();
}

void HelpWindow::print() {
    printer_.print({});
}

void HelpWindow::showSection(const QString &anchor) {
    text_->scrollToAnchor(anchor);
}

bool HelpWindow::findNext(bool backward) {
    const QString what = search_->text();
    if (what.isEmpty()) return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    notFound_->hide();
    notFound_->setText(QStringLiteral("Не найдено"));
    notFound_->setAccessibleName(notFound_->text());
    if (text_->find(what, flags)) return true;
    // Past the last match: from the top (or the bottom) again; where no
    // match is, the reader stays where they were and is told.
    const QTextCursor was = text_->textCursor();
    const int scrolled = text_->verticalScrollBar()->value();
    QTextCursor from(text_->document());
    from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    text_->setTextCursor(from);
    if (text_->find(what, flags)) return true;
    text_->setTextCursor(was);
    text_->verticalScrollBar()->setValue(scrolled);
    notFound_->show();
    QAccessibleEvent shown(notFound_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&shown);
    return false;
}

QString helpSectionFor(const QWidget *focus) {
    if (focus && focus->property(kHelpSection).isValid())
        return focus->property(kHelpSection).toString();
    for (const QWidget *w = focus; w; w = w->parentWidget())
        for (const Section &s : kSections)
            if (w->objectName() == QLatin1String(s.objectName)) return QLatin1String(s.anchor);
    return QStringLiteral("start");
}

QStringList helpSections() {
    QStringList anchors{QStringLiteral("start")};
    for (const Section &s : kSections)
        if (!anchors.contains(QLatin1String(s.anchor))) anchors << QLatin1String(s.anchor);
    return anchors;
}

HelpWindow *openHelp(QWidget *parent, const Dialogs &dialogs, const QString &anchor) {
    if (shown && shown->parentWidget() != parent) {
        shown->close(); // deleted later: a new one goes over `parent` now
        shown = nullptr;
    }
    if (!shown) shown = new HelpWindow(parent, dialogs);
    shown->showSection(anchor);
    shown->show();
    shown->raise();
    shown->activateWindow();
    return shown;
}

HelpWindow *openHelpAtFocus(QWidget *window, const Dialogs &dialogs) {
    QWidget *focus = QApplication::focusWidget();
    return openHelp(window, dialogs,
                    helpSectionFor(focus && focus->window() == window ? focus : window));
}

void installHelpKey(QWidget *window, const Dialogs &dialogs) {
    auto *key = new QShortcut(QKeySequence::HelpContents, window);
    key->setContext(Qt::WindowShortcut); // a modal dialog installs its own
    QObject::connect(key, &QShortcut::activated, window,
                     [window, dialogs] { openHelpAtFocus(window, dialogs); });
}

} // namespace ui
