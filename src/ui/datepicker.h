#pragma once

#include <QDateEdit>

namespace ui {

// A date field with a calendar drop-down, dates written dd.mm.yyyy whatever
// the desktop's locale, and clicked() for a click on the field itself.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    DatePicker(QRect geometry, QWidget *parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace ui
