// SPDX-License-Identifier: MIT
#include "cli/file_text.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace vantoril::cli {

bool ReadFileText(const std::string& path, std::size_t maxBytes, std::string& text, int& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    text.clear();
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            ::close(fd);
            return false;
        }
        if (text.size() + static_cast<std::size_t>(n) > maxBytes) {
            error = EFBIG;
            ::close(fd);
            return false;
        }
        text.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

bool NextLine(std::string_view& text, std::string_view& line)
{
    if (text.empty()) return false;
    const std::size_t end = text.find('\n');
    line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

} // namespace vantoril::cli
