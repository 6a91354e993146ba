// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window/mainwindow.h"

#include "rates/knownrates.h"
#include "rates/ratelookup.h"
#include "ui/guide/help.h"
#include "ui/periods/periodsdialog.h"
#include "ui/rates/ratepanel.h"
#include "ui/rates/rateupdater.h"
#include "ui/widgets/accessibleparts.h"
#include "ui/widgets/claimkeys.h"
#include "ui/widgets/hovericon.h"
#include "ui/widgets/linklabel.h"
#include "ui/widgets/lookandfeel.h"
#include "ui/widgets/pictures.h"
#include "ui/widgets/readablestyle.h"
#include "ui/window/claiminputs.h"
#include "ui/window/mail.h"
#include "ui/window/ratemodes.h"
#include "ui/window/reportview.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QScreen>
#include <QShortcut>

namespace ui {
namespace {

const QString kCaption = QStringLiteral("Долгомер — расчет процентов и пеней");

} // namespace

QString MainWindow::builtContactAddress() {
    return QStringLiteral(DOLGOMER_CONTACT_ADDRESS);
}

MainWindow::MainWindow(MessageBoxes *boxes, QWidget *parent, const QString &contactAddress)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ownBoxes_(boxes ? nullptr : std::make_unique<QtMessageBoxes>()),
      dialogs_(this, boxes ? boxes : ownBoxes_.get()), contactAddress_(contactAddress) {
    useClassicFonts();
    useReadableStyle();
    installAccessibleParts();
    setObjectName(QStringLiteral("mainWindow"));
    // A saved claim dropped on the window opens as if given to the program.
    openDroppedClaims(this, [this](const QString &path) { openClaimFile(path); });
    setFont(plainFont(13));
    setMouseTracking(true);
    // Made in the order they lie on each other: the panels over the picture
    // and the inputs.
    claimInputs_ = new ClaimInputs(this);
    rateModes_ = new RateModes(this);
    createActions();
    reportView_ = new ReportView(this, dialogs_);
    createContact();
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setGeometry(336, 24, 249, 259);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setProperty("decorative", true);
    ratePanel_ = new RatePanel(this, dialogs_);
    rateUpdater_ = new RateUpdater(ratePanel_, dialogs_);
    rateEditor_ = new RateEditor(this, ratePanel_, dialogs_);

    // Mouse moves and clicks over a control belong to that control, never to
    // the window behind it: only the bare background resets the hover look
    // and closes the panels.
    for (QWidget *w : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        w->setAttribute(Qt::WA_NoMousePropagation);
    placeInKeyboardOrder();
    createShortcuts();
    wireParts();
    startUp();
    // Only now: setting today's dates at start-up is not a change of the
    // period that would look the rate up before the table is there.
    connect(claimInputs_, &ClaimInputs::periodEndChanged, ratePanel_, &RatePanel::periodEndChanged);
}

MainWindow::~MainWindow() = default;

void MainWindow::createActions() {
    calculateIcon_ =
        new HoverIcon(QStringLiteral(":/pictures/calc.png"), {24, 24},
                      QStringLiteral(":/pictures/calc-lit.png"), {25, 26}, {34, 281}, this);
    calculateIcon_->setObjectName(QStringLiteral("calculateIcon"));
    calculateIcon_->setProperty("decorative", true);
    calculateLink_ = new LinkLabel(
        QStringLiteral("Рассчитать"), this, {66, 284, 100, 20}, plainFont(16, true), kTeal,
        QStringLiteral("Произвести расчет по введенным данным (F9, Ctrl+Enter)"));
    calculateLink_->setObjectName(QStringLiteral("calculateLink"));
    closeIcon_ =
        new HoverIcon(QStringLiteral(":/pictures/close.png"), {26, 26},
                      QStringLiteral(":/pictures/close-lit.png"), {25, 26}, {194, 281}, this);
    closeIcon_->setObjectName(QStringLiteral("closeIcon"));
    closeIcon_->setProperty("decorative", true);
    closeLink_ = new LinkLabel(QStringLiteral("Закрыть"), this, {226, 284, 74, 20},
                               plainFont(16, true), kTeal, QStringLiteral("Закрыть приложение"));
    closeLink_->setObjectName(QStringLiteral("closeLink"));
    // The calculation by periods, in the free space right of "Закрыть".
    periodsLink_ = new LinkLabel(QStringLiteral("По периодам..."), this, {350, 284, 0, 0},
                                 plainFont(16, true), kTeal,
                                 QStringLiteral("Проценты по ст. 395 ГК РФ по периодам действия "
                                                "ставок, с оплатами и мораторием"));
    periodsLink_->setObjectName(QStringLiteral("periodsLink"));
    periodsLink_->setHoverFont(true, true);
    helpLink_ =
        new LinkLabel(QStringLiteral("Справка"), this, {508, 284, 0, 0}, plainFont(16, true), kTeal,
                      QStringLiteral("Руководство пользователя (F1)"));
    helpLink_->setObjectName(QStringLiteral("helpLink"));
    helpLink_->setHoverFont(true, true);
    installHelpKey(this, dialogs_);
    calculateLink_->setHoverFont(true, true);
    calculateLink_->setIcon(calculateIcon_);
    closeLink_->setHoverFont(true, true);
    closeLink_->setIcon(closeIcon_);
}

void MainWindow::createContact() {
    // Above everything, where it is seen in either mode without a click; a
    // click opens the table, whose foot has the update link.
    staleNote_ = new LinkLabel(QString(), this, {8, 4, 0, 0}, plainFont(11), kMaroon,
                               QStringLiteral("Откройте таблицу ставок и обновите ее через "
                                              "Интернет или добавьте новые ставки"));
    staleNote_->setObjectName(QStringLiteral("staleTableNote"));
    staleNote_->setHoverFont(false, true);
    staleNote_->hide();
    // Only a build given an address offers one: no placeholder ever ships.
    if (contactAddress_.isEmpty()) return;
    auto *caption = makeLabel(this, QStringLiteral("Для связи:"), {433, 4}, plainFont(11));
    contactLink_ = new LinkLabel(contactAddress_, this,
                                 {caption->x() + caption->width() + 2, caption->y(), 0, 0},
                                 plainFont(11), kBlue, QString());
    contactLink_->setObjectName(QStringLiteral("contactLink"));
    contactLink_->setHoverFont(false, true);
    connect(contactLink_, &LinkLabel::clicked, this, &MainWindow::writeToUs);
}

// The keyboard goes as the window reads, top to bottom and left to right:
// the stale-table line and the contact link, the debt, the tax rate and the
// period, the courts, the mode inputs (the rate field, then the rate table it
// opens and its editor, then the divisor), the actions, then the report and
// its print link. Parts made on first use take their place when made.
void MainWindow::placeInKeyboardOrder() {
    FocusLink *const order[] = {&topFocus_,
                                &claimInputs_->periodFocus(),
                                &claimInputs_->courtFocus(),
                                &rateModes_->focusLink(),
                                &ratePanel_->focusLink(),
                                &rateUpdater_->focusLink(),
                                &rateEditor_->focusLink(),
                                &rateModes_->afterRateFocus(),
                                &actionsFocus_,
                                &reportView_->focusLink()};
    QList<QWidget *> top = {staleNote_};
    if (contactLink_) top << contactLink_;
    topFocus_.place(top);
    actionsFocus_.place({calculateLink_, closeLink_, periodsLink_, helpLink_});
    for (size_t i = 1; i < std::size(order); ++i)
        order[i]->follow(order[i - 1]);
}

bool MainWindow::focusNextPrevChild(bool next) {
    if (QWidget *w = nextSeenInFocusChain(this, next)) {
        w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void MainWindow::wireParts() {
    connect(claimInputs_, &ClaimInputs::clicked, this, &MainWindow::closePanels);
    connect(rateModes_, &RateModes::panelsDismissed, this, &MainWindow::closePanels);
    connect(rateModes_, &RateModes::rateTableWanted, this, &MainWindow::openRatePanel);
    connect(calculateLink_, &LinkLabel::clicked, this, &MainWindow::calculate);
    connect(calculateIcon_, &HoverIcon::clicked, this, &MainWindow::calculate);
    connect(reportView_, &ReportView::recalculateRequested, this, &MainWindow::calculate);
    connect(closeLink_, &LinkLabel::clicked, this, &MainWindow::closeWindow);
    connect(closeIcon_, &HoverIcon::clicked, this, &MainWindow::closeWindow);
    connect(periodsLink_, &LinkLabel::clicked, this, &MainWindow::openPeriods);
    connect(helpLink_, &LinkLabel::clicked, this, [this] { openHelpAtFocus(this, dialogs_); });
    connect(staleNote_, &LinkLabel::clicked, this, [this] {
        const QDate missing = rates::missingKnownChange(
            tablePoints_, claimInputs_->periodStartDate(), claimInputs_->periodEndDate());
        if (!rateUpdater_->offerKnown(newestEntry_, missing)) openRatePanel();
    });
    // The table's newest entry is worked out when the table changes, not at
    // every change of the period's end (a table of 10 000 entries takes ms).
    connect(ratePanel_, &RatePanel::tableChanged, this, [this] {
        tablePoints_ = rates::ratePoints(ratePanel_->table());
        newestEntry_ = rates::newestPoint(tablePoints_);
        checkTableAge();
    });
    connect(claimInputs_, &ClaimInputs::periodEndChanged, this, &MainWindow::checkTableAge);
    connect(claimInputs_, &ClaimInputs::periodStartChanged, this, &MainWindow::checkTableAge);
    connect(reportView_, &ReportView::periodsRequested, this, &MainWindow::openPeriods);
    connect(reportView_, &ReportView::claimFileChosen, this, &MainWindow::openClaimFile);

    connect(ratePanel_, &RatePanel::rateFound, rateModes_, &RateModes::setRefinancingRate);
    connect(ratePanel_, &RatePanel::entryChosen, this, &MainWindow::showChosenEntry);
    connect(ratePanel_, &RatePanel::badEntryChosen, rateEditor_, &RateEditor::startEditing);
    connect(ratePanel_, &RatePanel::choiceMade, this, &MainWindow::leavePanels);
    connect(ratePanel_, &RatePanel::addingWanted, rateEditor_, &RateEditor::startAdding);
    connect(ratePanel_, &RatePanel::editingWanted, rateEditor_, &RateEditor::startEditing);
    connect(ratePanel_, &RatePanel::deletingWanted, rateEditor_, &RateEditor::deleteChosen);
    connect(rateEditor_, &RateEditor::opened, this, &MainWindow::makeRoomForEditor);
    connect(rateUpdater_, &RateUpdater::started, rateEditor_, &RateEditor::close);
}

void MainWindow::startUp() {
    setWindowTitle(kCaption);
    claimInputs_->reset();
    setFixedWidth(600 - kFrameWidth);
    setOuterHeight(calculateLink_->y() + calculateLink_->height() + 42);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    showPicture();
    // The rate table: the built-in history, replaced by the user's file.
    if (!ratePanel_->openStorage()) return; // the lookup needs a table that came through
    ratePanel_->followPeriodEnd(claimInputs_->periodEndDate());
}

// One of five pictures, chosen afresh at each start; only that one is decoded.
void MainWindow::showPicture() {
    static const char *const pictures[] = {":/pictures/picture1.jpg", ":/pictures/picture2.jpg",
                                           ":/pictures/picture3.jpg", ":/pictures/picture4.jpg",
                                           ":/pictures/picture5.jpg"};
    QRandomGenerator rng(quint32(QDateTime::currentMSecsSinceEpoch()));
    const QString chosen = QString::fromLatin1(pictures[rng.bounded(5)]);
    picture_->setPixmap(loadPicture(chosen, picture_->size()));
}

int MainWindow::outerHeight() const {
    return height() + kFrameHeight;
}

void MainWindow::setOuterHeight(int height) {
    setFixedHeight(height - kFrameHeight);
}

void MainWindow::calculate() {
    dialogs_.guard([this] {
        rateModes_->normaliseDailyRate();
        claimInputs_->normaliseDebt();
        closePanels();
        reportView_->clear();
        setOuterHeight(reportView_->bottom() + 40);
        calc::CalcInput input;
        claimInputs_->fill(input);
        rateModes_->fill(input);
        input.filed = filingDate();
        reportView_->setLines(calc::calculate(input).lines);
    });
}

QDate MainWindow::filingDate() const {
    return filingDay_.isNull() ? QDate::currentDate() : filingDay_;
}

void MainWindow::closePanels() {
    ratePanel_->close();
    rateEditor_->close();
    rateModes_->setRateFieldEnabled(true);
}

void MainWindow::openRatePanel() {
    // Whatever had the keyboard gets it back when the table closes.
    if (!ratePanel_->isOpen()) panelOpener_ = focusWidget();
    dialogs_.guard([this] {
        rateModes_->setRateFieldEnabled(false);
        ratePanel_->followFile();
        ratePanel_->open();
        ratePanel_->showRate(claimInputs_->periodEndDate(), rateModes_->refinancingRateText());
        ratePanel_->focusGrid();
    });
}

// Shortcuts anywhere in the window, shown in the actions' tooltips.
void MainWindow::createShortcuts() {
    addClaimKeys(this, &MainWindow::calculate, &MainWindow::print);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &MainWindow::closeOpenPanel);
}

void MainWindow::print() {
    reportView_->print();
}

void MainWindow::closeOpenPanel() {
    if (!ratePanel_->isOpen() && !rateEditor_->isOpen()) return;
    leavePanels();
}

// Closed by the keyboard (Enter, Esc) or a choice: the control that opened
// the table has the keyboard again (the end date when it is gone).
void MainWindow::leavePanels() {
    closePanels();
    if (QWidget *back = panelOpener_; back && back->isVisible() && back->isEnabled())
        return back->setFocus(Qt::OtherFocusReason);
    claimInputs_->focusPeriodEnd(Qt::OtherFocusReason);
}

void MainWindow::closeWindow() {
    close();
}

// However the window is closed ("Закрыть", Alt+F4, the desktop's close
// request), the divisor and the contractual rate are kept. A store that
// cannot be written is reported, but it must not keep the user in the window.
// A change of the rate table that never reached its file is not dropped
// without asking.
void MainWindow::closeEvent(QCloseEvent *event) {
    if (ratePanel_->hasUnsavedChange() &&
        !dialogs_.ask(QStringLiteral("Изменения таблицы ставок не сохранены в файл \"%1\". "
                                     "Закрыть программу без них?")
                          .arg(QDir::toNativeSeparators(ratePanel_->rateFilePath())),
                      appTitle(), MessageBoxes::Icon::Question, MessageBoxes::Buttons::YesNo)) {
        event->ignore();
        return;
    }
    dialogs_.guard([this] { rateModes_->storeSettings(); });
    QWidget::closeEvent(event);
}

void MainWindow::openPeriods() {
    closePanels();
    claimInputs_->normaliseDebt();
    calc::CalcInput window;
    claimInputs_->fill(window);
    rateModes_->normaliseDailyRate();
    rateModes_->fill(window);
    window.filed = filingDate();
    ratePanel_->followFile();
    const calc::PeriodInput claim =
        calc::periodClaimOf(window, rates::ratePoints(ratePanel_->table()));
    if (!periodsDialog_) {
        periodsDialog_ = new PeriodsDialog(this, dialogs_);
        connect(periodsDialog_, &PeriodsDialog::termsChanged, claimInputs_, &ClaimInputs::show);
    }
    periodsDialog_->setClaim(claim, window.contractText);
    periodsDialog_->open();
}

void MainWindow::openClaimFile(const QString &path) {
    const std::optional<calc::PeriodInput> claim = readClaimFile(dialogs_, path);
    if (!claim) return;
    // The window holds the claim too, so "По периодам..." opens it again.
    claimInputs_->show(*claim);
    openPeriods();
    periodsDialog_->showSaved(*claim);
}

void MainWindow::makeRoomForEditor(RateEditor::Mode mode) {
    // Adding needs a little more room, but not so much that the report box's
    // top edge shows under the buttons.
    const int gap = mode == RateEditor::Mode::Adding ? 49 : 45;
    setOuterHeight(calculateLink_->y() + calculateLink_->height() + gap);
}

void MainWindow::showChosenEntry(QDate date, const QString &rate) {
    rateModes_->setRefinancingRate(rate);
    rateEditor_->showEntry(date, rate);
}

void MainWindow::checkTableAge() {
    const QString note = rates::tableGapNote(tablePoints_, claimInputs_->periodStartDate(),
                                             claimInputs_->periodEndDate());
    staleNote_->setText(note);
    staleNote_->adjustSize();
    staleNote_->setVisible(!note.isEmpty());
}

void MainWindow::writeToUs() {
    closePanels(); // as a background click: the rate field takes clicks again
    writeMail(dialogs_, QStringLiteral("Разработчики Долгомера"), contactAddress_, kCaption);
}

void MainWindow::resetHoverLook() {
    for (HoverIcon *icon : {closeIcon_, calculateIcon_})
        icon->setLit(false);
    for (LinkLabel *link : {closeLink_, calculateLink_, periodsLink_, helpLink_})
        link->showRest();
    reportView_->resetHoverLook();
}

void MainWindow::mouseMoveEvent(QMouseEvent *event) {
    resetHoverLook();
    QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) closePanels();
    QWidget::mouseReleaseEvent(event);
}

} // namespace ui
