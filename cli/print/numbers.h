// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Numbers as the program writes them, by hand where a batch writes millions.

namespace vantoril::cli {

// 10^n for n from 0 to 10.
std::int64_t PowerOfTen(int n);

// n in decimal, zero-padded to `width` digits.
void AppendInt(std::string& out, std::int64_t n, int width = 0);

// The shortest decimal text that reads back as x.
void AppendShortest(std::string& out, double x);

// h:mm:ss with `decimals` decimals of the second, rounded, never 24:00:00;
// with `signedHours` a +/- sign and the range [-12 h, +12 h).
void AppendClock(std::string& out, double hours, int decimals, bool signedHours);
// The same written at p, which has kClockRoom chars; returns its end.
inline constexpr std::size_t kClockRoom = 32;
char* PutClock(char* p, double hours, int decimals, bool signedHours);

// An hour angle in [-12 h, +12 h) as the number shown beside its text: where
// the text rounds up to +12 h, which it shows as -12 h, the number is taken
// a turn back too, so that the two agree in sign.
double HourAngleAsShown(double hours, int decimals);

// Decimal hours with `decimals` places, reduced like AppendClock.
void AppendHours(std::string& out, double hours, int decimals, bool signedHours);

} // namespace vantoril::cli
