// SPDX-License-Identifier: MIT
#include "cli/io/line_reader.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace vantoril::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view WithoutCarriageReturns(std::string_view line)
{
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

} // namespace

LineReader::LineReader(int fd) : fd_(fd), buffer_(new char[kBlock]) {}

void LineReader::SkipByteOrderMark()
{
    started_ = true;
    // A pipe may hand over the mark a byte at a time.
    while (!atEnd_ && end_ - begin_ < kByteOrderMark.size() &&
           kByteOrderMark.substr(0, end_ - begin_) == std::string_view(buffer_.get() + begin_, end_ - begin_)) {
        Fill();
    }
    if (std::string_view(buffer_.get() + begin_, end_ - begin_).substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        begin_ += kByteOrderMark.size();
    }
}

void LineReader::Classify(std::string_view piece)
{
    if (classified_) return;
    for (const char c : piece) {
        if (c == ' ' || c == '\t') continue;
        skippedKind_ = c == '#' ? LineKind::LongBlank : LineKind::TooLong;
        classified_ = true;
        return;
    }
}

bool LineReader::Next(std::string_view& line, LineKind& kind, bool mayRead)
{
    if (!started_) SkipByteOrderMark();
    for (;;) {
        const char* start = buffer_.get() + begin_;
        const std::string_view pending(start, end_ - begin_);
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', pending.size()));
        if (newline != nullptr || atEnd_) {
            const std::size_t length = newline != nullptr ? static_cast<std::size_t>(newline - start) : pending.size();
            if (newline == nullptr && length == 0 && !skipping_) return false;
            begin_ += length + (newline != nullptr ? 1 : 0);
            line = WithoutCarriageReturns(pending.substr(0, length));
            // Carriage returns dropped inside the line make it longer than it looks.
            const bool longer = carriageReturnsDropped_ && line.size() > dropPoint_;
            carriageReturnsDropped_ = false;
            if (!skipping_ && (line.size() > kMaxLine || longer)) {
                skipping_ = true;
                classified_ = false;
                skippedKind_ = LineKind::LongBlank;
            }
            if (skipping_) {
                Classify(line);
                kind = skippedKind_;
                line = {};
                skipping_ = false;
            } else {
                kind = LineKind::Text;
            }
            return true;
        }
        if (!mayRead) return false;
        const std::string_view content = WithoutCarriageReturns(pending);
        if (skipping_ || content.size() > kMaxLine) {
            if (!skipping_) {
                skipping_ = true;
                classified_ = false;
                skippedKind_ = LineKind::LongBlank;
            }
            Classify(content);
            // Keep one carriage return: with the "\n" still to come it may be
            // the line end, and Classify has nothing to learn from it.
            begin_ = end_ - (pending.size() > content.size() ? 1 : 0);
        } else if (pending.size() > kMaxLine + 1) {
            // A run of "\r" after a line that fits: one stands for the run,
            // so the buffer stays bounded whatever its length.
            carriageReturnsDropped_ = true;
            dropPoint_ = content.size();
            end_ = begin_ + content.size() + 1;
        }
        Fill();
    }
}

void LineReader::Fill()
{
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.get() + end_, kBlock - end_);
        if (n > 0) {
            end_ += static_cast<std::size_t>(n);
            return;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error_ = errno;
        atEnd_ = true;
        return;
    }
}

} // namespace vantoril::cli
