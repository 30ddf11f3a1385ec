// LenientNumber on arbitrary bytes, read as 8-bit text and as UTF-16.
//
// Properties:
//  - the only error is RunTimeError(Overflow); any other exception escapes
//    and libFuzzer reports it;
//  - a result is never NaN;
//  - both entry points agree when every byte is taken as the code unit of
//    the same number;
//  - a code unit beyond ASCII ends the number: the text cut there reads the same;
//  - on a plain decimal text the value is strtod's in the "C" locale, and an
//    overflow happens exactly where strtod gives up with ERANGE and infinity.

#include "fuzz/fuzz_support.h"
#include "runtime/conversions.h"
#include "runtime/run_time_error.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

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
        return overflow == other.overflow && std::memcmp(&value, &other.value, sizeof value) == 0;
    }
};

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
    std::setlocale(LC_ALL, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const Reading narrow = Read(bytes);
    const std::u16string widened = vantoril::fuzz::WidenBytes(bytes);
    Check(Read(std::u16string_view(widened)) == narrow,
          "8-bit and UTF-16 entry points read the same text differently", bytes);

    const std::u16string units = vantoril::fuzz::Utf16Units(data, size);
    const std::u16string_view unitsView(units);
    const Reading wide = Read(unitsView);
    std::size_t cut = 0;
    while (cut < units.size() && units[cut] < 0x80) ++cut;
    if (cut < units.size()) {
        Check(Read(unitsView.substr(0, cut)) == wide, "a code unit beyond ASCII did not end the number", unitsView);
    }

    if (vantoril::fuzz::IsPlainDecimal(bytes)) {
        const std::string copy(bytes);
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
