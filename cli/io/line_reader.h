// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace vantoril::cli {

// What LineReader found: a line to read, a blank or # comment line too long
// to keep (whose text is not needed), or a line of data too long to keep.
enum class LineKind { Text, LongBlank, TooLong };

// Lines of a descriptor, read in large blocks. A UTF-8 byte-order mark at
// the start of the input is skipped; a line ends at "\n", and a run of "\r"
// before it belongs to the line end. A line longer than kMaxLine (line end
// not counted) is skipped to its end, so memory stays bounded.
class LineReader {
public:
    static constexpr std::size_t kMaxLine = 4096;

    explicit LineReader(int fd);

    // False at the end of the input, and, when mayRead is false, where the
    // next line is not in the buffer yet: lines returned since the last read
    // stay valid until the next call that may read.
    bool Next(std::string_view& line, LineKind& kind, bool mayRead = true);

    [[nodiscard]] int error() const { return error_; }

private:
    static constexpr std::size_t kBlock = 1 << 18;

    void Fill();
    void SkipByteOrderMark();
    // Settles what a skipped line is from a piece of it, when still open.
    void Classify(std::string_view piece);

    int fd_;
    std::unique_ptr<char[]> buffer_; // not zeroed: only what read() wrote is looked at
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool started_ = false;
    bool skipping_ = false;
    bool classified_ = false;
    bool carriageReturnsDropped_ = false;
    std::size_t dropPoint_ = 0; // the line's length where they were
    LineKind skippedKind_ = LineKind::LongBlank;
    int error_ = 0;
};

} // namespace vantoril::cli
