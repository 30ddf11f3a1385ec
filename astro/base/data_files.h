// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// How the core reads the data files it is pointed at (leap seconds, IERS
// tables, places, zone tables), without doing the I/O itself: the program
// hands it a reader, a test hands it texts.

namespace vantoril::astro {

class DataFiles {
public:
    virtual ~DataFiles() = default;
    // The whole of a file of at most maxBytes. False with errno's reason in
    // `error` (EFBIG when longer) when it cannot be read.
    virtual bool ReadText(const std::string& path, std::size_t maxBytes, std::string& text, int& error) const = 0;
    // Each line of the file, without "\n" or "\r\n", to `line`, never holding
    // the file whole. False with errno's reason as above; what `line` throws
    // passes through.
    virtual bool ForEachLine(const std::string& path, std::size_t maxBytes,
                             const std::function<void(std::string_view)>& line, int& error) const = 0;
};

// The next line of text (without "\n" or "\r\n"), consumed from it; false
// at its end.
bool NextLine(std::string_view& text, std::string_view& line);

} // namespace vantoril::astro
