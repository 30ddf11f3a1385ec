// SPDX-License-Identifier: MIT
#include "astro/observer/right_ascension.h"

#include "astro/base/chars.h"
#include "astro/base/decimal.h"
#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/observer/sexagesimal.h"
#include "astro/time/date_time.h"

#include <array>

namespace vantoril::astro {

namespace {

bool IsLetter(char c, char letter) { return (c | 0x20) == letter; }

} // namespace

RightAscension ParseRightAscension(std::string_view text)
{
    const bool lettered = FindIf(text, [](char c) { return IsLetter(c, 'h'); }) < text.size();
    if (lettered || (!text.empty() && IsLetter(text.back(), 'd') && FindChar(text, ':') == text.size())) {
        double hours = 0;
        double degrees = 0;
        if (lettered ? ReadSexagesimal(text, {'h', 'm', 's'}, false, 24, hours)
                     : ReadPlainDecimal(text.substr(0, text.size() - 1), degrees) &&
                           !Beyond(text.substr(0, text.size() - 1), degrees, 360, true)) {
            return {text, lettered ? hours : degrees / 15};
        }
        ThrowExpected("right ascension", text, kRightAscensionForms);
    }
    Time t;
    try {
        t = ParseClock(text);
    } catch (const InputError&) {
        ThrowExpected("right ascension", text, kRightAscensionForms);
    }
    if (t.second >= 60) ThrowExpected("right ascension", text, kRightAscensionForms);
    return {text, t.hour + t.minute / 60.0 + t.second / 3600.0};
}

bool LooksLikeRightAscension(std::string_view field, bool alone)
{
    if (FindChar(field, ':') < field.size()) return true;
    if (field.empty() || !IsDigit(field.front())) return false;
    if (FindIf(field, [](char c) { return IsLetter(c, 'h'); }) < field.size()) return true;
    return !alone && IsLetter(field.back(), 'd') && FindIf(field.substr(0, field.size() - 1), [](char c) {
                                                        return !IsDigit(c) && c != '.';
                                                    }) == field.size() - 1;
}

} // namespace vantoril::astro
