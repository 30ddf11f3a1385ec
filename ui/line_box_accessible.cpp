// SPDX-License-Identifier: MIT
#include "ui/line_box_accessible.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QValidator>

namespace vantoril {

namespace {

// Where the character at offset stands, in the box's own coordinates; empty
// past the text.
QRect CharacterRect(const QLineEdit& box, int offset)
{
    const QFontMetrics metrics(box.font());
    const QString shown = box.text();
    if (offset < 0 || offset >= shown.size()) return {};
    // The boxes are left-aligned and their texts fit: from the start of the
    // contents, past the frame.
    const QRect contents = box.contentsRect().marginsRemoved(box.textMargins());
    const int left = contents.left() + 2 + metrics.horizontalAdvance(shown.left(offset));
    return {left, contents.top() + (contents.height() - metrics.height()) / 2,
            metrics.horizontalAdvance(shown.at(offset)), metrics.height()};
}

class LineBoxAccessible final : public QAccessibleWidget,
                                public QAccessibleTextInterface,
                                public QAccessibleEditableTextInterface {
public:
    explicit LineBoxAccessible(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface && !box()->isReadOnly()) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = box()->isReadOnly();
        s.editable = !box()->isReadOnly();
        s.passwordEdit = box()->echoMode() != QLineEdit::Normal;
        s.selectableText = true;
        return s;
    }
    [[nodiscard]] QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value && box()->echoMode() == QLineEdit::Normal) return box()->text();
        return QAccessibleWidget::text(t);
    }
    // A new value goes through the box's validator, as a paste would.
    void setText(QAccessible::Text t, const QString& text) override
    {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        if (box()->isReadOnly()) return;
        QString checked = text;
        if (const QValidator* validator = box()->validator(); validator != nullptr) {
            int position = 0;
            if (validator->validate(checked, position) != QValidator::Acceptable) return;
        }
        box()->setText(checked);
    }

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !box()->hasSelectedText()) return;
        *startOffset = box()->selectionStart();
        *endOffset = box()->selectionEnd();
    }
    [[nodiscard]] int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0) box()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0) box()->setSelection(startOffset, endOffset - startOffset);
    }
    [[nodiscard]] int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    [[nodiscard]] QString text(int startOffset, int endOffset) const override
    {
        return box()->text().mid(startOffset, endOffset - startOffset);
    }
    [[nodiscard]] int characterCount() const override { return static_cast<int>(box()->text().size()); }
    [[nodiscard]] QRect characterRect(int offset) const override
    {
        const QRect local = CharacterRect(*box(), offset);
        return local.isNull() ? QRect() : QRect(box()->mapToGlobal(local.topLeft()), local.size());
    }
    [[nodiscard]] int offsetAtPoint(const QPoint& point) const override
    {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        box()->setCursorPosition(endIndex);
        box()->setCursorPosition(startIndex);
    }
    [[nodiscard]] QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // QAccessibleEditableTextInterface: each edit as the box takes a paste,
    // through its validator.
    void deleteText(int startOffset, int endOffset) override
    {
        box()->setSelection(startOffset, endOffset - startOffset);
        box()->del();
    }
    void insertText(int offset, const QString& text) override
    {
        box()->setCursorPosition(offset);
        box()->insert(text);
    }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        box()->setSelection(startOffset, endOffset - startOffset);
        box()->insert(text);
    }

private:
    [[nodiscard]] QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* LineBoxFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QLineEdit") && object != nullptr && object->isWidgetType()) {
        return new LineBoxAccessible(static_cast<QLineEdit*>(object));
    }
    return nullptr;
}

} // namespace

void InstallLineBoxAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(LineBoxFactory);
        return true;
    }();
    (void)installed;
}

} // namespace vantoril
