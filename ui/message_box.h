// SPDX-License-Identifier: MIT
#pragma once

#include "runtime/message_service.h"

class QWidget;

namespace vantoril {

// The real message box: modal, titled "VantorilTime", one OK button, no icon.
class MessageBoxService final : public MessageService {
public:
    explicit MessageBoxService(QWidget* owner) : owner_(owner) {}
    void ShowMessage(const std::string& prompt) override;

private:
    QWidget* owner_;
};

} // namespace vantoril
