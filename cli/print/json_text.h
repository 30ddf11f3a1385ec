// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace vantoril::cli {

// A JSON string of any bytes: those below 0x20 escaped, UTF-8 characters as
// they are, and any byte that is not part of one as U+FFFD.
void AppendJsonString(std::string& out, std::string_view s);

} // namespace vantoril::cli
