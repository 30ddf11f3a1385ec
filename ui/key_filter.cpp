// SPDX-License-Identifier: MIT
// Every character typed into the window, however it arrives (a key, a
// control code, a composed character, a key into an open list), reaches the
// key procedure of its box before the box sees it.
#include "runtime/conversions.h"
#include "ui/frm_vantoril_time.h"
#include "ui/key_codes.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace vantoril {

void frmVantorilTime::ConnectKeyProcedures()
{
    keyProcedures_ = {
        {txtLngD, &frmVantorilTime::txtLngD_KeyPress},     {txtLngM, &frmVantorilTime::txtLngM_KeyPress},
        {txtLngS, &frmVantorilTime::txtLngS_KeyPress},     {txtYear, &frmVantorilTime::txtYear_KeyPress},
        {txtMinute, &frmVantorilTime::txtMinute_KeyPress}, {txtSecond, &frmVantorilTime::txtSecond_KeyPress},
    };
    // A combo's keys may reach the combo or its line edit, depending on the path; block both.
    for (const auto& [combo, procedure] :
         {std::pair{cmbEW, &frmVantorilTime::cmbEW_KeyPress}, std::pair{cmbMonth, &frmVantorilTime::cmbMonth_KeyPress},
          std::pair{cmbDate, &frmVantorilTime::cmbDate_KeyPress},
          std::pair{cmbHour, &frmVantorilTime::cmbHour_KeyPress}}) {
        keyProcedures_.emplace_back(combo, procedure);
        keyProcedures_.emplace_back(combo->lineEdit(), procedure);
        // An open list takes the keys itself and would jump to a typed item.
        keyProcedures_.emplace_back(combo->view(), procedure);
    }
    for (const auto& [object, procedure] : keyProcedures_) object->installEventFilter(this);
    cmdPress->installEventFilter(this);
    txtVantorilTime->installEventFilter(this);
}

frmVantorilTime::KeyProcedure frmVantorilTime::KeyProcedureOf(const QObject* watched) const
{
    const auto found = std::find_if(keyProcedures_.begin(), keyProcedures_.end(),
                                    [watched](const auto& entry) { return entry.first == watched; });
    return found == keyProcedures_.end() ? nullptr : found->second;
}

bool frmVantorilTime::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
        if (watched == cmdPress) return FilterButtonKey(event);
        return FilterKey(watched, event);
    case QEvent::InputMethod:
        return FilterComposed(watched, static_cast<QInputMethodEvent*>(event));
    case QEvent::ContextMenu:
        return ShowContextMenu(watched, static_cast<QContextMenuEvent*>(event));
    default:
        return QWidget::eventFilter(watched, event);
    }
}

bool frmVantorilTime::FilterComposed(QObject* watched, QInputMethodEvent* event)
{
    // Dead keys and compose sequences arrive as committed text, not keys; it
    // is typing all the same, so each character goes through the box's key
    // procedure. The result box takes no typed text at all.
    if (watched == txtVantorilTime) return true;
    const KeyProcedure procedure = KeyProcedureOf(watched);
    if (procedure == nullptr) return false;
    // An on-screen keyboard's backspace arrives as "remove the characters
    // before the caret": that many backspaces, each through the procedure.
    const int removed = event->replacementLength();
    if (event->commitString().isEmpty() && removed > 0 && event->replacementStart() == -removed) {
        TypeCodes(watched, procedure, std::vector<std::uint8_t>(static_cast<std::size_t>(removed), 8));
    }
    TypeCodes(watched, procedure, AnsiTextCodes(event->commitString()));
    // On-screen keyboards (weston's) hold tapped keys as composing text
    // until Enter or a blank, so a tapped digit would show nothing. Digits
    // compose nothing: the input method is told to drop them, once it has
    // recorded them, and they are typed, in that order, so that a message
    // box they bring finds nothing left composing. Other composing text
    // (a dead key's accent) waits for its commit as before.
    const QString& composing = event->preeditString();
    const bool digits = !composing.isEmpty() && std::all_of(composing.begin(), composing.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (digits) {
        if (composedBox_ != watched) composedCodes_.clear();
        composedBox_ = watched;
        composedProcedure_ = procedure;
        const std::vector<std::uint8_t> codes = AnsiTextCodes(composing);
        composedCodes_.insert(composedCodes_.end(), codes.begin(), codes.end());
        QTimer::singleShot(0, this, &frmVantorilTime::TypeComposedDigits);
    }
    return true;
}

bool frmVantorilTime::ShowContextMenu(QObject* watched, QContextMenuEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr || box->isReadOnly()) return false;
    const std::unique_ptr<QMenu> menu(ContextMenuWithoutShortcuts(*box));
    menu->exec(event->globalPos());
    return true;
}

QMenu* frmVantorilTime::ContextMenuWithoutShortcuts(QLineEdit& box)
{
    // The box rejects the keys the standard menu advertises (Ctrl+Z, Ctrl+V,
    // ...), so its entries show no shortcut hints; the menu itself works.
    QMenu* menu = box.createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        const qsizetype tab = action->text().indexOf(QLatin1Char('\t'));
        if (tab >= 0) action->setText(action->text().left(tab));
        action->setShortcut(QKeySequence());
    }
    return menu;
}

bool frmVantorilTime::FilterKey(QObject* watched, QEvent* event)
{
    const KeyProcedure procedure = KeyProcedureOf(watched);
    if (procedure == nullptr) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // In an open list, Enter and Escape choose or close; they are not typing.
    const int k = key->key();
    const bool isList = qobject_cast<const QAbstractItemView*>(watched) != nullptr;
    if (isList && (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape)) return false;
    const std::vector<std::uint8_t> codes = AnsiKeyCodes(*key);
    if (codes.empty()) {
        // Not a character: arrows, Delete, Tab... work as usual. Alt+letter,
        // Alt+Backspace and the like are commands, not typing, yet QLineEdit
        // would insert their text or undo: swallow them silently.
        return event->type() == QEvent::KeyPress && !key->text().isEmpty() && k != Qt::Key_Delete && k != Qt::Key_Tab &&
               k != Qt::Key_Backtab;
    }

    // Claim character keys before the shortcut map sees them, so Ctrl+V and
    // the like arrive here as characters and never act as shortcuts.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }

    // Ctrl+H is Backspace by its code, but the box would not act on it.
    if (codes.size() == 1 && (codes.front() != 8 || k == Qt::Key_Backspace)) {
        std::int16_t keyAscii = codes.front();
        (this->*procedure)(keyAscii);
        return keyAscii == 0; // a passed key goes on to the box unchanged
    }
    // Several characters in one event (compose sequences): each is a key of its own.
    TypeCodes(watched, procedure, codes);
    return true;
}

void frmVantorilTime::TypeComposedDigits()
{
    if (composedCodes_.empty()) return;
    QGuiApplication::inputMethod()->reset();
    const std::vector<std::uint8_t> codes = std::exchange(composedCodes_, {});
    if (composedBox_ != nullptr) TypeCodes(composedBox_, composedProcedure_, codes);
}

void frmVantorilTime::TypeCodes(QObject* watched, KeyProcedure procedure, const std::vector<std::uint8_t>& codes)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr) {
        if (auto* combo = qobject_cast<QComboBox*>(watched)) edit = combo->lineEdit();
    }
    for (const std::uint8_t code : codes) {
        std::int16_t keyAscii = code;
        (this->*procedure)(keyAscii);
        if (keyAscii == 0 || edit == nullptr) continue;
        if (keyAscii == 8) {
            edit->backspace();
        } else {
            edit->insert(QString::fromStdU16String(CharOfAnsiCode(static_cast<std::uint8_t>(keyAscii))));
        }
    }
}

bool frmVantorilTime::FilterButtonKey(QEvent* event)
{
    // Not a default button, yet Enter presses it while it has the focus.
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyPress && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        !key->isAutoRepeat()) {
        cmdPress->click();
        return true;
    }
    return false;
}

} // namespace vantoril
