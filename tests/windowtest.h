// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the window tests share: scripted message boxes, a home of each test's
// own, and a few ways of driving the window.
#include "named.h"
#include "storage/ratefile.h"
#include "ui/periods/periodentries.h"
#include "ui/periods/periodsdialog.h"
#include "ui/rates/rateeditor.h"
#include "ui/rates/rategrid.h"
#include "ui/rates/ratepanel.h"
#include "ui/rates/rateupdater.h"
#include "ui/widgets/clickablefield.h"
#include "ui/widgets/datepicker.h"
#include "ui/widgets/hovericon.h"
#include "ui/widgets/linklabel.h"
#include "ui/widgets/numberfield.h"
#include "ui/window/claiminputs.h"
#include "ui/window/mainwindow.h"
#include "ui/window/ratemodes.h"
#include "ui/window/reportview.h"
#include "workedexample.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QTextEdit>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using ui::MessageBoxes;

// Answers every box the window shows and remembers it.
class ScriptedBoxes : public MessageBoxes {
public:
    struct Box {
        QString text, caption;
        Icon icon;
        Buttons buttons;
    };
    QList<Box> shown;
    QList<bool> answers; // OK when nothing is scripted

    bool show(QWidget *, const QString &text, const QString &caption, Icon icon,
              Buttons buttons) override {
        shown.append({text, caption, icon, buttons});
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    QString savePath;  // what the save dialog answers
    QString suggested; // the name the save dialog proposed last
    QString saveFileName(QWidget *, const QString &, const QString &name,
                         const QString &) override {
        suggested = name;
        return savePath;
    }
    QString openPath; // what the open dialog answers
    QString openFileName(QWidget *, const QString &, const QString &) override { return openPath; }
    // Questions about unsaved changes, and their answers (not saving when
    // nothing is scripted).
    QStringList saveQuestions;
    QList<Choice> saveAnswers;
    Choice askToSave(QWidget *, const QString &text, const QString &) override {
        saveQuestions.append(text);
        return saveAnswers.isEmpty() ? Choice::Discard : saveAnswers.takeFirst();
    }
};

// The window as the tests see it: its parts and every control a test
// touches, by what it is.
struct Window {
    explicit Window(ui::MainWindow &w)
        : window(w), inputs(child<ui::ClaimInputs>("claimInputs")),
          modes(child<ui::RateModes>("rateModes")), panel(child<ui::RatePanel>("rateList")),
          editor(child<ui::RateEditor>("rateEditing")),
          updater(child<ui::RateUpdater>("rateUpdate")),
          report(child<ui::ReportView>("reportView")),
          debtField(child<ui::NumberField>("debtField")), dailyRateField(modes->dailyRateField()),
          entryRate(editor->entryRate()), rateField(modes->refinancingRateField()),
          periodStart(child<ui::DatePicker>("periodStart")),
          periodEnd(child<ui::DatePicker>("periodEnd")), entryDate(editor->entryDate()),
          taxSlider(child<QSlider>("taxSlider")), divisorSlider(modes->divisorSlider()),
          taxRateLabel(child<QLabel>("taxRateLabel")), divisorLabel(child<QLabel>("divisorLabel")),
          editorTitle(child<QLabel>("editorTitle")), picture(child<QLabel>("picture")),
          generalCourt(child<QRadioButton>("generalCourt")),
          calculateLink(child<ui::LinkLabel>("calculateLink")),
          closeLink(child<ui::LinkLabel>("closeLink")),
          printLink(child<ui::LinkLabel>("printLink")),
          statutoryLink(child<ui::LinkLabel>("statutoryLink")),
          contractualLink(child<ui::LinkLabel>("contractualLink")),
          contactLink(w.findChild<ui::LinkLabel *>(QStringLiteral("contactLink"))),
          updateLink(updater->updateLink()), saveEntryLink(child<ui::LinkLabel>("saveEntryLink")),
          saveChangesLink(child<ui::LinkLabel>("saveChangesLink")),
          calculateIcon(child<ui::HoverIcon>("calculateIcon")),
          closeIcon(child<ui::HoverIcon>("closeIcon")),
          printIcon(child<ui::HoverIcon>("printIcon")),
          statutoryBox(child<QGroupBox>("statutoryBox")),
          contractualBox(child<QGroupBox>("contractualBox")),
          reportBox(child<QTextEdit>("reportBox")), ratePanel(panel->frame()),
          rateEditor(child<QFrame>("rateEditor")), rateGrid(panel->grid()),
          updateProgress(updater->progressBar()) {
        // The window starts at today's VAT; the worked examples are of 2010, at 18 %.
        taxSlider->setValue(18);
    }

    rates::RateTable &table() const { return panel->table(); }
    // The claim of the periods tests: 100 000 overdue from 01.03.2022 to
    // 31.10.2022 in a general court; the built-in table's newest rate,
    // 8,75 %, is in force for the whole of 2022.
    void enterClaimOf2022() const {
        debtField->setText(QStringLiteral("100000"));
        periodStart->setDate(QDate(2022, 3, 1));
        periodEnd->setDate(QDate(2022, 10, 31));
        generalCourt->setChecked(true);
    }
    // "Расчет по периодам", once opened; `openPeriods` clicks its link and
    // waits for it and its first count.
    ui::PeriodsDialog *periods() const { return child<ui::PeriodsDialog>("periodsDialog"); }
    ui::PeriodsDialog *openPeriods() const {
        QTest::mouseClick(child<ui::LinkLabel>("periodsLink"), Qt::LeftButton);
        if (!QTest::qWaitForWindowExposed(periods())) qWarning("the periods dialog is not shown");
        periods()->reportLines();
        return periods();
    }
    QString rateFilePath() const { return panel->rateFilePath(); }

    ui::MainWindow &window;
    ui::ClaimInputs *inputs;
    ui::RateModes *modes;
    ui::RatePanel *panel;
    ui::RateEditor *editor;
    ui::RateUpdater *updater;
    ui::ReportView *report;
    ui::NumberField *debtField, *dailyRateField, *entryRate;
    ui::ClickableField *rateField;
    ui::DatePicker *periodStart, *periodEnd, *entryDate;
    QSlider *taxSlider, *divisorSlider;
    QLabel *taxRateLabel, *divisorLabel, *editorTitle, *picture;
    QRadioButton *generalCourt;
    ui::LinkLabel *calculateLink, *closeLink, *printLink, *statutoryLink, *contractualLink,
        *contactLink, *updateLink, *saveEntryLink, *saveChangesLink;
    ui::HoverIcon *calculateIcon, *closeIcon, *printIcon;
    QGroupBox *statutoryBox, *contractualBox;
    QTextEdit *reportBox;
    QFrame *ratePanel, *rateEditor;
    ui::RateGrid *rateGrid;
    QProgressBar *updateProgress;

private:
    template <class T> T *child(const char *name) const { return named<T>(&window, name); }
};

// A fresh home for one test function, and the window opened in it.
class WindowEnv {
public:
    void start() {
        home_ = std::make_unique<QTemporaryDir>();
        qputenv("HOME", home_->path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home_->path() + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (home_->path() + "/data").toUtf8());
        boxes = ScriptedBoxes();
    }
    void stop() {
        view.reset();
        form.reset();
        home_.reset();
    }
    // The window as it starts: the parts no test has asked for are not made.
    ui::MainWindow &openWindow() {
        view.reset();
        // A build given a contact address, so that its link is tested too.
        form =
            std::make_unique<ui::MainWindow>(&boxes, nullptr, QStringLiteral("dolgomer@localhost"));
        // The worked examples are claims of 2010, filed then: the court fee
        // follows the filing date.
        form->fileOn(kWorkedExamplesFiled);
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) qWarning("window not active");
        return *form;
    }
    Window &open() {
        openWindow();
        view = std::make_unique<Window>(*form);
        return *view;
    }
    // The window with its rate table open.
    Window &openPanel() {
        Window &f = open();
        f.window.openRatePanel();
        return f;
    }
    QString path(const QString &rel) const { return home_->path() + u'/' + rel; }
    QString rateFile() const { return path(QStringLiteral("data/Долгомер/stavki.txt")); }

    ScriptedBoxes boxes;
    std::unique_ptr<ui::MainWindow> form;
    std::unique_ptr<Window> view;

private:
    std::unique_ptr<QTemporaryDir> home_;
};

// The entry controls below the grid, found by name as a user finds them by sight.
struct Entries {
    explicit Entries(QWidget *dialog)
        : part(named<ui::PeriodEntries>(dialog, "periodEntries")),
          date(named<ui::DatePicker>(dialog, "paymentDate")),
          amount(named<ui::NumberField>(dialog, "paymentAmount")),
          kind(named<QComboBox>(dialog, "entryKind")),
          grid(named<QTableWidget>(dialog, "entriesGrid")),
          add(named<QPushButton>(dialog, "addEntry")),
          change(named<QPushButton>(dialog, "changeEntry")) {}
    ui::PeriodEntries *part;
    ui::DatePicker *date;
    ui::NumberField *amount;
    QComboBox *kind;
    QTableWidget *grid;
    QPushButton *add, *change;
};

inline void click(QWidget *w) {
    QTest::mouseClick(w, Qt::LeftButton);
}

inline void hover(QWidget *w) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

inline void leave(QWidget *w) {
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}

inline QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

// A left click on a cell of the grid (row counted from 1, column 0 the key).
inline void clickCell(ui::RateGrid *grid, int row, int column) {
    const QModelIndex idx = grid->model()->index(row - 1, column);
    grid->scrollTo(idx);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      grid->visualRect(idx).center());
}

inline QByteArray cp1251(const QStringList &lines) {
    return storage::encodeRateFile(lines);
}

// The built-in rate table's lines.
inline QStringList history() {
    return rates::RateTable::builtIn().lines();
}

// What the window says when a rate entry looks mistyped.
inline const QString kCheckInput =
    QStringLiteral("Возможно допущена ошибка при вводе. Исправьте, пожалуйста.");
