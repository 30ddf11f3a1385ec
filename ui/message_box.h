// SPDX-License-Identifier: MIT
#pragma once

#include "runtime/message_service.h"

#include <QMessageBox>
#include <QString>
#include <QTimer>

class QFont;
class QWidget;
class QWindow;

namespace vantoril {

// The box itself: "VantorilTime", the prompt, OK, no icon; an alert to
// screen readers. Never out of reach: when the window it blocks is
// activated (clicked, chosen in a task bar), the box asks to come back in
// front with the keyboard; where the window system does not grant that in
// a moment (sway by default only marks it urgent), the box is shown anew,
// as a new window is given the keyboard.
class MessageBox final : public QMessageBox {
    Q_OBJECT

public:
    MessageBox(const QString& prompt, QWidget* parent);
    // How long the window system has to bring the box in front.
    static constexpr int kInFrontMs = 300;

protected:
    void showEvent(QShowEvent* event) override;

private:
    [[nodiscard]] bool Blocks(const QWindow* focused) const;
    void FocusMoved();
    void ShowAgainUnlessInFront();

    QTimer inFront_;
    bool shownAgainUnfocused_ = false; // once, until it has the keyboard again
};

// The real message box: modal, titled "VantorilTime", one OK button, no icon.
class MessageBoxService final : public MessageService {
public:
    static inline const QString kTitle = QStringLiteral("VantorilTime");
    // A title and a close button; nothing to minimise or maximise.
    static constexpr Qt::WindowFlags kWindowFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                    Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

    explicit MessageBoxService(QWidget* owner) : owner_(owner) {}
    void ShowMessage(const std::string& prompt) override;

    // Wide enough for the whole title in any title bar.
    [[nodiscard]] static int MinimumWidth(const QFont& titleFont);

private:
    QWidget* owner_;
};

} // namespace vantoril
