// SPDX-License-Identifier: MIT
#include "astro/time/leap_seconds.h"

#include "astro/base/chars.h"
#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/time/calendar.h"

#include <erfa.h>
#include <erfaextra.h>
#include <nettle/sha1.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vantoril::astro {

namespace {

constexpr long long kNtpDay = 86400;
constexpr long long kNtpMjd = 15020; // MJD of 1900-01-01, where NTP seconds begin

// A whole number of at most 12 digits; false for anything else.
bool ReadCount(std::string_view digits, long long& value)
{
    if (digits.size() > 12 || !AllDigits(digits)) return false;
    value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    return true;
}

[[noreturn]] void Refuse(std::string_view name, std::size_t line, const std::string& reason)
{
    std::string message(name);
    if (line > 0) message += " line " + std::to_string(line);
    throw InputError(message + ": " + reason);
}

std::atomic<unsigned> generation{0};

// ERFA keeps the pointer it is given: the table lives as long as the program.
std::vector<eraLEAPSECOND>& InstalledSteps()
{
    static std::vector<eraLEAPSECOND> steps;
    return steps;
}

std::string LastStepText(const eraLEAPSECOND& last)
{
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "TAI-UTC %g s since %04d-%02d-01", last.delat, last.iyear, last.month);
    return text.data();
}

// The list read line by line. The IERS hash covers the digits of the #$ and
// #@ values and of each step's first two fields, in file order, without
// blanks or comments.
class ListReader {
public:
    explicit ListReader(std::string_view name) : name_(name) {}

    void Line(std::string_view line)
    {
        ++number_;
        if (line.size() >= 2 && line[0] == '#' && line[1] == 'h') return HashLine(line.substr(2));
        if (line.size() >= 2 && line[0] == '#' && (line[1] == '$' || line[1] == '@')) return Stamp(line);
        std::string_view data = line.substr(0, line.find('#'));
        if (Trim(data).empty()) return;
        long long ntp = 0;
        long long dtai = 0;
        const std::string_view ntpText = NextField(data);
        const std::string_view dtaiText = NextField(data);
        if (!ReadCount(ntpText, ntp) || !ReadCount(dtaiText, dtai) || !Trim(data).empty()) {
            Refuse(name_, number_, "expected NTP-SECONDS TAI-UTC [# comment], found " + Quoted(line));
        }
        hashed_.append(ntpText).append(dtaiText);
        const CalendarDate day = DateOfMjd(ntp / kNtpDay + kNtpMjd);
        if (ntp % kNtpDay != 0 || day.day != 1) Refuse(name_, number_, "a step must begin at 0h on the 1st of a month");
        if (ntp <= previousNtp_) Refuse(name_, number_, "the steps must follow each other in time");
        if (!list_.steps.empty() && static_cast<double>(dtai) == list_.steps.back().taiMinusUtc) {
            Refuse(name_, number_, "TAI-UTC does not change at this step");
        }
        previousNtp_ = ntp;
        list_.steps.push_back({static_cast<int>(day.year), day.month, static_cast<double>(dtai)});
    }

    LeapSecondsList Finish()
    {
        if (list_.steps.empty()) Refuse(name_, 0, "no leap-second steps");
        if (list_.expires == 0) Refuse(name_, 0, "no expiry date (#@ line)");
        if (list_.expires <= previousNtp_) Refuse(name_, 0, "it expires before its last step");
        // Without its hash an edited table (one step more or less, a second
        // off) could not be told from the published one.
        if (hashLine_ == 0) Refuse(name_, 0, "no #h line: without its hash the table cannot be checked");
        if (statedHash_ != Sha1Hex(hashed_)) {
            Refuse(name_, hashLine_, "the hash does not match the file's contents (changed or damaged)");
        }
        return std::move(list_);
    }

private:
    // Words of up to 8 digits; some published files drop leading zeros.
    void HashLine(std::string_view rest)
    {
        hashLine_ = number_;
        for (std::string_view word = NextField(rest); !word.empty(); word = NextField(rest)) {
            if (word.size() > 8 || word.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
                Refuse(name_, number_, "the #h line holds no hash");
            }
            std::array<char, 9> padded{};
            std::snprintf(padded.data(), padded.size(), "%08lx", std::strtoul(std::string(word).c_str(), nullptr, 16));
            statedHash_ += padded.data();
        }
    }

    void Stamp(std::string_view line)
    {
        std::string_view rest = line.substr(2);
        long long value = 0;
        const std::string_view field = NextField(rest);
        if (!ReadCount(field, value) || !Trim(rest).empty()) {
            Refuse(name_, number_, std::string("expected NTP seconds after #") + line[1]);
        }
        (line[1] == '$' ? list_.updated : list_.expires) = value;
        hashed_.append(field);
    }

    std::string_view name_;
    std::size_t number_ = 0;
    LeapSecondsList list_;
    std::string hashed_;
    std::string statedHash_;
    std::size_t hashLine_ = 0;
    long long previousNtp_ = -1;
};

} // namespace

std::string Sha1Hex(std::string_view bytes)
{
    sha1_ctx context{};
    sha1_init(&context);
    sha1_update(&context, bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()));
    std::array<std::uint8_t, SHA1_DIGEST_SIZE> digest{};
    sha1_digest(&context, digest.size(), digest.data());
    std::string hex;
    for (const std::uint8_t byte : digest) {
        hex += "0123456789abcdef"[byte >> 4];
        hex += "0123456789abcdef"[byte & 15];
    }
    return hex;
}

LeapSecondsList ReadLeapSecondsList(std::string_view text, std::string_view name)
{
    ListReader reader(name);
    std::string_view line;
    while (NextLine(text, line)) reader.Line(line);
    return reader.Finish();
}

LeapTableInUse InstallLeapSeconds(const std::string& path, bool chosen, const DataFiles& files, std::string& warning)
{
    // Back to ERFA's own table first: a test runs the program more than once.
    eraSetLeapSeconds(nullptr, 0);
    ++generation;
    eraLEAPSECOND* builtin = nullptr;
    const int builtinCount = eraGetLeapSeconds(&builtin);
    const std::vector<eraLEAPSECOND> own(builtin, builtin + std::max(builtinCount, 0));
    LeapTableInUse inUse;
    inUse.description = "ERFA's own";
    if (!own.empty()) inUse.description += " (" + LastStepText(own.back()) + ", no expiry date)";
    if (path.empty()) return inUse;
    std::string text;
    int error = 0;
    if (!files.ReadText(path, 1 << 20, text, error)) {
        if (error != ENOENT || chosen) {
            warning = "leap-second table " + Quoted(path) + ": " + std::strerror(error) + "; ERFA's own table is used";
        }
        return inUse;
    }
    LeapSecondsList list;
    try {
        list = ReadLeapSecondsList(text, path);
    } catch (const InputError& e) {
        warning = std::string("leap-second table ") + e.what() + "; ERFA's own table is used";
        return inUse;
    }
    const LeapStep& last = list.steps.back();
    if (!own.empty() && last.year * 12 + last.month < own.back().iyear * 12 + own.back().month) {
        inUse.description += ", newer than " + path;
        return inUse;
    }
    // ERFA corrects the rate of UTC before 1972 by the position of the step
    // in its table: its own steps up to then come first, unchanged.
    std::vector<eraLEAPSECOND>& steps = InstalledSteps();
    steps.clear();
    for (const eraLEAPSECOND& s : own) {
        if (s.iyear < 1972) steps.push_back(s);
    }
    for (const LeapStep& s : list.steps) {
        if (s.year >= 1972) steps.push_back({s.year, s.month, s.taiMinusUtc});
    }
    eraSetLeapSeconds(steps.data(), static_cast<int>(steps.size()));
    ++generation;
    const long long expiresMjd = list.expires / kNtpDay + kNtpMjd;
    inUse.expiresMjd = static_cast<double>(expiresMjd);
    inUse.expiresText = IsoDateOfMjd(expiresMjd);
    inUse.description = path + " (" + LastStepText(steps.back()) + ", expires " + inUse.expiresText + ")";
    return inUse;
}

unsigned LeapTableGeneration() { return generation.load(std::memory_order_relaxed); }

} // namespace vantoril::astro
