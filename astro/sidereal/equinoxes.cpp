// SPDX-License-Identifier: MIT
#include "astro/sidereal/equinoxes.h"

#include <erfa.h>
#include <erfam.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace vantoril::astro {

namespace {

constexpr double kNodesPerDay = 24;
constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::min();

// The hourly nodes met lately, by their hour from J2000 TT.
class Nodes {
public:
    double At(std::int64_t hour)
    {
        const auto slot = static_cast<std::size_t>(hour & 7);
        if (index_[slot] != hour) {
            value_[slot] = eraEe06a(ERFA_DJ00, static_cast<double>(hour) / kNodesPerDay);
            index_[slot] = hour;
        }
        return value_[slot];
    }

    std::int64_t last = kNone; // the hour of the instant asked for before
    bool following = false;    // and whether it was interpolated

private:
    std::array<std::int64_t, 8> index_ = {kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};
    std::array<double, 8> value_{};
};

} // namespace

bool EquationOfEquinoxes(double jd0, double tt, double& radians)
{
    thread_local Nodes nodes;
    const double hours = ((jd0 - ERFA_DJ00) + tt) * kNodesPerDay;
    const double floor = std::floor(hours);
    const auto hour = static_cast<std::int64_t>(floor);
    // Nodes pay only where several instants fall in an hour: a second one in
    // the same hour begins a run, which goes on into the next hour.
    const bool near = hour == nodes.last || (nodes.following && hour == nodes.last + 1);
    nodes.last = hour;
    nodes.following = near;
    if (!near) return false;
    const double u = hours - floor;
    // Lagrange's cubic through the nodes at -1, 0, 1 and 2 hours.
    const double a = nodes.At(hour - 1);
    const double b = nodes.At(hour);
    const double c = nodes.At(hour + 1);
    const double d = nodes.At(hour + 2);
    radians = (-a * u * (u - 1) * (u - 2) + d * (u + 1) * u * (u - 1)) / 6 +
              (b * (u + 1) * (u - 1) * (u - 2) - c * (u + 1) * u * (u - 2)) / 2;
    return true;
}

} // namespace vantoril::astro
