// SPDX-License-Identifier: MIT
#include "ui/message_box.h"

#include "ui/normal_state.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSpacerItem>
#include <QWindow>

namespace vantoril {

namespace {

// Where a message box keeps its icon.
const QLatin1String kIconLabel("qt_msgboxex_icon_label");

// Read by screen readers as an alert titled by the box, and modal, which it is.
class MessageBoxAccessible final : public QAccessibleWidget {
public:
    explicit MessageBoxAccessible(QWidget* box) : QAccessibleWidget(box, QAccessible::AlertMessage) {}

    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.modal = widget()->isModal();
        return s;
    }
    [[nodiscard]] QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description) return static_cast<const QMessageBox*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    // Without the place of the icon it does not show: an empty, unnamed node.
    [[nodiscard]] int childCount() const override { return static_cast<int>(Parts().size()); }
    [[nodiscard]] QAccessibleInterface* child(int index) const override
    {
        const QList<QAccessibleInterface*> parts = Parts();
        return index >= 0 && index < parts.size() ? parts[index] : nullptr;
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override
    {
        return static_cast<int>(Parts().indexOf(const_cast<QAccessibleInterface*>(child)));
    }

private:
    [[nodiscard]] QList<QAccessibleInterface*> Parts() const
    {
        QList<QAccessibleInterface*> parts;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface* part = QAccessibleWidget::child(i);
            if (part == nullptr || part->object() == nullptr || part->object()->objectName() == kIconLabel) continue;
            parts << part;
        }
        return parts;
    }
};

QAccessibleInterface* MessageBoxFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("vantoril::MessageBox") && object != nullptr && object->isWidgetType()) {
        return new MessageBoxAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

} // namespace

MessageBox::MessageBox(const QString& prompt, QWidget* parent)
    : QMessageBox(QMessageBox::NoIcon, MessageBoxService::kTitle, prompt, QMessageBox::Ok, parent,
                  MessageBoxService::kWindowFlags)
{
    static const bool installed = [] {
        QAccessible::installFactory(MessageBoxFactory);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("messageBox"));
    // No icon, so no empty picture for a screen reader to stop at either.
    if (auto* icon = findChild<QLabel*>(kIconLabel)) icon->hide();
    inFront_.setSingleShot(true);
    inFront_.setInterval(kInFrontMs);
    connect(&inFront_, &QTimer::timeout, this, &MessageBox::ShowAgainUnlessInFront);
    // Queued: out of the focus change itself, which is still being delivered.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &MessageBox::FocusMoved, Qt::QueuedConnection);
}

void MessageBox::showEvent(QShowEvent* event)
{
    QMessageBox::showEvent(event);
    KeepNormalState(*this, Minimised::Refused);
}

bool MessageBox::Blocks(const QWindow* focused) const
{
    const QWindow* own = windowHandle();
    if (focused == nullptr || own == nullptr || !isVisible() || QGuiApplication::modalWindow() != own) return false;
    // The box's own menus and tooltips are not blocked.
    for (const QWindow* w = focused; w != nullptr; w = w->transientParent()) {
        if (w == own) return false;
    }
    return true;
}

void MessageBox::FocusMoved()
{
    QWindow* focused = QGuiApplication::focusWindow();
    if (focused != nullptr && focused == windowHandle()) {
        shownAgainUnfocused_ = false;
        inFront_.stop();
        return;
    }
    if (!Blocks(focused)) return;
    raise();
    activateWindow(); // xdg_activation_v1 on Wayland, where the compositor has it
    inFront_.start();
}

void MessageBox::ShowAgainUnlessInFront()
{
    if (shownAgainUnfocused_ || !Blocks(QGuiApplication::focusWindow())) return;
    shownAgainUnfocused_ = true;
    // MessageBoxService::ShowMessage shows it again.
    setProperty(kKeptReshow, true);
    hide();
}

int MessageBoxService::MinimumWidth(const QFont& titleFont)
{
    // Qt's own Wayland title bar centres the title between buttons it draws
    // at either side (three of them, whatever the flags say): room for the
    // whole title and those buttons on both sides.
    constexpr int kButtonsWidth = 3 * 23 + 8;
    return QFontMetrics(titleFont).horizontalAdvance(kTitle) + 2 * kButtonsWidth + 16;
}

void MessageBoxService::ShowMessage(const std::string& prompt)
{
    MessageBox box(QString::fromStdString(prompt), owner_);
    // A message box sizes itself from its contents; a spacer across its
    // grid is what makes it wider.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont bold = box.font();
        bold.setBold(true);
        grid->addItem(new QSpacerItem(MinimumWidth(bold), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    // Shown again when it had to be hidden to undo a minimise or to come back
    // in front; every way of dismissing it (OK, Enter, Escape, close) leaves
    // kKeptReshow unset.
    do {
        box.setProperty(kKeptReshow, false);
        box.exec();
    } while (box.property(kKeptReshow).toBool());
}

} // namespace vantoril
