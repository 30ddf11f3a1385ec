// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// --format csv: RFC 4180 rows of fixed columns, ended by CRLF; a column that
// does not apply to a row is empty.

namespace vantoril::cli {

inline constexpr std::string_view kCsvHeader =
    "utc,local,zone,place,longitude,longitude_deg,model,kind,dut1,lst,lst_hours,ra,ra_hours,hour_angle,"
    "hour_angle_hours,dut1_source,warning,error\r\n";
// The columns before `error`: a failed line leaves them empty.
inline constexpr int kCsvColumnsBeforeError = 17;

// A field, in double quotes (those inside doubled) when it holds a comma,
// a quote or a line break.
void AppendCsvField(std::string& out, std::string_view text);

// A row of `reason` alone in the error column, without the line end.
void AppendCsvError(std::string& out, std::string_view reason);

} // namespace vantoril::cli
