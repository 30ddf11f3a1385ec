// SPDX-License-Identifier: MIT
// LenientNumber on arbitrary bytes, read as 8-bit text and as UTF-16.
//
// Properties:
//  - the only error is RunTimeError(Overflow); any other exception escapes
//    and libFuzzer reports it;
//  - a result is never NaN;
//  - both entry points agree when every byte is taken as the code unit of
//    the same number;
//  - a character that can be neither part of a number nor a blank (space,
//    tab, line feed) ends the number, so the text cut there reads the same;
//    this covers every code unit beyond ASCII;
//  - on a plain decimal text the value is strtod's in the "C" locale, and an
//    overflow happens exactly where strtod gives up with ERANGE and infinity,
//    whatever LC_NUMERIC the program runs with.

#include "fuzz/fuzz_support.h"
#include "runtime/conversions.h"
#include "runtime/run_time_error.h"

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

using vantoril::ErrorKind;
using vantoril::LenientNumber;
using vantoril::RunTimeError;
using vantoril::fuzz::Check;

struct Reading {
    bool overflow = false;
    double value = 0;

    bool operator==(const Reading& other) const
    {
        // Bitwise, so -0 and 0 count as different readings.
        return overflow == other.overflow &&
               std::bit_cast<std::uint64_t>(value) == std::bit_cast<std::uint64_t>(other.value);
    }
};

// Digits, signs, point, exponent, the &H / &O prefixes with their digits, blanks.
bool MayBelongToNumber(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F') || c == u'+' || c == u'-' ||
           c == u'.' || c == u'&' || c == u'H' || c == u'h' || c == u'O' || c == u'o' || c == u' ' || c == u'\t' ||
           c == u'\n';
}

// Length of the leading run of characters that MayBelongToNumber.
template <class Text>
std::size_t NumberAlphabetPrefix(Text text)
{
    using Unit = std::make_unsigned_t<typename Text::value_type>;
    std::size_t cut = 0;
    while (cut < text.size() && MayBelongToNumber(static_cast<char16_t>(static_cast<Unit>(text[cut])))) ++cut;
    return cut;
}

template <class Text>
Reading Read(Text text)
{
    Reading r;
    try {
        r.value = LenientNumber(text);
    } catch (const RunTimeError& e) {
        Check(e.kind() == ErrorKind::Overflow, "LenientNumber raised an error other than Overflow", text);
        r.overflow = true;
        return r;
    }
    Check(!std::isnan(r.value), "LenientNumber returned NaN", text);
    return r;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    vantoril::fuzz::UseDecimalCommaLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const Reading narrow = Read(bytes);
    const std::size_t byteCut = NumberAlphabetPrefix(bytes);
    if (byteCut < bytes.size()) {
        Check(Read(bytes.substr(0, byteCut)) == narrow,
              "a character outside the number alphabet did not end the number", bytes);
    }
    const std::u16string widened = vantoril::fuzz::WidenBytes(bytes);
    Check(Read(std::u16string_view(widened)) == narrow, "8-bit and UTF-16 entry points read the same text differently",
          bytes);

    const std::u16string units = vantoril::fuzz::Utf16Units(data, size);
    const std::u16string_view unitsView(units);
    const Reading wide = Read(unitsView);
    const std::size_t unitCut = NumberAlphabetPrefix(unitsView);
    if (unitCut < units.size()) {
        Check(Read(unitsView.substr(0, unitCut)) == wide,
              "a character outside the number alphabet did not end the number", unitsView);
    }

    if (vantoril::fuzz::IsPlainDecimal(bytes)) {
        const std::string copy(bytes);
        const vantoril::fuzz::CNumbers cNumbers;
        errno = 0;
        const double expected = std::strtod(copy.c_str(), nullptr);
        const bool strtodOverflow = errno == ERANGE && std::isinf(expected);
        Check(narrow.overflow == strtodOverflow, "Overflow where strtod has none, or the other way round", bytes);
        if (!narrow.overflow) {
            Check(narrow == Reading{false, expected}, "value differs from strtod", bytes);
        }
    }
    return 0;
}
