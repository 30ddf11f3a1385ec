// SPDX-License-Identifier: MIT
#include "cli/leap_seconds.h"

#include "cli/file_text.h"
#include "cli/parsers.h"

#include <erfa.h>
#include <erfaextra.h>
#include <erfam.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vantoril::cli {

namespace {

constexpr long long kNtpDay = 86400;
constexpr long long kNtpMjd = 15020; // MJD of 1900-01-01, where NTP seconds begin
constexpr const char* kSystemTable = "/usr/share/zoneinfo/leap-seconds.list";

std::uint32_t RotateLeft(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string_view NextField(std::string_view& s)
{
    s = Trim(s);
    std::size_t end = 0;
    while (end < s.size() && s[end] != ' ' && s[end] != '\t') ++end;
    const std::string_view field = s.substr(0, end);
    s.remove_prefix(end);
    return field;
}

// A whole number of at most 12 digits; false for anything else.
bool ReadCount(std::string_view digits, long long& value)
{
    if (digits.empty() || digits.size() > 12) return false;
    value = 0;
    for (const char c : digits) {
        if (!IsDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

struct CivilDay {
    int year = 0, month = 0, day = 0;
};

CivilDay DayOfMjd(long long mjd)
{
    CivilDay d;
    double fraction = 0;
    eraJd2cal(ERFA_DJM0, static_cast<double>(mjd), &d.year, &d.month, &d.day, &fraction);
    return d;
}

std::string DayText(const CivilDay& d)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d", d.year, d.month, d.day);
    return text.data();
}

[[noreturn]] void Refuse(std::string_view name, std::size_t line, const std::string& reason)
{
    std::string message(name);
    if (line > 0) message += " line " + std::to_string(line);
    throw InputError(message + ": " + reason);
}

// ERFA keeps the pointer it is given: the table lives as long as the program.
std::vector<eraLEAPSECOND>& InstalledSteps()
{
    static std::vector<eraLEAPSECOND> steps;
    return steps;
}

LeapTableInUse& InUse()
{
    static LeapTableInUse table;
    return table;
}

std::string LastStepText(const eraLEAPSECOND& last)
{
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "TAI-UTC %g s since %04d-%02d-01", last.delat, last.iyear, last.month);
    return text.data();
}

} // namespace

std::string Sha1Hex(std::string_view bytes)
{
    std::array<std::uint32_t, 5> h = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    std::string message(bytes);
    const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
    message += '\x80';
    while (message.size() % 64 != 56) message += '\0';
    for (int i = 7; i >= 0; --i) message += static_cast<char>((bits >> (8 * i)) & 0xFF);
    for (std::size_t block = 0; block < message.size(); block += 64) {
        std::array<std::uint32_t, 80> w{};
        for (std::size_t i = 0; i < 16; ++i) {
            for (std::size_t b = 0; b < 4; ++b) {
                w[i] = (w[i] << 8) | static_cast<unsigned char>(message[block + 4 * i + b]);
            }
        }
        for (std::size_t i = 16; i < 80; ++i) w[i] = RotateLeft(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
        std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
        for (std::size_t i = 0; i < 80; ++i) {
            std::uint32_t f = 0;
            std::uint32_t k = 0;
            if (i < 20) {
                f = (b & c) | (~b & d);
                k = 0x5A827999;
            } else if (i < 40) {
                f = b ^ c ^ d;
                k = 0x6ED9EBA1;
            } else if (i < 60) {
                f = (b & c) | (b & d) | (c & d);
                k = 0x8F1BBCDC;
            } else {
                f = b ^ c ^ d;
                k = 0xCA62C1D6;
            }
            const std::uint32_t next = RotateLeft(a, 5) + f + e + k + w[i];
            e = d;
            d = c;
            c = RotateLeft(b, 30);
            b = a;
            a = next;
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
        h[4] += e;
    }
    std::string hex;
    for (const std::uint32_t word : h) {
        std::array<char, 9> part{};
        std::snprintf(part.data(), part.size(), "%08x", static_cast<unsigned>(word));
        hex += part.data();
    }
    return hex;
}

LeapSecondsList ReadLeapSecondsList(std::string_view text, std::string_view name)
{
    LeapSecondsList list;
    // The IERS hash covers the digits of the #$ and #@ values and of each
    // step's first two fields, in file order, without blanks or comments.
    std::string hashed;
    std::string statedHash;
    std::size_t hashLine = 0;
    long long previousNtp = -1;
    std::string_view line;
    std::size_t number = 0;
    while (NextLine(text, line)) {
        ++number;
        if (line.size() >= 2 && line[0] == '#' && (line[1] == '$' || line[1] == '@' || line[1] == 'h')) {
            std::string_view rest = line.substr(2);
            if (line[1] == 'h') {
                hashLine = number;
                // Words of up to 8 digits; some published files drop leading zeros.
                for (std::string_view word = NextField(rest); !word.empty(); word = NextField(rest)) {
                    if (word.size() > 8 || word.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
                        Refuse(name, number, "the #h line holds no hash");
                    }
                    std::array<char, 9> padded{};
                    std::snprintf(padded.data(), padded.size(), "%08lx",
                                  std::strtoul(std::string(word).c_str(), nullptr, 16));
                    statedHash += padded.data();
                }
                continue;
            }
            long long value = 0;
            const std::string_view field = NextField(rest);
            if (!ReadCount(field, value) || !Trim(rest).empty()) {
                Refuse(name, number, std::string("expected NTP seconds after #") + line[1]);
            }
            (line[1] == '$' ? list.updated : list.expires) = value;
            hashed.append(field);
            continue;
        }
        std::string_view data = line.substr(0, line.find('#'));
        if (Trim(data).empty()) continue;
        long long ntp = 0;
        long long dtai = 0;
        const std::string_view ntpText = NextField(data);
        const std::string_view dtaiText = NextField(data);
        if (!ReadCount(ntpText, ntp) || !ReadCount(dtaiText, dtai) || !Trim(data).empty()) {
            Refuse(name, number, "expected NTP-SECONDS TAI-UTC [# comment], found " + Quoted(line));
        }
        hashed.append(ntpText).append(dtaiText);
        const CivilDay day = DayOfMjd(ntp / kNtpDay + kNtpMjd);
        if (ntp % kNtpDay != 0 || day.day != 1) Refuse(name, number, "a step must begin at 0h on the 1st of a month");
        if (ntp <= previousNtp) Refuse(name, number, "the steps must follow each other in time");
        if (!list.steps.empty() && static_cast<double>(dtai) == list.steps.back().taiMinusUtc) {
            Refuse(name, number, "TAI-UTC does not change at this step");
        }
        previousNtp = ntp;
        list.steps.push_back({day.year, day.month, static_cast<double>(dtai)});
    }
    if (list.steps.empty()) Refuse(name, 0, "no leap-second steps");
    if (list.expires == 0) Refuse(name, 0, "no expiry date (#@ line)");
    if (list.expires <= previousNtp) Refuse(name, 0, "it expires before its last step");
    if (hashLine > 0 && statedHash != Sha1Hex(hashed)) {
        Refuse(name, hashLine, "the hash does not match the file's contents (changed or damaged)");
    }
    return list;
}

std::string InstallLeapSeconds()
{
    // Back to ERFA's own table first: a test runs the program more than once.
    eraSetLeapSeconds(nullptr, 0);
    eraLEAPSECOND* builtin = nullptr;
    const int builtinCount = eraGetLeapSeconds(&builtin);
    const std::vector<eraLEAPSECOND> own(builtin, builtin + std::max(builtinCount, 0));
    LeapTableInUse& inUse = InUse();
    inUse = {};
    inUse.description = "ERFA's own";
    if (!own.empty()) inUse.description += " (" + LastStepText(own.back()) + ", no expiry date)";

    const char* chosen = std::getenv("VANTORIL_LEAP_SECONDS");
    const std::string path = chosen != nullptr ? chosen : kSystemTable;
    if (path.empty()) return {};
    std::string text;
    int error = 0;
    if (!ReadFileText(path, 1 << 20, text, error)) {
        // No tzdata is an ordinary system; a file there that cannot be read is not.
        if (error == ENOENT && chosen == nullptr) return {};
        return "leap-second table " + Quoted(path) + ": " + std::strerror(error) + "; ERFA's own table is used";
    }
    LeapSecondsList list;
    try {
        list = ReadLeapSecondsList(text, path);
    } catch (const InputError& e) {
        return std::string("leap-second table ") + e.what() + "; ERFA's own table is used";
    }
    const LeapStep& last = list.steps.back();
    if (!own.empty() && last.year * 12 + last.month < own.back().iyear * 12 + own.back().month) {
        inUse.description += ", newer than " + path;
        return {};
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
    const long long expiresMjd = list.expires / kNtpDay + kNtpMjd;
    inUse.expiresMjd = static_cast<double>(expiresMjd);
    inUse.expiresText = DayText(DayOfMjd(expiresMjd));
    inUse.description = path + " (" + LastStepText(steps.back()) + ", expires " + inUse.expiresText + ")";
    return {};
}

const LeapTableInUse& LeapTable() { return InUse(); }

} // namespace vantoril::cli
