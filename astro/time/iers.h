// SPDX-License-Identifier: MIT
#pragma once

#include "astro/base/data_files.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// UT1 - UTC from the IERS Earth-orientation files: the rapid service's
// finals2000A.all / finals.all (fixed columns, Bulletin A values with their
// I/P flag) and the EOP C04 series (the 14-line-header form and the newer
// form with # comments and an hour column).

namespace vantoril::astro {

class EopTable {
public:
    // Reads the text of one of the files above. Throws InputError
    // "NAME line N: reason".
    static EopTable Read(std::string_view text, std::string name);
    // The same from the file at `path` (its name), read line by line rather
    // than whole: a 60-year table is several MB. False with errno's reason in
    // `error` when the file cannot be read (EFBIG past maxBytes).
    static bool ReadFile(const DataFiles& files, const std::string& path, std::size_t maxBytes, EopTable& table,
                         int& error);

    // UT1 - TAI in seconds at the UTC instant mjd (days, fraction included):
    // linear between the daily values, which are held as UT1 - TAI so that a
    // leap second between two of them is no jump. False outside the span.
    bool Ut1MinusTai(double mjd, double& seconds, bool& predicted) const;

    [[nodiscard]] const std::string& name() const { return name_; }
    // "FILE (FORMAT, YYYY-MM-DD to YYYY-MM-DD[, predicted from YYYY-MM-DD])"
    [[nodiscard]] std::string Describe() const;
    // "YYYY-MM-DD to YYYY-MM-DD"
    [[nodiscard]] std::string SpanText() const;

private:
    struct Parser;

    std::string name_;
    const char* format_ = "";
    long long firstMjd_ = 0;
    std::vector<double> ut1MinusTai_; // one a day from firstMjd_
    long long firstPredicted_ = -1;   // MJD of the first predicted value; -1 none
};

} // namespace vantoril::astro
