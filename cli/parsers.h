// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// Readers for what vantoril-lst is given: longitudes, dates, times, right
// ascensions, options and batch lines. Each keeps the texts of the pieces it
// found (views into its input) beside their values. Numbers are read as plain
// decimals, correctly rounded: exactly the values the window's LenientNumber
// gives for the same texts.

namespace vantoril::cli {

// A value that is not in a form the program accepts. what() names the value
// and the form expected, ready to print after "error: ".
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The value of a few digits already checked to be digits.
int SmallNumber(std::string_view digits);

// An option or an argument that makes the command line itself wrong.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// YYYY-MM-DD, the year four digits or more. The day may pass its month's
// end (2002-02-30); it counts on into the next month.
struct Date {
    std::string_view yearText, monthText, dayText;
    long long year = 0; // -1 when the year has more digits than fit
    int month = 0;
    int day = 0;
};

// HH:MM:SS or HH:MM:SS.fff (hour and minute may have one digit); second 60
// is read, for the leap seconds of UTC.
struct Time {
    std::string_view hourText, minuteText, secondText;
    int hour = 0;
    int minute = 0;
    double second = 0;
};

// Degrees, arc minutes and arc seconds as written, and the hemisphere.
struct Longitude {
    std::string_view text;                                  // the whole of it
    std::string_view degreesText, minutesText, secondsText; // empty when not given
    double degrees = 0, minutes = 0, seconds = 0;           // their values, 0 when not given
    bool west = false;
    double east = 0; // signed degrees, east positive
};

// Right ascension in hours from HH:MM:SS[.s].
struct RightAscension {
    std::string_view text;
    double hours = 0;
};

Date ParseDate(std::string_view text);
Time ParseTime(std::string_view text);
// ParseTime's forms and HH:MM, the minute's first second (secondText "00").
Time ParseClock(std::string_view text);
// 79d51m0sW, 79:51:00W, "79 51 0 W", -79.85, 79.85W (decimal: east positive
// unless signed or lettered); at most 180 degrees, parts below 60.
Longitude ParseLongitude(std::string_view text);
RightAscension ParseRightAscension(std::string_view text);

// Whole-text decimal reader for digits with at most one point and no sign;
// nullopt for anything else. The value is the correctly rounded one, as
// strtod gives it.
std::optional<double> PlainDecimal(std::string_view text);
// The same for at most 15 digits in all, without
// calling the library; nullopt beyond that too.
std::optional<double> FastDecimal(std::string_view text);

// A decimal number read exactly, for limits that must hold for the number
// written and not only for the double it rounds to: its magnitude is
// 0.digits x 10^exponent (digits without leading or trailing zeros, empty for
// zero); value is the correctly rounded double.
struct ExactDecimal {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
    double value = 0;
};
// [sign] digits [. [digits]] or [sign] . digits, of any length; with
// `scientific` also [sign] and an exponent e or E [sign] digits after it.
// nullopt for anything else.
std::optional<ExactDecimal> ReadExactDecimal(std::string_view text, bool scientific);
// -1, 0 or 1 as |a| is below, equal to or above |b|.
int CompareMagnitude(const ExactDecimal& a, const ExactDecimal& b);

// One line of a batch, split into its fields. A blank line or a # comment
// has no fields.
struct BatchLine {
    bool empty = true;
    std::string_view date, time, longitude, ra; // ra (and with a place, longitude) empty when absent
};
// Throws InputError when the line has data but not DATE TIME LONGITUDE [RA]
// (the date and time may be one ISO 8601 field, the time then empty). With
// `longitudeOptional` (a place is given) the longitude may be left out, and
// a last field with colons is always the right ascension.
BatchLine SplitBatchLine(std::string_view line, bool longitudeOptional = false);

// A value made safe to echo in a message: printable ASCII kept, every other
// byte as \xNN, cut after a few dozen characters.
std::string Quoted(std::string_view value);

} // namespace vantoril::cli
