// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace vantoril {

// The modal message box the procedures use for warnings and error reports.
// The window supplies a real box; tests supply a recorder.
class MessageService {
public:
    virtual ~MessageService() = default;

    // Shows the prompt with one OK button and returns once it is dismissed.
    virtual void ShowMessage(const std::string& prompt) = 0;

protected:
    MessageService() = default;
    MessageService(const MessageService&) = default;
    MessageService& operator=(const MessageService&) = default;
};

} // namespace vantoril
