// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/periodsdialog.h"

#include "calc/presets.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "documents/claimdocument.h"
#include "rates/ratelookup.h"
#include "storage/claimfile.h"
#include "storage/recentfiles.h"
#include "ui/guide/help.h"
#include "ui/widgets/claimkeys.h"
#include "ui/widgets/dialogs.h"
#include "ui/widgets/focusring.h"
#include "ui/widgets/lookandfeel.h"
#include "ui/widgets/numberfield.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPagedPaintDevice>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace ui {

namespace {

QPushButton *button(const QString &text, QWidget *parent, QLayout *layout) {
    auto *b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    layout->addWidget(b);
    return b;
}

} // namespace

PeriodsDialog::PeriodsDialog(QWidget *parent, Dialogs &dialogs)
    : QDialog(parent), dialogs_(dialogs), printer_(dialogs) {
    setObjectName(QStringLiteral("periodsDialog"));
    setWindowTitle(QStringLiteral("Расчет по периодам"));
    // A saved claim dropped on the dialog opens as "Открыть расчет..." opens it.
    openDroppedClaims(this, [this](const QString &path) { openClaim(path); });
    // The content scrolls where the screen is smaller than it (a large scale
    // on a small screen); the dialog itself always fits the screen.
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus); // its content takes the keyboard
    auto *content = new QWidget(scroll_);
    auto *layout = new QVBoxLayout(content);
    scroll_->setWidget(content);
    outer->addWidget(scroll_);
    terms_ = new ClaimTerms(this);
    layout->addWidget(terms_);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    count_ = new CountChoice(this);
    layout->addWidget(count_);
    entries_ = new PeriodEntries(this, dialogs);
    layout->addWidget(entries_);
    options_ = new ClaimOptions(this, dialogs);
    layout->addWidget(options_);
    notes_ = new QLabel(this);
    notes_->setObjectName(QStringLiteral("periodsNotes"));
    notes_->setWordWrap(true);
    // Reached by Tab and read like any field: what the user should know
    // is never only seen.
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    notes_->setFocusPolicy(Qt::StrongFocus);
    ringFocus(notes_);
    setTextColor(notes_, kMaroon);
    notes_->hide();
    layout->addWidget(notes_);
    makeReport(layout);
    counter_ = new CountRunner(this);
    connectParts();
    followHousing();
}

void PeriodsDialog::makeReport(QVBoxLayout *layout) {
    report_ = new ReportTable(this);
    layout->addWidget(report_, 1);

    auto *actions = new QHBoxLayout;
    QPushButton *copy = button(QStringLiteral("Копировать"), this, actions);
    QPushButton *print = button(QStringLiteral("Печать"), this, actions);
    QPushButton *pdf = button(QStringLiteral("Сохранить как..."), this, actions);
    auto *paper = new PaperMaker(this, dialogs_, [this]() -> std::optional<calc::PeriodInput> {
        counter_->settle();
        return shown_ ? std::optional(shown_->claim) : std::nullopt;
    });
    options_->addPaperButton(paper);
    connect(paper, &PaperMaker::partiesWanted, options_, &ClaimOptions::openParties);
    QPushButton *open = button(QStringLiteral("Открыть расчет..."), this, actions);
    actions->addWidget(
        recentFilesButton(this, dialogs_, [this](const QString &path) { openClaim(path); }));
    QPushButton *save = button(QStringLiteral("Сохранить расчет..."), this, actions);
    // Says where the claim was saved, without a box to close.
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("periodsStatus"));
    actions->addWidget(status_);
    actions->addStretch();
    QPushButton *help = button(QStringLiteral("Справка"), this, actions);
    connect(help, &QPushButton::clicked, this,
            [this] { openHelp(this, dialogs_, QStringLiteral("periods")); });
    installHelpKey(this, dialogs_);
    QPushButton *close = button(QStringLiteral("Закрыть"), this, actions);
    layout->addLayout(actions);

    // The report's own menu offers the same.
    QList<QAction *> menu;
    for (QPushButton *b : {copy, print, pdf}) {
        auto *action = new QAction(b->text(), report_);
        connect(action, &QAction::triggered, b, &QPushButton::click);
        menu.append(action);
    }
    report_->setMenu(menu);
    connect(copy, &QPushButton::clicked, this, &PeriodsDialog::copyReport);
    connect(print, &QPushButton::clicked, this, &PeriodsDialog::printReport);
    connect(pdf, &QPushButton::clicked, this, &PeriodsDialog::saveReportAs);
    connect(close, &QPushButton::clicked, this, &PeriodsDialog::reject);
    connect(open, &QPushButton::clicked, this, qOverload<>(&PeriodsDialog::openClaim));
    connect(save, &QPushButton::clicked, this, &PeriodsDialog::saveClaim);
}

void PeriodsDialog::connectParts() {
    // The printout is the table of the claim as it is now.
    printer_.setDrawer(
        [this](QPagedPaintDevice &device) { return documents::drawTablePages(device, *shown_); });
    addClaimKeys(this, &PeriodsDialog::countNow, &PeriodsDialog::printReport);
    connect(counter_, &CountRunner::outOfDate, report_, [this] { report_->setOutOfDate(true); });
    connect(counter_, &CountRunner::counted, this, &PeriodsDialog::showCount);
    connect(options_, &ClaimOptions::changed, this, [this] { recalculate(); });
    // The window holds the same debt, period and court: it follows them.
    connect(terms_, &ClaimTerms::changed, this, [this] {
        const calc::PeriodInput claim = currentClaim();
        entries_->followPeriod(claim.start, claim.end);
        recalculate();
        emit termsChanged(claim);
    });
    connect(entries_, &PeriodEntries::changed, this, [this] { recalculate(); });
    // A basis brings its usual court, here and in the window.
    connect(count_, &CountChoice::basisChosen, this, [this] {
        calc::PeriodInput claim = currentClaim();
        const calc::Court usual = calc::courtFor(claim);
        if (usual == claim.court) return;
        claim.court = claim_.court = usual;
        terms_->showTerms(claim);
        emit termsChanged(claim);
    });
    connect(count_, &CountChoice::changed, this, [this] {
        followHousing();
        recalculate();
    });
}

void PeriodsDialog::setClaim(const calc::PeriodInput &claim, const QString &dailyRate) {
    claim_ = claim;
    if (!dailyRate.isEmpty()) count_->setDailyRate(dailyRate);
    count_->setRateDate(claim.filed);
    showClaim();
    {
        const QSignalBlocker quiet(entries_);
        entries_->setPeriod(claim.start, claim.end);
    }
    recalculate(Counting::AtOnce);
    baseline_ = storage::encodeClaim(currentClaim());
}

void PeriodsDialog::showClaim() {
    terms_->showTerms(claim_);
    options_->showDates(claim_);
}

// Housing bills are their own debt, counted to the filing date: the window's
// debt, period and the day it arose play no part.
void PeriodsDialog::followHousing() {
    const bool housing = count_->isHousing();
    {
        const QSignalBlocker quiet(entries_);
        entries_->setHousing(housing);
    }
    options_->setHousing(housing);
    terms_->setHousing(housing);
    summary_->setVisible(housing);
}

calc::PeriodInput PeriodsDialog::currentClaim() const {
    calc::PeriodInput in = claim_;
    in.payments = entries_->payments();
    in.increases = entries_->increases();
    in.charges = entries_->charges();
    count_->fill(in);
    terms_->fill(in);
    options_->fill(in);
    return in;
}

bool PeriodsDialog::hasUnsavedChanges() const {
    return storage::encodeClaim(currentClaim()) != baseline_;
}

bool PeriodsDialog::saveClaim() {
    QString path = dialogs_.saveFileName(
        QStringLiteral("Сохранить расчет"),
        documents::claimFileName(currentClaim()) + storage::kClaimExtension, claimFilter());
    if (path.isEmpty()) return false;
    if (!path.endsWith(storage::kClaimExtension)) path += storage::kClaimExtension;
    try {
        const calc::PeriodInput claim = currentClaim();
        storage::saveClaim(path, claim);
        storage::rememberFile(path);
        baseline_ = storage::encodeClaim(claim);
        status_->setText(QStringLiteral("Сохранено: %1").arg(QFileInfo(path).fileName()));
        status_->setToolTip(QDir::toNativeSeparators(path));
        QAccessibleEvent told(status_, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&told);
        return true;
    } catch (const AppError &e) {
        dialogs_.ask(Dialogs::errorText(e.message()), QStringLiteral("Ошибка сохранения"),
                     MessageBoxes::Icon::Stop);
        return false;
    }
}

void PeriodsDialog::openClaim() {
    const QString path = dialogs_.openFileName(QStringLiteral("Открыть расчет"), claimFilter());
    if (!path.isEmpty()) openClaim(path);
}

bool PeriodsDialog::openClaim(const QString &path) {
    const std::optional<calc::PeriodInput> loaded = readClaimFile(dialogs_, path);
    if (loaded) showSaved(*loaded);
    return loaded.has_value();
}

void PeriodsDialog::showSaved(calc::PeriodInput loaded) {
    loaded.rates = claim_.rates; // counted with today's table
    claim_ = loaded;
    showClaim();
    count_->show(loaded);
    followHousing();
    options_->showChoices(loaded);
    {
        const QSignalBlocker quiet(entries_);
        entries_->setPeriod(loaded.start, loaded.end);
        entries_->setEntries(loaded.payments, loaded.increases, loaded.charges);
    }
    recalculate(Counting::AtOnce);
    baseline_ = storage::encodeClaim(currentClaim());
}

void PeriodsDialog::reject() {
    if (hasUnsavedChanges()) {
        switch (dialogs_.askToSave(QStringLiteral("Расчет по периодам изменен. Сохранить его?"),
                                   QStringLiteral("Расчет по периодам"))) {
        case MessageBoxes::Choice::Save:
            if (!saveClaim()) return;
            break;
        case MessageBoxes::Choice::Discard:
            break;
        case MessageBoxes::Choice::Cancel:
            return;
        }
    }
    QDialog::reject();
}

const QStringList &PeriodsDialog::reportLines() {
    static const QStringList none;
    counter_->settle();
    return shown_ ? shown_->result.lines : none;
}

// The summary and the rate table's gaps are told at once; the count's own
// notes come with the count, off the window's thread.
void PeriodsDialog::recalculate(Counting when) {
    calc::PeriodInput in = currentClaim();
    in.moratorium = options_->followMoratorium(in); // as the box may have just turned
    options_->followBasis(in);
    const bool housing = in.count == calc::PeriodCount::Housing;
    const QString court = in.court == calc::Court::Arbitration
                              ? QStringLiteral("арбитражный суд")
                              : QStringLiteral("суд общей юрисдикции");
    summary_->setText(QStringLiteral("Пени за ЖКУ по начислениям и оплатам ниже, на дату подачи "
                                     "%1; %2.")
                          .arg(dateText(in.filed), court));
    gapNotes_.clear();
    if (const QString gap =
            rates::tableGapNote(in.rates, housing ? QDate() : in.start, calc::lastRateDay(in));
        calc::usesRateTable(in.count) && !gap.isEmpty())
        gapNotes_ << gap + u'.';
    if (when == Counting::AtOnce)
        counter_->requestNow(in);
    else
        counter_->request(in);
}

void PeriodsDialog::showCount(const CountOutcome &outcome) {
    QStringList notes = gapNotes_;
    shown_ = outcome.document;
    if (shown_) {
        report_->showDocument(*shown_);
        if (shown_->result.depositRateSpan) notes << calc::depositRatesHint();
        if (shown_->result.tableStart.isValid())
            notes << calc::tableStartNote(shown_->result.tableStart) + u'.';
    } else {
        report_->showProblem(Dialogs::errorText(outcome.problem));
    }
    notes_->setText(notes.join(u'\n'));
    notes_->setVisible(!notes.isEmpty());
}

void PeriodsDialog::showEvent(QShowEvent *event) {
    placeOverOwner();
    QDialog::showEvent(event);
}

// The first time, as large as its content asks, within the screen's free
// area (frame and title included): the content scrolls, down only, where
// the screen is too small. Every time, centred on the main window.
void PeriodsDialog::placeOverOwner() {
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen *screen = owner ? owner->screen() : this->screen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    if (!sized_) {
        sized_ = true;
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
        const QSize content = scroll_->widget()->sizeHint() + QSize(bar, 0);
        resize(content.boundedTo(free.size() - frame));
    }
    QRect placed(QPoint(), size() + frame);
    placed.moveCenter(owner ? owner->frameGeometry().center() : free.center());
    placed.moveTo(std::clamp(placed.x(), free.left(), free.right() - placed.width() + 1),
                  std::clamp(placed.y(), free.top(), free.bottom() - placed.height() + 1));
    move(placed.topLeft());
}

void PeriodsDialog::countNow() {
    // A number being typed counts as typed, as leaving its field would make it.
    if (auto *field = qobject_cast<NumberField *>(focusWidget())) field->normalise();
    recalculate();
    counter_->settle();
}

void PeriodsDialog::copyReport() {
    counter_->settle();
    if (shown_) QGuiApplication::clipboard()->setText(shown_->result.lines.join(u'\n'));
}

// The printout and the files say the day they are made.
void PeriodsDialog::printReport() {
    counter_->settle();
    if (!shown_) return;
    shown_->madeOn = QDate::currentDate();
    printer_.print(shown_->result.lines);
}

void PeriodsDialog::saveReportAs() {
    counter_->settle();
    if (!shown_) return;
    QString path = dialogs_.saveFileName(
        QStringLiteral("Сохранить как"),
        QDir::home().filePath(documents::claimFileName(shown_->claim) + QStringLiteral(".pdf")),
        QStringLiteral("PDF (*.pdf);;Документ Word (*.docx);;Текст OpenDocument (*.odt);;Таблица "
                       "(*.xlsx);;Текст (*.txt)"));
    if (path.isEmpty()) return;
    documents::Format format;
    if (!documents::formatOf(path, format)) path += QStringLiteral(".pdf");
    try {
        shown_->madeOn = QDate::currentDate();
        documents::saveDocument(path, *shown_);
    } catch (const AppError &e) {
        dialogs_.ask(Dialogs::errorText(e.message()), QStringLiteral("Ошибка сохранения"),
                     MessageBoxes::Icon::Stop);
        return;
    }
    dialogs_.ask(
        QStringLiteral("Расчет сохранен в файл \"%1\".").arg(QDir::toNativeSeparators(path)),
        QStringLiteral("Сообщение"), MessageBoxes::Icon::Information);
}

} // namespace ui
