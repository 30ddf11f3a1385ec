// SPDX-License-Identifier: MIT
// vantoril-lst: local sidereal time from the command line.
//
// No setlocale() call on purpose: the program stays in the "C" locale, so
// numbers read and written here never depend on the user's LC_NUMERIC, and
// the texts handed to the window's conversions are read as the window reads
// its boxes.
#include "cli/drivers/program.h"

#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return vantoril::cli::RunProgram(args, 0, 1, 2);
}
