// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/rates/rateeditor.h"

#include "calc/claimfields.h"

#include "calc/penalty.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "rates/periodkey.h"
#include "rates/ratelookup.h"
#include "ui/rates/ratepanel.h"
#include "ui/widgets/datepicker.h"
#include "ui/widgets/dialogs.h"
#include "ui/widgets/linklabel.h"
#include "ui/widgets/lookandfeel.h"
#include "ui/widgets/numberfield.h"

#include <QFrame>
#include <QLabel>
#include <QShortcut>

namespace ui {

RateEditor::RateEditor(QWidget *window, RatePanel *rates, Dialogs &dialogs)
    : QObject(window), window_(window), rates_(rates), dialogs_(dialogs) {
    setObjectName(QStringLiteral("rateEditing"));
}

DatePicker *RateEditor::entryDate() {
    build();
    return entryDate_;
}

NumberField *RateEditor::entryRate() {
    build();
    return entryRate_;
}

void RateEditor::build() {
    if (frame_) return;
    frame_ = new QFrame(window_);
    frame_->setObjectName(QStringLiteral("rateEditor"));
    frame_->setAttribute(Qt::WA_NoMousePropagation);
    frame_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame_->setGeometry(5, 24, 316, 249);
    frame_->setAutoFillBackground(true);
    title_ = makeLabel(frame_, QString(), {0, 12}, plainFont(13, true));
    title_->setObjectName(QStringLiteral("editorTitle"));
    title_->setGeometry(0, 12, 316, 18);
    title_->setAlignment(Qt::AlignHCenter);
    makeLabel(frame_, QStringLiteral("Дата введения"), {16, 52}, plainFont(13));
    entryDate_ = new DatePicker({160, 48, 140, 24}, frame_);
    entryDate_->setObjectName(QStringLiteral("entryDate"));
    makeLabel(frame_, QStringLiteral("Введенная ставка"), {16, 86}, plainFont(13));
    entryRate_ = new NumberField(QString(), 5, NumberField::Form::Number, frame_);
    entryRate_->setObjectName(QStringLiteral("entryRate"));
    placeField(entryRate_, {160, 82, 70, 24}, plainFont(13), QString());
    entryRate_->setEmptyText(QStringLiteral("0"));
    entryDate_->setDate(chosenDate_);
    entryRate_->setText(chosenRate_);
    // Both save links share one place; the mode shows one of them.
    saveEntryLink_ = new LinkLabel(QStringLiteral("Сохранить запись"), frame_, {16, 117, 284, 24},
                                   plainFont(19, true), kMaroon, QString());
    saveEntryLink_->setObjectName(QStringLiteral("saveEntryLink"));
    saveEntryLink_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    saveChangesLink_ = new LinkLabel(QStringLiteral("Сохранить изменения"), frame_,
                                     {16, 117, 284, 24}, plainFont(19, true), kMaroon, QString());
    saveChangesLink_->setObjectName(QStringLiteral("saveChangesLink"));
    saveChangesLink_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    saveChangesLink_->hide();
    closeLink_ = new LinkLabel(QStringLiteral("Х"), frame_, {302, 5, 0, 0}, plainFont(11, true),
                               QColor(), QString());
    closeLink_->setObjectName(QStringLiteral("editorCloseLink"));
    QLabel *hint = makeLabel(frame_,
                             QStringLiteral("Для поддержания списка ставок рефинансирования в "
                                            "актуальном состоянии регулярно обновляйте данные с "
                                            "помощью ссылки \"Обновить через Интернет\""),
                             {7, 180}, plainFont(11));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    hint->setGeometry(7, 180, 290, 42);
    frame_->hide();

    for (LinkLabel *link : {saveEntryLink_, saveChangesLink_})
        link->setHoverFont(true, true);
    closeLink_->setHoverColor(kGrey);
    connect(saveEntryLink_, &LinkLabel::clicked, this, &RateEditor::saveNewEntry);
    connect(saveChangesLink_, &LinkLabel::clicked, this, &RateEditor::saveChanges);
    connect(closeLink_, &LinkLabel::clicked, this, &RateEditor::close);
    // Enter in either field saves, as the link the mode shows would.
    for (QWidget *field : {static_cast<QWidget *>(entryDate_), static_cast<QWidget *>(entryRate_)})
        for (int key : {Qt::Key_Return, Qt::Key_Enter})
            connect(new QShortcut(QKeySequence(key), field, nullptr, nullptr,
                                  Qt::WidgetWithChildrenShortcut),
                    &QShortcut::activated, this,
                    [this] { isEditing() ? saveChanges() : saveNewEntry(); });
    entryDate_->setAccessibleName(QStringLiteral("Дата введения"));
    entryRate_->setAccessibleName(QStringLiteral("Введенная ставка"));
    closeLink_->setAccessibleName(QStringLiteral("Закрыть редактор"));
    closeLink_->setToolTip(QStringLiteral("Закрыть (Esc)"));
    focus_.place({entryDate_, entryRate_, saveEntryLink_, saveChangesLink_, closeLink_});
}

void RateEditor::startAdding() {
    build();
    emit opened(Mode::Adding);
    frame_->show();
    frame_->raise();
    saveChangesLink_->hide();
    saveEntryLink_->show();
    title_->setText(QStringLiteral("Добавление записи"));
    entryDate_->setDate(QDate::currentDate());
    const rates::RateTable &table = rates_->table();
    entryRate_->setText(table.count() > 0 ? table.rate(0) : QString());
    entryRate_->selectAll();
    entryDate_->setFocus(Qt::OtherFocusReason); // the first field, as the editor reads
}

void RateEditor::startEditing() {
    build();
    emit opened(Mode::Editing);
    frame_->show();
    saveEntryLink_->hide();
    saveChangesLink_->show();
    title_->setText(QStringLiteral("Редактирование записи"));
    entryDate_->setFocus(Qt::OtherFocusReason);
}

void RateEditor::close() {
    if (frame_) frame_->hide();
}

bool RateEditor::isOpen() const {
    return frame_ && !frame_->isHidden();
}

bool RateEditor::isEditing() const {
    return isOpen() && !saveChangesLink_->isHidden();
}

void RateEditor::showEntry(QDate date, const QString &rate) {
    chosenDate_ = date;
    chosenRate_ = rate;
    if (!frame_) return;
    entryDate_->setDate(date);
    entryRate_->setText(rate);
    if (isEditing()) startEditing();
}

QString RateEditor::entryLine() {
    entryRate_->normalise();
    return rates::convertPeriodKey(dateText(entryDate_->date())) + u'=' + entryRate_->text();
}

void RateEditor::saveTable(const rates::TableEdit &edit) {
    try {
        rates_->saveEdit(edit);
    } catch (const AppError &e) {
        dialogs_.ask(Dialogs::errorText(e.message()), QStringLiteral("Ошибка сохранения"),
                     MessageBoxes::Icon::Stop);
    }
}

// A rate that could never be charged is not saved: the editor stays open on it.
bool RateEditor::refusesRate() {
    entryRate_->normalise();
    if (rates::isUsableRate(entryRate_->text())) return false;
    dialogs_.ask(
        QStringLiteral("Введите ставку больше 0 и не больше %1%.").arg(calc::kMaxRatePercent),
        kInputError, MessageBoxes::Icon::Stop);
    entryRate_->setFocus();
    entryRate_->selectAll();
    return true;
}

void RateEditor::saveNewEntry() {
    if (refusesRate()) return;
    const QString line = entryLine();
    rates_->selectRow(1);
    try {
        rates_->table().insertTop(line);
    } catch (const AppError &) {
        dialogs_.ask(
            QStringLiteral("Запись с этой датой уже есть в таблице. Дата введения ставки должна "
                           "быть уникальной."),
            kInputError, MessageBoxes::Icon::Stop);
        close();
        return;
    }
    rates_->refresh();
    saveTable({rates::TableEdit::Add, QString(), line});
    close();
    rates_->focusGrid(); // back where the entry was asked for
}

void RateEditor::saveChanges() {
    if (refusesRate()) return;
    const QString line = entryLine();
    const int i = rates_->selectedRow() - 1;
    bool changed = false;
    QString before;
    // An empty table has no entry to change: that is an input error too.
    if (i < rates_->table().count()) {
        try {
            before = rates_->table().line(i);
            rates_->table().replace(i, line);
            changed = true;
        } catch (const AppError &) {
        }
    }
    if (changed) {
        rates_->refresh();
        saveTable({rates::TableEdit::Replace, before, line});
    } else {
        dialogs_.ask(kCheckInput, kInputError, MessageBoxes::Icon::Stop);
    }
    close();
    rates_->focusGrid();
}

void RateEditor::deleteChosen() {
    rates::RateTable &table = rates_->table();
    const int row = rates_->selectedRow();
    if (table.count() == 0) return; // nothing to delete: no question, no error
    const QString text = QStringLiteral("Выбранная ставка:\r\n\r\n") + table.key(row - 1) +
                         QStringLiteral(" = ") + table.rate(row - 1) +
                         QStringLiteral("%\r\n\r\nПроизвести удаление?");
    if (!dialogs_.ask(text, QStringLiteral("Подтверждение удаления"), MessageBoxes::Icon::Question,
                      MessageBoxes::Buttons::OkCancel))
        return;
    close();
    const QString before = table.line(row - 1);
    if (row == table.count() && table.count() > 1) rates_->selectRow(row - 1);
    table.remove(row - 1);
    rates_->refresh();
    saveTable({rates::TableEdit::Remove, before, QString()});
}

} // namespace ui
