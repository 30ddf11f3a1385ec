// SPDX-License-Identifier: MIT
#pragma once

#include "astro/observer/declination.h"
#include "astro/observer/right_ascension.h"
#include "astro/sidereal/models.h"
#include "astro/time/instant.h"
#include "cli/print/format.h"
#include "cli/print/settings.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

// vantoril-lst's options, as typed: each read into its value and checked on
// its own by its setter (setters.cpp); what they name (a zone, a place, a
// table) is found after parsing, in the context.

namespace vantoril::cli {

// An option or an argument that makes the command line itself wrong.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ModelName { Classic, Iau2006 };

// A step of a table in nanoseconds, and the fraction digits rows need to
// show it.
struct Duration {
    std::int64_t nanoseconds = 0;
    int decimals = 0;
};

struct Options {
    ModelName modelName = ModelName::Classic;
    bool modelGiven = false;
    bool apparent = false;
    std::optional<double> dut1; // UT1 - UTC in seconds
    int precision = -1;         // decimals of a second; -1: the model's default
    Format format = Format::Text;
    std::optional<astro::RightAscension> ra;
    // --show: every sidereal angle asked for, in order.
    std::vector<Quantity> show;
    // With --dec the right ascension (--ra, --transit, or a batch line's) is
    // a catalogue place's, ICRS; "-" takes both from each batch line.
    std::optional<astro::Declination> dec;
    bool decPerLine = false;
    bool batch = false;
    bool watch = false;
    bool help = false;
    bool version = false;
    // LONGITUDE [DATE [TIME]] of a single answer, the LONGITUDE of a table.
    std::optional<std::string_view> longitude, date, time;

    std::optional<std::string_view> tz; // --tz ZONE; UTC when absent
    astro::Fold fold = astro::Fold::Refuse;
    bool foldGiven = false;
    std::optional<std::string_view> place; // --place NAME, instead of LONGITUDE
    // A table: --from and --to as typed, --step and --count read.
    std::optional<std::string_view> from, to, stepText;
    std::optional<Duration> step;
    std::optional<std::int64_t> count;
    // The instants of a day when a right ascension culminates (--transit,
    // --lower) or a sidereal time comes (--when); in a batch "-" takes it
    // from each line.
    std::optional<astro::RightAscension> transit, when;
    bool targetPerLine = false;
    bool lower = false;
    // Where UT1 - UTC comes from: --eop FILE, "none", or (without --eop or
    // --dut1) a file found in the default places.
    std::optional<std::string_view> eop;
    // Shell completion: the script for a shell, or the names a value may take.
    std::optional<std::string_view> completion, complete;

    [[nodiscard]] bool SeeksInstants() const { return transit || when || targetPerLine; }
    [[nodiscard]] astro::Model Model() const
    {
        if (modelName == ModelName::Classic) return astro::Model::Classic;
        return apparent ? astro::Model::Iau2006Apparent : astro::Model::Iau2006Mean;
    }
    [[nodiscard]] int Decimals() const { return precision >= 0 ? precision : astro::InfoOf(Model()).decimals; }
};

} // namespace vantoril::cli
