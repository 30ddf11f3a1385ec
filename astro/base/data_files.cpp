// SPDX-License-Identifier: MIT
#include "astro/base/data_files.h"

namespace vantoril::astro {

bool NextLine(std::string_view& text, std::string_view& line)
{
    if (text.empty()) return false;
    const std::size_t end = text.find('\n');
    line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

} // namespace vantoril::astro
