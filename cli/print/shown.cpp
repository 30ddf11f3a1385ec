// SPDX-License-Identifier: MIT
#include "cli/print/shown.h"

#include "cli/print/numbers.h"

#include <cmath>

namespace vantoril::cli {

namespace {

// Steps per hour of what is shown, and of the hour angle.
double StepsPerHour(const PrintSettings& settings)
{
    const auto scale = static_cast<double>(PowerOfTen(settings.decimals));
    return settings.format == Format::Hours ? scale * 1e4 : scale * 3600;
}

} // namespace

Shown ShownOf(const PrintSettings& settings, const astro::SiderealAnswer& a)
{
    Shown shown;
    shown.lstHours = a.lstHours;
    const bool hours = settings.format == Format::Hours;
    if (!hours && settings.model == astro::Model::Classic) {
        shown.steps = astro::ClockSeconds(a.classicText.view());
        shown.stepHours = 1.0 / 3600;
        return shown;
    }
    const double perHour = StepsPerHour(settings);
    const auto scale = static_cast<double>(PowerOfTen(settings.decimals));
    const std::int64_t perDay = std::llround(24 * perHour);
    shown.steps = (hours ? std::llround(a.lstHours * perHour) : std::llround(a.lstHours * 3600.0 * scale)) % perDay;
    shown.stepHours = 1.0 / perHour;
    return shown;
}

double ShownHourAngle(const PrintSettings& settings, const Shown& shown, double raHours)
{
    const double perHour = StepsPerHour(settings);
    const double shownHours = static_cast<double>(shown.steps) * shown.stepHours;
    return astro::HourAngle(shownHours, static_cast<double>(std::llround(raHours * perHour)) / perHour);
}

} // namespace vantoril::cli
