// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/accessibleparts.h"

#include <QAccessibleWidget>
#include <QComboBox>
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

// A combo box named by what it is, valued by what is chosen; pressing it
// opens its list.
class NamedChoice : public QAccessibleWidget {
public:
    explicit NamedChoice(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox) {}
    QString text(QAccessible::Text t) const override {
        const auto *box = static_cast<const QComboBox *>(widget());
        if (t == QAccessible::Name) return box->accessibleName();
        if (t == QAccessible::Value) return box->currentText();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override {
        if (action == showMenuAction() || action == pressAction())
            static_cast<QComboBox *>(widget())->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *makeInterface(const QString &, QObject *object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (auto *link = qobject_cast<QLabel *>(widget); link && link->property(kActionLink).toBool())
        return new AccessibleLink(link);
    if (widget->property("decorative").toBool()) return new DecorativePicture(widget);
    if (auto *box = qobject_cast<QComboBox *>(widget); box && box->property(kNamedChoice).toBool())
        return new NamedChoice(box);
    // The program's window is a frame to a screen reader, as any main window.
    if (widget->isWindow() && widget->objectName() == QStringLiteral("mainWindow"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibleParts() {
    static const bool installed = (QAccessible::installFactory(makeInterface), true);
    Q_UNUSED(installed);
}

} // namespace ui
