// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace vantoril::cli {

// A JSON string of any bytes; those below 0x20 escaped. The caller's texts
// are ASCII (the readers' messages quote every other byte).
void AppendJsonString(std::string& out, std::string_view s);

} // namespace vantoril::cli
