// SPDX-License-Identifier: MIT
#include "ui/url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace vantoril {

void DesktopUrlOpener::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

} // namespace vantoril
