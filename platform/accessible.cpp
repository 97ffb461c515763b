#include "platform/accessible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QVariant>

namespace veltrix {

namespace {

constexpr const char* kNamedList = "veltrixNamedList";
constexpr const char* kLink = "veltrixLink";

class NamedListAccessible : public QAccessibleWidget {
  public:
    explicit NamedListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return List()->currentText();
        return QAccessibleWidget::text(t);
    }
    // The drop-down list, as Qt's own list interface has it.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(List()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == List()->view() ? 0 : -1;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction())
            List()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

  private:
    QComboBox* List() const { return static_cast<QComboBox*>(widget()); }
};

class LinkAccessible : public QAccessibleWidget {
  public:
    explicit LinkAccessible(QWidget* label) : QAccessibleWidget(label, QAccessible::Link) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (auto* label = qobject_cast<QLabel*>(widget())) return label->text();
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        // The label's own click, as the mouse gives it.
        QWidget* label = widget();
        const QPointF centre = QRectF(label->rect()).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent click(type, centre, label->mapToGlobal(centre), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(label, &click);
        }
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) return nullptr;
    if (object->property(kNamedList).toBool()) {
        if (auto* list = qobject_cast<QComboBox*>(object)) return new NamedListAccessible(list);
    }
    if (object->property(kLink).toBool()) return new LinkAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

void InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

}  // namespace

void RenewAccessibleInterface(QObject* object) {
    if (QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(object))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
}

void NameList(QComboBox* list, const QString& name) {
    InstallFactory();
    list->setProperty(kNamedList, true);
    list->setAccessibleName(name);
    RenewAccessibleInterface(list);
}

void ActAsLink(QWidget* label) {
    InstallFactory();
    label->setProperty(kLink, true);
    RenewAccessibleInterface(label);
}

}  // namespace veltrix
