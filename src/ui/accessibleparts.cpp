// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibleparts.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QMetaObject>

namespace ui {
namespace {

class AccessibleLink : public QAccessibleWidget {
public:
    explicit AccessibleLink(QLabel *link) : QAccessibleWidget(link, QAccessible::Button) {}
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        const QString name = widget()->accessibleName();
        return name.isEmpty() ? static_cast<const QLabel *>(widget())->text() : name;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override {
        if (action == pressAction())
            QMetaObject::invokeMethod(widget(), "clicked");
        else
            QAccessibleWidget::doAction(action);
    }
};

// A picture that says nothing the text beside it does not.
class DecorativePicture : public QAccessibleWidget {
public:
    explicit DecorativePicture(QWidget *w) : QAccessibleWidget(w, QAccessible::Graphic) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = true;
        s.focusable = false;
        return s;
    }
    QString text(QAccessible::Text) const override { return QString(); }
};

QAccessibleInterface *makeInterface(const QString &, QObject *object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (auto *link = qobject_cast<QLabel *>(widget); link && link->property(kActionLink).toBool())
        return new AccessibleLink(link);
    if (widget->property("decorative").toBool()) return new DecorativePicture(widget);
    return nullptr;
}

} // namespace

void installAccessibleParts() {
    static const bool installed = (QAccessible::installFactory(makeInterface), true);
    Q_UNUSED(installed);
}

} // namespace ui
