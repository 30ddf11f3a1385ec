// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace vantoril::cli {

// The text of --help: the usage, the option table's lines, the examples.
std::string HelpText();

} // namespace vantoril::cli
