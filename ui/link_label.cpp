// SPDX-License-Identifier: MIT
#include "ui/link_label.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace vantoril {

namespace {

class LinkLabelAccessible final : public QAccessibleWidget {
public:
    explicit LinkLabelAccessible(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    [[nodiscard]] QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return static_cast<const QLabel*>(widget())->text();
        }
        return QAccessibleWidget::text(t);
    }
    [[nodiscard]] QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction()) emit static_cast<LinkLabel*>(widget())->clicked();
    }
};

QAccessibleInterface* LinkLabelFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("vantoril::LinkLabel") && object != nullptr && object->isWidgetType()) {
        return new LinkLabelAccessible(static_cast<LinkLabel*>(object));
    }
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) { setFocusPolicy(Qt::NoFocus); }

void LinkLabel::InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(LinkLabelFactory);
        return true;
    }();
    (void)installed;
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) pressed_ = true;
    event->accept();
}

// A double click is one click followed by a double-click event, which asks
// for nothing: the page opens once, not twice.
void LinkLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    pressed_ = false;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const bool wasPressed = pressed_;
    pressed_ = false;
    event->accept();
    // Releasing outside the label cancels the click, as with a button.
    if (wasPressed && rect().contains(event->position().toPoint())) emit clicked();
}

} // namespace vantoril
