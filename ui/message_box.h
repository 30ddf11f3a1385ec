// SPDX-License-Identifier: MIT
#pragma once

#include "runtime/message_service.h"

#include <QMessageBox>
#include <QString>

class QFont;
class QWidget;

namespace vantoril {

// The box itself: "VantorilTime", the prompt, OK, no icon; an alert to
// screen readers.
class MessageBox final : public QMessageBox {
    Q_OBJECT

public:
    MessageBox(const QString& prompt, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
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
