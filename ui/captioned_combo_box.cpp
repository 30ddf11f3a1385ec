// SPDX-License-Identifier: MIT
#include "ui/captioned_combo_box.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QtGlobal>

namespace vantoril {

namespace {

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
using AttributesBase = QAccessibleAttributesInterface;
#else
struct AttributesBase {}; // no attributes interface before Qt 6.8
#endif

// Keeps the structure readers know from Qt's combo box: the drop-down list
// as child 0, the text field as child 1, and one action that opens the list.
// Its current text is also given as the "valuetext" attribute: when that
// text is no item of the list (" 00"), readers that take the value from the
// selected item would otherwise speak the name again in its place.
class CaptionedComboAccessible final : public QAccessibleWidget, public AttributesBase {
public:
    explicit CaptionedComboAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::AttributesInterface) return static_cast<QAccessibleAttributesInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    [[nodiscard]] QList<QAccessible::Attribute> attributeKeys() const override
    {
        return {QAccessible::Attribute::Custom};
    }
    [[nodiscard]] QVariant attributeValue(QAccessible::Attribute key) const override
    {
        if (key != QAccessible::Attribute::Custom) return {};
        return QVariant::fromValue(QHash<QString, QString>{{ QStringLiteral("valuetext"), combo()->currentText() }});
    }
#endif

    [[nodiscard]] QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value || (t == QAccessible::Name && widget()->accessibleName().isEmpty())) {
            return combo()->currentText();
        }
        return QAccessibleWidget::text(t);
    }
    [[nodiscard]] int childCount() const override { return static_cast<int>(parts().size()); }
    [[nodiscard]] QAccessibleInterface* child(int index) const override
    {
        const QList<QObject*> all = parts();
        return index >= 0 && index < all.size() ? QAccessible::queryAccessibleInterface(all[index]) : nullptr;
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child == nullptr ? -1 : static_cast<int>(parts().indexOf(child->object()));
    }
    [[nodiscard]] QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& name) override
    {
        if (name != showMenuAction()) return;
        if (combo()->view()->isVisible()) {
            combo()->hidePopup();
        } else {
            combo()->showPopup();
        }
    }

private:
    [[nodiscard]] QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
    [[nodiscard]] QList<QObject*> parts() const
    {
        QList<QObject*> all{combo()->view()};
        if (combo()->lineEdit() != nullptr) all << combo()->lineEdit();
        return all;
    }
};

QAccessibleInterface* CaptionedComboFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("vantoril::CaptionedComboBox") && object != nullptr && object->isWidgetType()) {
        return new CaptionedComboAccessible(static_cast<CaptionedComboBox*>(object));
    }
    return nullptr;
}

} // namespace

CaptionedComboBox::CaptionedComboBox(QWidget* parent) : QComboBox(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(CaptionedComboFactory);
        return true;
    }();
    (void)installed;
}

} // namespace vantoril
