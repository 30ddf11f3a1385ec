// SPDX-License-Identifier: MIT
#include "cli/io/output.h"

#include <cerrno>

#include <unistd.h>

namespace vantoril::cli {

bool Output::Flush(bool (*interrupted)())
{
    std::size_t done = 0;
    while (done < buffer_.size() && !failed_) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR && interrupted != nullptr && interrupted()) {
            break; // a reader that has stalled must not keep a stopped watch alive
        } else if (n < 0 && errno != EINTR) {
            failed_ = true;
            error_ = errno;
        }
    }
    buffer_.clear();
    return !failed_;
}

void WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n > 0) {
            text.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno != EINTR) {
            return;
        }
    }
}

} // namespace vantoril::cli
