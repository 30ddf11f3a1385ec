// SPDX-License-Identifier: MIT
#pragma once

#include "cli/parsers.h"

#include <optional>
#include <span>
#include <string_view>

// The command line of vantoril-lst: its options, their values and its help.

namespace vantoril::cli {

class EopTable;

enum class Model { Classic, Iau2006 };
enum class Format { Text, Hours, Json, Csv };
// A civil time that does not exist or exists twice in the zone: refused, or
// read as the earlier or the later of its two UTC instants.
enum class Fold { Refuse, Earlier, Later };

struct Site;

struct Options {
    Model model = Model::Classic;
    bool apparent = false;
    double dut1 = 0;    // UT1 - UTC in seconds
    int precision = -1; // decimals of a second; -1: the model's default
    Format format = Format::Text;
    std::optional<RightAscension> ra;
    bool batch = false;
    bool watch = false;
    bool help = false;
    bool version = false;
    // LONGITUDE [DATE [TIME]] for a single result.
    std::optional<std::string_view> longitude, date, time;

    // Zones, places and tables, as given.
    std::optional<std::string_view> tz; // --tz ZONE; UTC when absent
    Fold fold = Fold::Refuse;
    std::optional<std::string_view> from, to, step, count; // a table
    std::optional<std::string_view> place;                 // --place NAME, instead of LONGITUDE
    // What the program found for them (the zone, the place); null for plain UTC.
    const Site* site = nullptr;
    // The instants of a day when a right ascension culminates (--transit,
    // --lower) or a sidereal time comes (--when); in a batch "-" takes it
    // from each line. Where UT1 - UTC comes from: --eop FILE, "none", or
    // (without --eop or --dut1) a file found in the default places.
    std::optional<RightAscension> transit, when;
    bool targetPerLine = false;
    bool lower = false;
    std::optional<std::string_view> eop;
    bool dut1Given = false;
    const EopTable* eopTable = nullptr; // loaded by RunProgram
    [[nodiscard]] bool SeeksInstants() const { return transit || when || targetPerLine; }

    [[nodiscard]] int Decimals() const { return precision >= 0 ? precision : (model == Model::Classic ? 0 : 3); }
};

// The arguments after the program name. Throws UsageError. The views point
// into args, which must outlive the result.
Options ParseOptions(std::span<const std::string_view> args);

// --dut1's value: seconds from -0.9 to 0.9 as 0.3, -.25, 5. or 3e-1, of any
// length, judged by their exact decimal value. Throws UsageError.
double ParseDut1(std::string_view text);

// The text of --help.
extern const std::string_view kHelp;

} // namespace vantoril::cli
