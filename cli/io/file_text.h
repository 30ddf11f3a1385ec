// SPDX-License-Identifier: MIT
#pragma once

#include "astro/base/data_files.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Reading the data files the program is pointed at.

namespace vantoril::cli {

// The whole of a file of at most maxBytes. False with errno's reason in
// `error` (EFBIG when longer) when it cannot be read.
bool ReadFileText(const std::string& path, std::size_t maxBytes, std::string& text, int& error);

// Each line of the file (as NextLine gives them) to `line`, read through a
// fixed buffer so that a file of several MB is never held whole. False with
// errno's reason in `error` (EFBIG past maxBytes) when it cannot be read; what
// `line` throws passes through.
bool ForEachFileLine(const std::string& path, std::size_t maxBytes, const std::function<void(std::string_view)>& line,
                     int& error);

// The two above, as the core reads its data files.
class SystemFiles final : public astro::DataFiles {
public:
    bool ReadText(const std::string& path, std::size_t maxBytes, std::string& text, int& error) const override
    {
        return ReadFileText(path, maxBytes, text, error);
    }
    bool ForEachLine(const std::string& path, std::size_t maxBytes, const std::function<void(std::string_view)>& line,
                     int& error) const override
    {
        return ForEachFileLine(path, maxBytes, line, error);
    }
};

} // namespace vantoril::cli
