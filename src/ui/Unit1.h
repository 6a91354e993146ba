#pragma once

#include "calc/penalty.h"
#include "messagebox.h"
#include "rates/ratetable.h"

#include <QHash>
#include <QWidget>
#include <functional>
#include <memory>

class QDateEdit;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPrinter;
class QProgressBar;
class QRadioButton;
class QSlider;
class QTextEdit;

namespace ui {
class RateGrid;
}
namespace rates {
class PageLoader;
}

// The title of the program, shown on the task bar and as the caption of the
// general error report.
QString AppTitle();

// The program's one window. It owns every control and all run-time state;
// its methods are the event handlers, named after their control and event.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // `boxes` answers the window's message boxes (the real ones when null).
    explicit TForm1(MessageBoxes *boxes = nullptr, QWidget *parent = nullptr);
    ~TForm1() override;

    // Layout sizes are outer sizes, frame included, as the window has always
    // been measured; the client area is this much smaller.
    static constexpr int kFrameWidth = 6;
    static constexpr int kFrameHeight = 25;
    int outerHeight() const;
    void setOuterHeight(int h);

    // The general error report: the message (with a full stop added when it
    // does not end in one or other punctuation), the program's title as
    // caption, OK and the stop icon.
    void ReportError(const QString &message);
    static QString ErrorText(const QString &message);

    // Runs a handler; whatever it raises goes to the general error report.
    void run(void (TForm1::*handler)());

    // --- start-up and the window (Unit1.cpp)
    void FormCreate();
    void FormClick();
    void FormMouseMove();
    void Label19Click();

    // --- input fields and the calculation (Unit1_inputs.cpp)
    void Edit1Change();
    void Edit6Change();
    void Edit1Click();
    void Edit6Click();
    void Edit1DblClick();
    void Edit6DblClick();
    void Edit1Exit();
    void Edit6Exit();
    void DateTimePicker1Click();
    void DateTimePicker2Click();
    void Label6Click();
    void Image11Click();
    void N9Click();
    void N7Click();
    void N5Click();

    // --- printing the report (Unit1_report.cpp)
    void Label12Click();
    void N10Click();
    // The default printer, or null when none is installed; tests put their own here.
    std::function<std::unique_ptr<QPrinter>()> makePrinter;

    // --- rate modes and closing (Unit1_modes.cpp)
    void Label10Click();
    void Label11Click();
    void TrackBar1Change();
    void TrackBar2Change();
    void Label7Click();
    void Image12Click();

    // --- the rate table (Unit1_rates.cpp)
    void DateTimePicker2Change();
    void ValueListEditor1SelectCell(int row);
    void N1Click();
    void Edit5Click();
    void Edit5Enter();
    void Edit5DblClick();
    void ValueListEditor1DblClick();
    void ValueListEditor1KeyPress();
    void N3Click();

    // --- editing the rate table (Unit1_editor.cpp)
    void addClick();
    void N2Click();
    void Label16Click();
    void Label22Click();
    void Label23Click();
    void Edit2Change();
    void Edit2DblClick();
    void Edit2Exit();

    // --- the online update (Unit1_update.cpp)
    void Label24Click();
    void WebBrowser1DownloadBegin();
    void WebBrowser1DocumentComplete();
    // The page loader, made on the first update; tests shorten its time limit.
    rates::PageLoader *pageLoader();
    int updateTimeLimitMs = 30000;

    // --- hover look (Unit1_hover.cpp)
    void Label6MouseMove();
    void Label6MouseLeave();
    void Image2MouseMove();
    void Label7MouseMove();
    void Label7MouseLeave();
    void Image3MouseMove();
    void Label12MouseMove();
    void Label12MouseLeave();
    void Image4MouseMove();
    void Label23MouseMove();
    void Label23MouseLeave();

    // The controls.
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9;
    QLabel *Label10, *Label11, *Label12, *Label13, *Label14, *Label15, *Label16, *Label17;
    QLabel *Label18, *Label19, *Label20, *Label21, *Label22, *Label23, *Label24, *Label25;
    QLineEdit *Edit1, *Edit2, *Edit5, *Edit6;
    QSlider *TrackBar1, *TrackBar2;
    QDateEdit *DateTimePicker1, *DateTimePicker2, *DateTimePicker3;
    QRadioButton *RadioButton1, *RadioButton2;
    QGroupBox *GroupBox2, *GroupBox3;
    QFrame *Panel1, *Panel2;
    QLabel *Image1, *Image2, *Image3, *Image4, *Image6, *Image7, *Image9, *Image11, *Image12,
        *Image13, *Image14;
    QTextEdit *RichEdit1;
    ui::RateGrid *ValueListEditor1;
    QProgressBar *ProgressBar1;
    QWidget *WebBrowser1;
    QMenu *PopupMenu1, *PopupMenu2;
    QAction *N1, *N2, *N3, *N4, *add, *N5, *N7, *N8, *N9, *N10;

    // Run-time state besides the controls.
    rates::RateTable table;
    QString RateFilePath;
    calc::DateParts dateParts;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    using Handler = void (TForm1::*)();
    using Action = std::function<void()>;
    struct Hooks {
        Action click;      // left button released over the control
        Action dblClick;   // double click
        Action mouseMove;  // the mouse moves over it
        Action mouseLeave; // the mouse leaves it
        Action enter;      // it gets the focus
        Action exit;       // it loses the focus to another control
    };
    // A hook that runs a handler under the general error report.
    Action h(Handler handler) {
        return [this, handler] { run(handler); };
    }
    // The hover look of a link label: bold and underlined as asked.
    static void setLinkStyle(QLabel *label, bool bold, bool underline);

    void createControls();
    void createPanels();
    void createMenus();
    void connectHandlers();
    void hook(QWidget *w, Hooks hooks);
    // The typed-character filter of the number fields, with their length limit.
    bool filterKey(QLineEdit *edit, QKeyEvent *event);
    // Keeps a number field's text a number, and a typed text within its limit.
    void keepNumber(QLineEdit *edit);
    void limitTyped(QLineEdit *edit);
    bool statutoryMode() const;
    // Writes the rate file after an edit; a failure is told in its own box and
    // the table keeps the change (the file on disk stays the last good table).
    void saveAfterEdit();
    // Without a printer the page can still go to a PDF file.
    void offerPdf(const QStringList &lines);
    // The end of an update: pointer, panel and bar back at rest.
    void updateAtRest();
    // What the update reports when the page is not the bank's.
    void connectionFailure();

    rates::PageLoader *loader_ = nullptr;
    bool updating_ = false;
    // The message boxes the window owns.
    bool ask(const QString &text, const QString &caption, MessageBoxes::Icon icon,
             MessageBoxes::Buttons buttons);

    std::unique_ptr<MessageBoxes> ownBoxes_;
    MessageBoxes *boxes_;
    QHash<QObject *, Hooks> hooks_;
    QHash<QLineEdit *, int> typedLimit_;
};
