// SPDX-License-Identifier: MIT
#include "cli/io/output.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

#include <sys/uio.h>

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

bool Output::Write(std::span<const std::string_view> texts)
{
    if (!Flush()) return false;
    std::vector<iovec> pieces;
    pieces.reserve(texts.size());
    for (const std::string_view text : texts) {
        if (!text.empty()) pieces.push_back({const_cast<char*>(text.data()), text.size()});
    }
    std::size_t first = 0;
    while (first < pieces.size() && !failed_) {
        const auto count = static_cast<int>(std::min<std::size_t>(pieces.size() - first, IOV_MAX));
        const ssize_t n = ::writev(fd_, pieces.data() + first, count);
        if (n < 0) {
            if (errno != EINTR) {
                failed_ = true;
                error_ = errno;
            }
            continue;
        }
        // Past the pieces written whole, and into the one cut short.
        auto done = static_cast<std::size_t>(n);
        while (first < pieces.size() && done >= pieces[first].iov_len) done -= pieces[first++].iov_len;
        if (first < pieces.size()) {
            pieces[first].iov_base = static_cast<char*>(pieces[first].iov_base) + done;
            pieces[first].iov_len -= done;
        }
    }
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
