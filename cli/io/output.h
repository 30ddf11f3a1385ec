// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <string_view>

// Writing vantoril-lst's results and messages to file descriptors.

namespace vantoril::cli {

// Buffered writes straight to a descriptor: no stdio locking, no flush per line.
class Output {
public:
    explicit Output(int fd) : fd_(fd) { buffer_.reserve(kChunk + 8192); }

    std::string& buffer() { return buffer_; }

    void FlushIfFull()
    {
        if (buffer_.size() >= kChunk) Flush();
    }

    // Writes the buffer whole (retrying after signals unless `interrupted`
    // says to stop) and empties it; false once a write has failed.
    bool Flush(bool (*interrupted)() = nullptr);

    // Writes what the buffer holds, then the texts straight from where they
    // are, in as few system calls as the kernel allows: a block of answers is
    // not copied into the buffer first.
    bool Write(std::span<const std::string_view> texts);

    [[nodiscard]] bool failed() const { return failed_; }
    [[nodiscard]] int error() const { return error_; }

private:
    static constexpr std::size_t kChunk = 1 << 16;
    int fd_;
    std::string buffer_;
    bool failed_ = false;
    int error_ = 0;
};

// Writes all of text, ignoring failures: for messages on standard error.
void WriteAll(int fd, std::string_view text);

} // namespace vantoril::cli
