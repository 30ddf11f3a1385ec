// SPDX-License-Identifier: MIT
#pragma once

class QUrl;

namespace vantoril {

// Opens a web address in the desktop's browser. Behind an interface so
// tests can count requests instead of starting a browser.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void OpenUrl(const QUrl& url) = 0;

protected:
    UrlOpener() = default;
    UrlOpener(const UrlOpener&) = default;
    UrlOpener& operator=(const UrlOpener&) = default;
};

class DesktopUrlOpener final : public UrlOpener {
public:
    // The result is not examined: when no browser can open the page, the
    // desktop says so itself and the window carries on.
    void OpenUrl(const QUrl& url) override;
};

} // namespace vantoril
