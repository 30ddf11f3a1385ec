// SPDX-License-Identifier: MIT
#include "cli/print/csv_field.h"

namespace vantoril::cli {

void AppendCsvField(std::string& out, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void AppendCsvError(std::string& out, std::string_view reason)
{
    out.append(kCsvColumnsBeforeError, ',');
    AppendCsvField(out, reason);
}

} // namespace vantoril::cli
