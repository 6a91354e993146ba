// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QLabel>
#include <QPointer>

namespace ui {

class HoverIcon;

// A text that acts as a link: a pointing hand, clicked() on a left click, and
// a hover look while the mouse is over it (bold and/or underlined, or another
// text colour). An action link can light its icon while hovered. The keyboard
// reaches it by Tab (a click does not take the focus, so the mouse works as
// it always did): it then shows a focus frame and runs on Enter or Space. A
// screen reader sees a push button named by its text.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    // Placed at `geometry`; an empty size keeps the size of the text.
    LinkLabel(const QString &text, QWidget *parent, QRect geometry, const QFont &font,
              const QColor &color, const QString &hint);

    // While hovered the font turns `bold` and `underline`; when the mouse
    // leaves only the underline goes.
    void setHoverFont(bool bold, bool underline);
    // While hovered the text turns `color`; when the mouse leaves the window's
    // colours come back.
    void setHoverColor(const QColor &color);
    // The icon that lights up together with this link, and lights it up in
    // turn; it shows the link's hint.
    void setIcon(HoverIcon *icon);

    // The hover look, as when the mouse moves over the link or its icon.
    void showHover();
    // The look at rest (bold as set, no underline); a lit icon stays lit.
    void showRest();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    enum class Hover { None, Font, Color };
    Hover hover_ = Hover::None;
    bool hoverBold_ = false;
    bool hoverUnderline_ = false;
    QColor hoverColor_;
    QPointer<HoverIcon> icon_;
};

} // namespace ui
