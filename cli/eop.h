// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// UT1 - UTC from the IERS Earth-orientation files: the rapid service's
// finals2000A.all / finals.all (fixed columns, Bulletin A values with their
// I/P flag) and the EOP C04 series (the 14-line-header form and the newer
// form with # comments and an hour column).

namespace vantoril::cli {

class EopTable {
public:
    // Reads the text of one of the files above. Throws InputError
    // "NAME line N: reason".
    static EopTable Read(std::string_view text, std::string name);
    // The same from the file at `path` (its name), read line by line rather
    // than whole: a 60-year table is several MB. False with errno's reason in
    // `error` when the file cannot be read (EFBIG past maxBytes).
    static bool ReadFile(const std::string& path, std::size_t maxBytes, EopTable& table, int& error);

    // UT1 - TAI in seconds at the UTC instant mjd (days, fraction included):
    // linear between the daily values, which are held as UT1 - TAI so that a
    // leap second between two of them is no jump. False outside the span.
    bool Ut1MinusTai(double mjd, double& seconds, bool& predicted) const;

    [[nodiscard]] const std::string& name() const { return name_; }
    // "FILE (FORMAT, YYYY-MM-DD to YYYY-MM-DD[, predicted from YYYY-MM-DD])"
    [[nodiscard]] std::string Describe() const;
    // "YYYY-MM-DD to YYYY-MM-DD"
    [[nodiscard]] std::string SpanText() const;

    bool named = true; // given with --eop, not found in the default places

private:
    struct Parser;

    std::string name_;
    const char* format_ = "";
    long long firstMjd_ = 0;
    std::vector<double> ut1MinusTai_; // one a day from firstMjd_
    long long firstPredicted_ = -1;   // MJD of the first predicted value; -1 none
};

// The default places, in the order searched: $XDG_DATA_HOME/vantoril-lst/
// (or ~/.local/share/vantoril-lst/) finals2000A.all, finals.all, eopc04.1962-now
// and eopc04_IAU2000.62-now: a table the user put there.
std::vector<std::string> DefaultEopPlaces();

// The tables Debian's astropy packages carry. They are snapshots frozen when
// the package was built, so they are never used unasked (they would change
// every script's numbers on a machine that merely has astropy): --version
// names them for --eop.
std::vector<std::string> PackagedEopTables();

} // namespace vantoril::cli
