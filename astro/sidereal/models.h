// SPDX-License-Identifier: MIT
#pragma once

#include "astro/sidereal/classic.h"
#include "astro/sidereal/iau2006.h"
#include "astro/sidereal/query.h"
#include "astro/time/time_scales.h"

#include <optional>
#include <string_view>

// The sidereal models, in one table: what each is called, how finely its
// results are shown unless asked otherwise, and what it needs.

namespace vantoril::astro {

enum class Model { Classic, Iau2006Mean, Iau2006Apparent };

struct ModelInfo {
    std::string_view name; // "classic", "iau2006"
    std::string_view kind; // "mean" or "apparent" for iau2006; empty for classic
    int decimals;          // of a second, by default
    bool timeScales;       // needs leap seconds and UT1 (the classic model reads UT as given)
};

const ModelInfo& InfoOf(Model model);

// A model's answer for one query.
struct SiderealAnswer {
    double lstHours = 0;
    ClassicText classicText; // the classic model's h:m:s, as the window shows it
    Ut1Detail ut1;           // iau2006: where UT1 - UTC came from, and the cautions
    // With a catalogue place: its apparent hour angle, hours in [-12, +12).
    std::optional<double> catalogueHourAngle;
    // Every sidereal angle of the instant, when asked for (iau2006.h).
    std::optional<SiderealSet> set;
};

// Throws as the model does: CalculationError, and RunTimeError from the
// classic model's arithmetic.
SiderealAnswer Evaluate(Model model, const Query& q, const TimeScaleContext& context);

// Hour angle of a right ascension in hours, reduced into [-12, +12).
double HourAngle(double lstHours, double raHours);

// The answer's hour angle of the query's right ascension: of a catalogue
// place, or the sidereal time less a right ascension of date; 0 without one.
double HourAngleOf(const Query& q, const SiderealAnswer& a);

// The answer's cautions for the end of a run: its own, and the note that
// UT1 - UTC came from a table found in the default places, not named.
unsigned RunCautions(const SiderealAnswer& answer, const TimeScaleContext& context);

} // namespace vantoril::astro
