// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QPixmap>

namespace ui {

// The icon beside an action link: a plain picture that lights up when the
// mouse comes over it or its link, and stays lit until the mouse moves over
// the window's background. Only the lit icon is clicked: a real mouse always
// lights it on the way in.
class HoverIcon : public QLabel {
    Q_OBJECT
public:
    // The two pictures come from the resources, each fitted to its own box;
    // both boxes share the top-left corner `at`. The lit one is read the first
    // time it is shown.
    HoverIcon(const QString &plainPicture, QSize plainSize, const QString &litPicture,
              QSize litSize, QPoint at, QWidget *parent);

    bool isLit() const { return lit_; }
    void setLit(bool lit);
signals:
    void clicked();
    // The mouse came over the icon and lit it: its link shows its hover look.
    void litByMouse();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPixmap plain_, litPicture_;
    QString litPath_;
    QSize plainSize_, litSize_;
    bool lit_ = false;
};

} // namespace ui
