// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantoril::cli {

// The whole of a file of at most maxBytes. False with errno's reason in
// `error` (EFBIG when longer) when it cannot be read.
bool ReadFileText(const std::string& path, std::size_t maxBytes, std::string& text, int& error);

// The next line of text (without "\n" or "\r\n"), consumed from it; false
// at its end.
bool NextLine(std::string_view& text, std::string_view& line);

} // namespace vantoril::cli
