// SPDX-License-Identifier: MIT
#include "astro/observer/right_ascension.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/time/date_time.h"

namespace vantoril::astro {

RightAscension ParseRightAscension(std::string_view text)
{
    constexpr const char* kForm = "HH:MM[:SS[.s]], below 24 hours";
    Time t;
    try {
        t = ParseClock(text);
    } catch (const InputError&) {
        ThrowExpected("right ascension", text, kForm);
    }
    if (t.second >= 60) ThrowExpected("right ascension", text, kForm);
    return {text, t.hour + t.minute / 60.0 + t.second / 3600.0};
}

} // namespace vantoril::astro
