// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>

// The ways a question to the astronomy core fails, told apart so that the
// program can say whether what was typed was wrong or only unanswerable.

namespace vantoril::astro {

// Text that is not in a form the core reads, or a field of it beyond its
// range (a month 13, a longitude past 180 degrees). what() names the value
// and the form expected, ready to print after the option's name or
// "error: ".
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A question understood but without an answer: an instant outside the years
// a model takes or the span of an IERS table, a leap second on a day that
// has none, a civil time the clocks skip.
class CalculationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Data the system should hold and does not (no tz database): what() names
// the folder and the package that installs it.
class MissingData : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vantoril::astro
