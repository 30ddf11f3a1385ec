// SPDX-License-Identifier: MIT
#include "cli/options/parse.h"

#include "astro/base/chars.h"
#include "astro/base/quoted.h"
#include "cli/options/option_table.h"

#include <string>

namespace vantoril::cli {

namespace {

// A negative longitude ("-79.85") is an argument, not an option.
bool IsArgument(std::string_view arg)
{
    const bool looksNumeric = arg.size() > 1 && arg[0] == '-' && (astro::IsDigit(arg[1]) || arg[1] == '.');
    return arg.empty() || arg[0] != '-' || arg == "-" || looksNumeric;
}

} // namespace

Options ParseOptions(std::span<const std::string_view> args)
{
    Options o;
    std::vector<std::string_view> positional;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnd || IsArgument(arg)) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
            continue;
        }
        const auto eq = arg.find('=');
        const std::string_view name = arg.substr(0, eq);
        const OptionEntry* entry = FindOption(name);
        if (entry == nullptr) throw UsageError("unknown option " + astro::Quoted(arg));
        const bool inlineValue = eq != std::string_view::npos;
        if (entry->kind == ValueKind::None) {
            if (inlineValue) throw UsageError(std::string(name) + " takes no value");
            entry->set(o, {});
        } else if (inlineValue) {
            entry->set(o, arg.substr(eq + 1));
        } else {
            if (i + 1 >= args.size()) throw UsageError(std::string(name) + " needs a value");
            entry->set(o, args[++i]);
        }
    }
    if (o.help || o.version || o.completion || o.complete) return o;
    CheckOptions(o, positional);
    return o;
}

} // namespace vantoril::cli
