// SPDX-License-Identifier: MIT
#pragma once

#include "cli/options/options.h"

#include <span>
#include <string_view>

// Every option of vantoril-lst, once: parsing, --help and the shell
// completions are all made from this table.

namespace vantoril::cli {

// What an option's value is, for the completions.
enum class ValueKind {
    None,   // a flag
    Choice, // one of `choices`
    Zone,   // a zone of the tz database
    Place,  // a place of the places file or the tz tables
    File,   // a file name
    Text,   // anything else: an instant, a number, a right ascension
};

struct OptionEntry {
    std::string_view name;  // "--model"
    std::string_view alias; // another spelling ("-h"), or ""
    ValueKind kind;
    std::string_view choices; // blank-separated values of a Choice
    std::string_view summary; // one line, for the completions
    std::string_view help;    // its lines in --help; "" where another option's lines tell of it
    std::string_view file;    // where what it asks for is done
    bool hidden;              // left out of --help and the completions
    void (*set)(Options& o, std::string_view value);
};

// In the order --help lists them.
std::span<const OptionEntry> OptionTable();

// The option of that name or alias; null for none.
const OptionEntry* FindOption(std::string_view name);

} // namespace vantoril::cli
