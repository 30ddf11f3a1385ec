// SPDX-License-Identifier: MIT
#pragma once

#include "runtime/message_service.h"
#include "ui/frm_vantoril_time.h"
#include "ui/link_label.h"
#include "ui/url_opener.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <memory>
#include <string>
#include <vector>

namespace vantoril::testing {

// Records every message the window would have shown in a modal box.
class MessageRecorder final : public MessageService {
public:
    void ShowMessage(const std::string& prompt) override { prompts.push_back(prompt); }
    std::vector<std::string> prompts;
};

class UrlRecorder final : public UrlOpener {
public:
    void OpenUrl(const QUrl& url) override { urls.push_back(url); }
    std::vector<QUrl> urls;
};

// A shown, focused window wired to recorders.
struct Harness {
    MessageRecorder messages;
    UrlRecorder urls;
    std::unique_ptr<frmVantorilTime> window;

    Harness() : window(std::make_unique<frmVantorilTime>(&messages, &urls))
    {
        window->show();
        window->activateWindow();
        (void)QTest::qWaitForWindowExposed(window.get());
    }

    void Type(QWidget* target, const QString& keys)
    {
        target->setFocus();
        QTest::keyClicks(target, keys);
    }

    void Press() { QTest::mouseClick(window->cmdPress, Qt::LeftButton); }

    QString Result() const { return window->txtVantorilTime->text(); }
};

} // namespace vantoril::testing
