// SPDX-License-Identifier: MIT
#include "ui/result_box.h"

#include <QAccessibleWidget>
#include <QFontMetrics>

namespace vantoril {

namespace {

// Qt's own line edit interface offers editing even when the box is read-only
// (a setTextContents through AT-SPI replaced the result); this one offers
// reading and selecting only.
class ResultBoxAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ResultBoxAccessible(ResultBox* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.editable = false;
        s.selectableText = true;
        return s;
    }
    [[nodiscard]] QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) return box()->text();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {} // read-only

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
        const QRect local = box()->CharacterRect(offset);
        return {box()->mapToGlobal(local.topLeft()), local.size()};
    }
    [[nodiscard]] int offsetAtPoint(const QPoint& point) const override
    {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {} // the result always fits
    // One run without attributes over the whole text; zero-length runs made
    // a reader drop the last character.
    [[nodiscard]] QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    [[nodiscard]] ResultBox* box() const { return static_cast<ResultBox*>(widget()); }
};

QAccessibleInterface* ResultBoxFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("vantoril::ResultBox") && object != nullptr && object->isWidgetType()) {
        return new ResultBoxAccessible(static_cast<ResultBox*>(object));
    }
    return nullptr;
}

} // namespace

ResultBox::ResultBox(const QString& text, QWidget* parent) : QLineEdit(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(ResultBoxFactory);
        return true;
    }();
    (void)installed;
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
    setText(text);
}

QRect ResultBox::CharacterRect(int offset) const
{
    const QFontMetrics metrics(font());
    const QString shown = text();
    if (offset < 0 || offset >= shown.size()) return {};
    // Left-aligned text from the start of the contents, past the frame.
    const QRect contents = contentsRect().marginsRemoved(textMargins());
    const int left = contents.left() + 2 + metrics.horizontalAdvance(shown.left(offset));
    return {left, contents.top() + (contents.height() - metrics.height()) / 2,
            metrics.horizontalAdvance(shown.at(offset)), metrics.height()};
}

} // namespace vantoril
