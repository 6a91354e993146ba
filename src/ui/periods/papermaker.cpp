// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/papermaker.h"

#include "ui/widgets/dialogs.h"

#include <QDir>
#include <QMenu>

namespace ui {

PaperMaker::PaperMaker(QWidget *parent, Dialogs &dialogs,
                       std::function<std::optional<calc::PeriodInput>()> claim)
    : QPushButton(QStringLiteral("Документ..."), parent), dialogs_(dialogs),
      claim_(std::move(claim)) {
    setObjectName(QStringLiteral("makePaper"));
    setAccessibleName(QStringLiteral("Документ: претензия, заявление о выдаче судебного приказа "
                                     "или исковое заявление"));
    setAutoDefault(false);
    auto *menu = new QMenu(this);
    for (documents::PaperKind kind : documents::kPaperKinds) {
        QAction *action = menu->addAction(documents::paperTitle(kind) + QStringLiteral("..."));
        action->setObjectName(documents::paperName(kind));
        connect(action, &QAction::triggered, this, [this, kind] { make(kind); });
    }
    setMenu(menu);
}

bool PaperMaker::make(documents::PaperKind kind) {
    const std::optional<calc::PeriodInput> claim = claim_();
    if (!claim) {
        dialogs_.ask(QStringLiteral("Документ не составить, пока расчет не сделан: что в нем не "
                                    "так, сказано в отчете."),
                     kInputError, MessageBoxes::Icon::Stop);
        return false;
    }
    if (const QList<calc::ClaimField> missing = documents::missingParties(claim->parties, kind);
        !missing.isEmpty()) {
        dialogs_.ask(QStringLiteral("Для документа «%1» заполните в разделе «Стороны»: %2.")
                         .arg(documents::paperTitle(kind),
                              documents::fieldNames(missing, documents::FieldNames::Words)),
                     kInputError, MessageBoxes::Icon::Stop);
        emit partiesWanted();
        return false;
    }
    try {
        return save(documents::makePaper(*claim, kind, QDate::currentDate()), kind);
    } catch (const documents::AboveCourtOrderLimit &e) {
        if (dialogs_.ask(e.message() + QStringLiteral(".\n\nСоставить исковое заявление?"),
                         QStringLiteral("Судебный приказ"), MessageBoxes::Icon::Question,
                         MessageBoxes::Buttons::YesNo))
            return make(documents::PaperKind::Statement);
    } catch (const AppError &e) {
        dialogs_.ask(Dialogs::errorText(e.message()), QStringLiteral("Ошибка сохранения"),
                     MessageBoxes::Icon::Stop);
    }
    return false;
}

bool PaperMaker::save(const documents::ClaimDocument &doc, documents::PaperKind kind) {
    QString path = dialogs_.saveFileName(
        QStringLiteral("Сохранить документ"),
        QDir::home().filePath(documents::paperFileName(doc.claim, kind) + QStringLiteral(".pdf")),
        QStringLiteral("PDF (*.pdf);;Документ Word (*.docx);;Текст OpenDocument (*.odt);;Текст "
                       "(*.txt)"));
    if (path.isEmpty()) return false;
    documents::Format format;
    if (!documents::formatOf(path, format) || format == documents::Format::Xlsx)
        path += QStringLiteral(".pdf");
    documents::saveDocument(path, doc);
    QString told =
        QStringLiteral("Документ сохранен в файл \"%1\".").arg(QDir::toNativeSeparators(path));
    if (const QString note = documents::partiesLeftOutNote(doc, kind, documents::FieldNames::Words);
        !note.isEmpty())
        told += QStringLiteral("\n\n") + note + u'.';
    dialogs_.ask(told, QStringLiteral("Сообщение"), MessageBoxes::Icon::Information);
    return true;
}

} // namespace ui
