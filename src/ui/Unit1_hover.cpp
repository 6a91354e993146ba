// The hover look of the action links and their icons.
#include "Unit1.h"

#include <QLabel>

void TForm1::setLinkStyle(QLabel *label, bool bold, bool underline) {
    QFont f = label->font();
    f.setBold(bold);
    f.setUnderline(underline);
    label->setFont(f);
}

namespace {

void swapIcons(QLabel *show, QLabel *hide) {
    show->show();
    hide->hide();
}

} // namespace

void TForm1::Label6MouseMove() {
    setLinkStyle(Label6, true, true);
    swapIcons(Image11, Image2);
}

void TForm1::Label6MouseLeave() {
    setLinkStyle(Label6, true, false);
}

void TForm1::Image2MouseMove() {
    swapIcons(Image11, Image2);
    setLinkStyle(Label6, true, true);
}

void TForm1::Label7MouseMove() {
    setLinkStyle(Label7, true, true);
    swapIcons(Image12, Image3);
}

void TForm1::Label7MouseLeave() {
    setLinkStyle(Label7, true, false);
}

void TForm1::Image3MouseMove() {
    swapIcons(Image12, Image3);
    setLinkStyle(Label7, true, true);
}

void TForm1::Label12MouseMove() {
    setLinkStyle(Label12, true, true);
    swapIcons(Image13, Image4);
}

void TForm1::Label12MouseLeave() {
    setLinkStyle(Label12, true, false);
}

void TForm1::Image4MouseMove() {
    swapIcons(Image13, Image4);
    setLinkStyle(Label12, true, true);
}

void TForm1::Label23MouseMove() {
    QPalette p = Label23->palette();
    p.setColor(QPalette::WindowText, QColor(128, 128, 128));
    Label23->setPalette(p);
}

void TForm1::Label23MouseLeave() {
    Label23->setPalette(palette());
}

void TForm1::FormMouseMove() {
    swapIcons(Image3, Image12);
    swapIcons(Image2, Image11);
    swapIcons(Image4, Image13);
    for (QLabel *link : {Label7, Label6, Label12})
        setLinkStyle(link, true, false);
}
