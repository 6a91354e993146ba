// The window: its controls, start-up, the background and the contact link.
#include "Unit1.h"

#include "calc/apperror.h"
#include "pictures.h"
#include "rategrid.h"
#include "rates/ratefile.h"

#include <QAction>
#include <QDateEdit>
#include <QDateTime>
#include <QDesktopServices>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QProgressBar>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QSlider>
#include <QTextEdit>
#include <QUrl>
#include <QUrlQuery>
#include <cmath>

namespace {

const QString kAuthorName = QStringLiteral("Разработчики Долгомера");
const QString kAuthorShortName = QStringLiteral("РД");
const QString kAuthorAddress = QStringLiteral("mail@example.ru");
const QString kCaption = QStringLiteral("Программа для Долгомер");

const QColor kTeal(0, 128, 128);
const QColor kMaroon(128, 0, 0);
const QColor kBlue(0, 0, 255);

QFont arial(int px, bool bold = false) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

QFont plain(int px, bool bold = false) {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

void setColor(QWidget *w, const QColor &c) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

// A label that sizes itself to its text, as labels here always have.
QLabel *makeLabel(QWidget *parent, const QString &text, int x, int y, const QFont &font,
                  const QColor &color = QColor()) {
    auto *l = new QLabel(text, parent);
    l->setFont(font);
    if (color.isValid()) setColor(l, color);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QLabel *makeLink(QWidget *parent, const QString &text, QRect geometry, const QFont &font,
                 const QColor &color, const QString &hint) {
    QLabel *l = makeLabel(parent, text, geometry.x(), geometry.y(), font, color);
    if (geometry.width() > 0) l->resize(geometry.size());
    l->setCursor(Qt::PointingHandCursor);
    l->setToolTip(hint);
    return l;
}

// A picture box; its picture is read now, or when it is first shown when
// `resource` names none (the decorative pictures: only one is ever shown).
QLabel *makePicture(QWidget *parent, const QString &resource, QRect geometry) {
    auto *l = new QLabel(parent);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignCenter);
    if (!resource.isEmpty()) l->setPixmap(ui::LoadPicture(resource, geometry.size()));
    return l;
}

QLineEdit *makeEdit(QWidget *parent, const QString &text, QRect geometry, const QFont &font,
                    const QString &hint) {
    auto *e = new QLineEdit(text, parent);
    e->setGeometry(geometry);
    e->setFont(font);
    e->setToolTip(hint);
    return e;
}

QDateEdit *makeDatePicker(QWidget *parent, QRect geometry) {
    auto *d = new QDateEdit(parent);
    d->setGeometry(geometry);
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    d->setMinimumDate(QDate(1990, 1, 1));
    return d;
}

} // namespace

std::unique_ptr<QPrinter> defaultPrinter(); // Unit1_report.cpp

QString AppTitle() {
    return QStringLiteral("Долгомер - ") + kAuthorShortName;
}

TForm1::TForm1(MessageBoxes *boxes, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ownBoxes_(boxes ? nullptr : std::make_unique<QtMessageBoxes>()),
      boxes_(boxes ? boxes : ownBoxes_.get()) {
    // The window's fonts are the classic desktop's; Liberation Sans has their
    // metrics, so the layout holds wherever the window is shown.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    setObjectName(QStringLiteral("Form1"));
    makePrinter = defaultPrinter;
    setFont(plain(13));
    setMouseTracking(true);
    createControls();
    createPanels();
    createMenus();
    // Mouse moves and clicks over a control belong to that control, never to
    // the window behind it: only the bare background resets the hover look and
    // closes the panels.
    for (QWidget *w : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        w->setAttribute(Qt::WA_NoMousePropagation);
    // Keyboard order: the debt first, then the dates, the panels, the tax,
    // the report, the mode inputs and the courts.
    const QList<QWidget *> order = {
        Edit1,           DateTimePicker1, DateTimePicker2, ValueListEditor1,
        DateTimePicker3, Edit2,           TrackBar1,       RichEdit1,
        Edit5,           TrackBar2,       Edit6,           RadioButton2,
        RadioButton1};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    FormCreate();
    connectHandlers();
}

TForm1::~TForm1() = default;

void TForm1::createControls() {
    Label1 = makeLabel(this, QStringLiteral("Долг с налогом (руб.):"), 7, 31, arial(16));
    Edit1 = makeEdit(this, QStringLiteral("0,00"), {176, 24, 145, 28}, plain(16, true),
                     QStringLiteral("Введите сумму задолженности с учетом налога"));
    Label4 = makeLabel(this, QStringLiteral("Ставка налога:"), 8, 70, arial(16));
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setGeometry(169, 54, 90, 45);
    TrackBar1->setRange(0, 35);
    TrackBar1->setValue(18);
    TrackBar1->setTickPosition(QSlider::TicksBothSides);
    TrackBar1->setTickInterval(1);
    TrackBar1->setPageStep(5);
    Label21 = makeLabel(this, QStringLiteral("18%"), 265, 64, arial(25));
    Label21->setGeometry(265, 64, 50, 28);
    Label21->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2 = makeLabel(this, QStringLiteral("Период просрочки с:"), 8, 103, arial(16));
    DateTimePicker1 = makeDatePicker(this, {176, 104, 145, 24});
    Label3 = makeLabel(this, QStringLiteral("Период просрочки по:"), 8, 137, arial(16));
    DateTimePicker2 = makeDatePicker(this, {176, 136, 145, 24});
    Label25 = makeLabel(this, QStringLiteral("Подсудность:"), 9, 178, arial(16));
    RadioButton1 = new QRadioButton(QStringLiteral("Арбитражный суд"), this);
    RadioButton1->setGeometry(176, 165, 150, 25);
    RadioButton1->setFont(plain(11));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("Общая юрисдикция"), this);
    RadioButton2->setGeometry(176, 189, 148, 22);
    RadioButton2->setFont(plain(11));

    Label10 = makeLink(this, QStringLiteral("Применить законную пеню"), {72, 224, 161, 16},
                       arial(13), kBlue,
                       QStringLiteral("Использовать в случае, если ответственность дебитора "
                                      "установлена законом (ст. 395 ГК РФ)"));
    Label11 = makeLink(
        this, QStringLiteral("Применить договорную пеню"), {65, 248, 176, 16}, arial(13), kBlue,
        QStringLiteral(
            "Использовать в случае, если ответственность дебитора установлена договором"));

    GroupBox2 = new QGroupBox(this);
    GroupBox2->setGeometry(8, 457, 313, 40);
    Label5 = makeLabel(GroupBox2, QStringLiteral("Ставка рефин. (%):"), 8, 14, plain(13));
    Edit5 = makeEdit(GroupBox2, QStringLiteral("8,75"), {124, 10, 52, 22}, plain(13),
                     QStringLiteral("Нажмите и в таблице справа выберите соответствующую ставку"));
    Edit5->setCursor(Qt::ArrowCursor);
    Label8 = makeLabel(GroupBox2, QStringLiteral("/"), 182, 8, plain(21),
                       palette().color(QPalette::Shadow));
    TrackBar2 = new QSlider(Qt::Horizontal, GroupBox2);
    TrackBar2->setGeometry(194, 12, 80, 20);
    TrackBar2->setRange(1, 365);
    TrackBar2->setValue(360);
    TrackBar2->setPageStep(1);
    TrackBar2->setTickPosition(QSlider::NoTicks);
    TrackBar2->setToolTip(
        QStringLiteral("Выберите коэф. использования ставки (например, 1/300 ставки рефин.)"));
    Label17 = makeLabel(GroupBox2, QStringLiteral("360"), 278, 12, plain(16));

    GroupBox3 = new QGroupBox(this);
    GroupBox3->setGeometry(8, 501, 313, 40);
    Label9 = makeLabel(GroupBox3, QStringLiteral("Договорная пеня (%):"), 8, 14, plain(13));
    Edit6 = makeEdit(
        GroupBox3, QStringLiteral("0,1"), {150, 10, 70, 22}, plain(13),
        QStringLiteral("Введите размерно дневной пени в соответствии с условиями договора"));

    const QString calcHint = QStringLiteral("Произвести расчет по введенным данным");
    const QString closeHint = QStringLiteral("Закрыть приложение");
    const QString printHint = QStringLiteral("Распечатать расчет");
    Image2 = makePicture(this, QStringLiteral(":/pictures/calc.png"), {34, 281, 24, 24});
    Image11 = makePicture(this, QStringLiteral(":/pictures/calc-lit.png"), {34, 281, 25, 26});
    Label6 = makeLink(this, QStringLiteral("Рассчитать"), {66, 284, 100, 20}, arial(16, true),
                      kTeal, calcHint);
    Image3 = makePicture(this, QStringLiteral(":/pictures/close.png"), {194, 281, 26, 26});
    Image12 = makePicture(this, QStringLiteral(":/pictures/close-lit.png"), {194, 281, 25, 26});
    Label7 = makeLink(this, QStringLiteral("Закрыть"), {226, 284, 74, 20}, arial(16, true), kTeal,
                      closeHint);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setGeometry(8, 328, 313, 117);
    RichEdit1->setReadOnly(true);
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichEdit1->setPlainText(QStringLiteral("RichEdit1"));

    Image4 = makePicture(this, QStringLiteral(":/pictures/print.png"), {0, 0, 32, 32});
    Image13 = makePicture(this, QStringLiteral(":/pictures/print-lit.png"), {0, 0, 32, 32});
    Label12 =
        makeLink(this, QStringLiteral("Печать"), {0, 0, 0, 0}, arial(16, true), kMaroon, printHint);
    Label18 = makeLabel(this, QStringLiteral("Для связи:"), 0, 0, plain(11));
    Label19 = makeLink(this, kAuthorAddress, {0, 0, 0, 0}, plain(11), kBlue, QString());

    // Five decorative pictures; one is shown at start.
    const QRect pictureBox(336, 24, 249, 259);
    Image1 = makePicture(this, QString(), pictureBox);
    Image6 = makePicture(this, QString(), pictureBox);
    Image7 = makePicture(this, QString(), pictureBox);
    Image9 = makePicture(this, QString(), pictureBox);
    Image14 = makePicture(this, QString(), pictureBox);
    for (QLabel *img : {Image1, Image6, Image7, Image9, Image14, Image11, Image12, Image13})
        img->hide();

    // The browser that reads the bank's page lies outside the window, never seen.
    WebBrowser1 = new QWidget(this);
    WebBrowser1->setGeometry(600, 136, 153, 89);
    WebBrowser1->setFocusPolicy(Qt::NoFocus);
}

void TForm1::createPanels() {
    Panel2 = new QFrame(this);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setGeometry(336, 24, 249, 289);
    Panel2->setAutoFillBackground(true);
    ValueListEditor1 = new ui::RateGrid(&table, Panel2);
    ValueListEditor1->setGeometry(9, 10, 232, 250);
    ValueListEditor1->setToolTip(QStringLiteral("Используйте двойной клик для выбора"));
    // The start-up lookup already selects rows, so this is wired at once.
    ValueListEditor1->onSelectRow = [this](int row) {
        try {
            ValueListEditor1SelectCell(row);
        } catch (const AppError &e) {
            ReportError(e.message());
        }
    };
    ProgressBar1 = new QProgressBar(Panel2);
    ProgressBar1->setGeometry(120, 266, 120, 16);
    ProgressBar1->setRange(0, 4);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    Label24 = makeLink(Panel2, QStringLiteral("Обновить через Интернет"), {11, 266, 0, 0},
                       plain(11), kBlue, QString());
    Panel2->hide();

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(5, 24, 316, 249);
    Panel1->setAutoFillBackground(true);
    Label15 = makeLabel(Panel1, QString(), 0, 12, plain(13, true));
    Label15->setGeometry(0, 12, 316, 18);
    Label15->setAlignment(Qt::AlignHCenter);
    Label13 = makeLabel(Panel1, QStringLiteral("Дата введения"), 16, 52, plain(13));
    DateTimePicker3 = makeDatePicker(Panel1, {160, 48, 140, 24});
    Label14 = makeLabel(Panel1, QStringLiteral("Введенная ставка"), 16, 86, plain(13));
    Edit2 = makeEdit(Panel1, QStringLiteral("Edit2"), {160, 82, 70, 24}, plain(13), QString());
    Label16 = makeLink(Panel1, QStringLiteral("Сохранить запись"), {16, 140, 284, 24},
                       plain(19, true), kMaroon, QString());
    Label16->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label22 = makeLink(Panel1, QStringLiteral("Сохранить изменения"), {16, 140, 284, 24},
                       plain(19, true), kMaroon, QString());
    Label22->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label22->hide();
    Label23 =
        makeLink(Panel1, QStringLiteral("Х"), {302, 5, 0, 0}, plain(11, true), QColor(), QString());
    Label20 = makeLabel(Panel1,
                        QStringLiteral("Для поддержания списка ставок рефинасирования в "
                                       "актуальном состоянии регулярно обновляйте данные с "
                                       "помощью ссылки \"Обновить через сеть\""),
                        7, 180, arial(11));
    Label20->setWordWrap(true);
    Label20->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label20->setGeometry(7, 180, 290, 42);
    Panel1->hide();
}

void TForm1::createMenus() {
    PopupMenu1 = new QMenu(this);
    N3 = PopupMenu1->addAction(QStringLiteral("Выбрать"));
    N4 = PopupMenu1->addSeparator();
    add = PopupMenu1->addAction(QStringLiteral("Добавить"));
    N1 = PopupMenu1->addAction(QStringLiteral("Редактировать"));
    N2 = PopupMenu1->addAction(QStringLiteral("Удалить"));
    PopupMenu2 = new QMenu(this);
    N7 = PopupMenu2->addAction(QStringLiteral("Копировать"));
    N5 = PopupMenu2->addAction(QStringLiteral("Выделить все"));
    N8 = PopupMenu2->addSeparator();
    N10 = PopupMenu2->addAction(QStringLiteral("Печать"));
    N9 = PopupMenu2->addAction(QStringLiteral("Пересчитать"));
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu2->popup(RichEdit1->mapToGlobal(pos)); });
}

void TForm1::FormCreate() {
    setWindowTitle(kCaption);
    Label18->move(433, 4);
    Label19->move(Label18->x() + Label18->width() + 2, Label18->y());
    Label22->move(Label16->x(), 117);
    Label16->move(Label16->x(), 117);
    // Halves round to even, as the layout has always been computed.
    const int top = int(std::nearbyint(RichEdit1->height() / 2.0)) + RichEdit1->y() -
                    int(std::nearbyint(Image4->height() / 2.0));
    Image4->move(481, top);
    Label12->move(Image4->x() + Image4->width() + 6, Image4->y() + 6);
    Image13->move(Image4->pos());
    Image12->move(Image3->pos());
    Image11->move(Image2->pos());
    for (QLabel *img : {Image2, Image11})
        img->setToolTip(Label6->toolTip());
    for (QLabel *img : {Image3, Image12})
        img->setToolTip(Label7->toolTip());
    for (QLabel *img : {Image4, Image13})
        img->setToolTip(Label12->toolTip());
    DateTimePicker1->setDate(QDate::currentDate());
    DateTimePicker2->setDate(DateTimePicker1->date());
    RichEdit1->clear();
    RichEdit1->resize(465, RichEdit1->height());
    Panel1->move(5, 24);
    Panel2->move(336, Panel2->y());
    setFixedWidth(600 - kFrameWidth);
    setOuterHeight(Label6->y() + Label6->height() + 42);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    Edit1->selectAll();
    ProgressBar1->move(ProgressBar1->x(), Panel2->y() + Panel2->height() - 47);

    QRandomGenerator rng(quint32(QDateTime::currentMSecsSinceEpoch()));
    const struct {
        QLabel *image;
        const char *resource;
    } pictures[] = {{Image14, ":/pictures/picture1.jpg"},
                    {Image6, ":/pictures/picture2.jpg"},
                    {Image7, ":/pictures/picture3.jpg"},
                    {Image1, ":/pictures/picture4.jpg"},
                    {Image9, ":/pictures/picture5.jpg"}};
    const auto &chosen = pictures[rng.bounded(5)];
    QLabel *shownPicture = chosen.image;
    shownPicture->setGeometry(336, 24, 249, 259);
    shownPicture->setPixmap(
        ui::LoadPicture(QString::fromLatin1(chosen.resource), shownPicture->size()));
    shownPicture->show();

    dateParts = calc::DecodeDates(DateTimePicker1->date(), DateTimePicker2->date());

    // The rate table: the built-in history, replaced by the user's file.
    table = rates::RateTable::BuiltIn();
    try {
        rates::StartupStorage(table, RateFilePath);
    } catch (const AppError &e) {
        ValueListEditor1->refresh();
        ReportError(e.message());
        return; // the rate lookup needs a table that came through
    }
    ValueListEditor1->refresh();
    run(&TForm1::DateTimePicker2Change);
}

int TForm1::outerHeight() const {
    return height() + kFrameHeight;
}

void TForm1::setOuterHeight(int h) {
    setFixedHeight(h - kFrameHeight);
}

QString TForm1::ErrorText(const QString &message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') return message + u'.';
    return message;
}

void TForm1::ReportError(const QString &message) {
    ask(ErrorText(message), AppTitle(), MessageBoxes::Icon::Stop, MessageBoxes::Buttons::Ok);
}

bool TForm1::ask(const QString &text, const QString &caption, MessageBoxes::Icon icon,
                 MessageBoxes::Buttons buttons) {
    return boxes_->show(this, text, caption, icon, buttons);
}

void TForm1::run(Handler handler) {
    try {
        (this->*handler)();
    } catch (const AppError &e) {
        ReportError(e.message());
    } catch (const std::exception &e) {
        ReportError(QString::fromUtf8(e.what()));
    }
}

void TForm1::FormClick() {
    Panel2->hide();
    Panel1->hide();
    Edit5->setEnabled(true);
}

void TForm1::Label19Click() {
    Panel2->hide();
    Panel1->hide();
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(kAuthorName + QStringLiteral(" <") + kAuthorAddress + u'>');
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), kCaption);
    url.setQuery(query);
    QDesktopServices::openUrl(url);
}

void TForm1::hook(QWidget *w, Hooks hooks) {
    hooks_.insert(w, hooks);
    w->installEventFilter(this);
    if (hooks.mouseMove) w->setMouseTracking(true);
}

void TForm1::connectHandlers() {
    hook(Edit1, {.click = h(&TForm1::Edit1Click),
                 .dblClick = h(&TForm1::Edit1DblClick),
                 .exit = h(&TForm1::Edit1Exit)});
    hook(Edit6, {.click = h(&TForm1::Edit6Click),
                 .dblClick = h(&TForm1::Edit6DblClick),
                 .exit = h(&TForm1::Edit6Exit)});
    hook(Edit5, {.click = h(&TForm1::Edit5Click),
                 .dblClick = h(&TForm1::Edit5DblClick),
                 .enter = h(&TForm1::Edit5Enter)});
    hook(DateTimePicker1, {.click = h(&TForm1::DateTimePicker1Click)});
    hook(DateTimePicker2, {.click = h(&TForm1::DateTimePicker2Click)});
    hook(Label6, {.click = h(&TForm1::Label6Click),
                  .mouseMove = h(&TForm1::Label6MouseMove),
                  .mouseLeave = h(&TForm1::Label6MouseLeave)});
    hook(Image11, {.click = h(&TForm1::Image11Click)});
    hook(Image2, {.mouseMove = h(&TForm1::Image2MouseMove)});
    hook(Label7, {.click = h(&TForm1::Label7Click),
                  .mouseMove = h(&TForm1::Label7MouseMove),
                  .mouseLeave = h(&TForm1::Label7MouseLeave)});
    hook(Image12, {.click = h(&TForm1::Image12Click)});
    hook(Image3, {.mouseMove = h(&TForm1::Image3MouseMove)});
    hook(Label12, {.click = h(&TForm1::Label12Click),
                   .mouseMove = h(&TForm1::Label12MouseMove),
                   .mouseLeave = h(&TForm1::Label12MouseLeave)});
    hook(Image4, {.mouseMove = h(&TForm1::Image4MouseMove)});
    hook(Label10, {.click = h(&TForm1::Label10Click)});
    hook(Label11, {.click = h(&TForm1::Label11Click)});
    hook(Label19, {.click = h(&TForm1::Label19Click)});
    hook(Label24, {.click = h(&TForm1::Label24Click)});
    hook(Edit2, {.dblClick = h(&TForm1::Edit2DblClick), .exit = h(&TForm1::Edit2Exit)});
    hook(Label16, {.click = h(&TForm1::Label16Click)});
    hook(Label22, {.click = h(&TForm1::Label22Click)});
    hook(Label23, {.click = h(&TForm1::Label23Click),
                   .mouseMove = h(&TForm1::Label23MouseMove),
                   .mouseLeave = h(&TForm1::Label23MouseLeave)});
    // The small links are only underlined while the mouse is over them; the
    // save links of the editor turn bold and underlined.
    for (QLabel *link : {Label10, Label11, Label19, Label24}) {
        hooks_[link].mouseMove = [link] { setLinkStyle(link, false, true); };
        hooks_[link].mouseLeave = [link] { setLinkStyle(link, false, false); };
        hook(link, hooks_[link]);
    }
    for (QLabel *link : {Label16, Label22}) {
        hooks_[link].mouseMove = [link] { setLinkStyle(link, true, true); };
        hooks_[link].mouseLeave = [link] { setLinkStyle(link, true, false); };
        hook(link, hooks_[link]);
    }

    connect(Edit2, &QLineEdit::textChanged, this, [this] { run(&TForm1::Edit2Change); });
    connect(Edit2, &QLineEdit::textEdited, this, [this] { limitTyped(Edit2); });
    connect(N3, &QAction::triggered, this, [this] { run(&TForm1::N3Click); });
    connect(add, &QAction::triggered, this, [this] { run(&TForm1::addClick); });
    connect(N2, &QAction::triggered, this, [this] { run(&TForm1::N2Click); });
    ValueListEditor1->onDoubleClick = h(&TForm1::ValueListEditor1DblClick);
    ValueListEditor1->onEnterKey = h(&TForm1::ValueListEditor1KeyPress);
    ValueListEditor1->onContextMenu = [this](const QPoint &pos) { PopupMenu1->popup(pos); };

    typedLimit_ = {{Edit1, 13}, {Edit6, 8}, {Edit2, 5}};
    for (QLineEdit *edit : {Edit1, Edit6}) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { keepNumber(edit); });
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { limitTyped(edit); });
    }
    connect(TrackBar1, &QSlider::valueChanged, this, [this] { run(&TForm1::TrackBar1Change); });
    connect(TrackBar2, &QSlider::valueChanged, this, [this] { run(&TForm1::TrackBar2Change); });
    connect(DateTimePicker2, &QDateEdit::dateChanged, this,
            [this] { run(&TForm1::DateTimePicker2Change); });
    connect(N9, &QAction::triggered, this, [this] { run(&TForm1::N9Click); });
    connect(N10, &QAction::triggered, this, [this] { run(&TForm1::N10Click); });
    connect(N7, &QAction::triggered, this, [this] { run(&TForm1::N7Click); });
    connect(N5, &QAction::triggered, this, [this] { run(&TForm1::N5Click); });
    connect(N1, &QAction::triggered, this, [this] { run(&TForm1::N1Click); });
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (edit && event->type() == QEvent::KeyPress && typedLimit_.contains(edit))
        return filterKey(edit, static_cast<QKeyEvent *>(event));
    const auto it = hooks_.constFind(watched);
    if (it == hooks_.constEnd()) return QWidget::eventFilter(watched, event);
    // Every event of a hooked control passes here, paints included, so the
    // hooks are not copied; they are all installed before the first event.
    const Hooks &hk = *it;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto *me = static_cast<QMouseEvent *>(event);
        const auto *w = static_cast<QWidget *>(watched);
        if (hk.click && me->button() == Qt::LeftButton &&
            w->rect().contains(me->position().toPoint()))
            hk.click();
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (hk.dblClick) {
            // The field's own word selection would undo the handler's.
            hk.dblClick();
            return true;
        }
        break;
    case QEvent::MouseMove:
        if (hk.mouseMove) hk.mouseMove();
        break;
    case QEvent::Leave:
        if (hk.mouseLeave) hk.mouseLeave();
        break;
    case QEvent::FocusIn:
        if (hk.enter) hk.enter();
        break;
    case QEvent::FocusOut: {
        // Only a move of the focus to another control leaves a field; the
        // window losing the focus (a message box, another program) does not.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (hk.exit && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            hk.exit();
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::mouseMoveEvent(QMouseEvent *event) {
    run(&TForm1::FormMouseMove);
    QWidget::mouseMoveEvent(event);
}

void TForm1::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) run(&TForm1::FormClick);
    QWidget::mouseReleaseEvent(event);
}
