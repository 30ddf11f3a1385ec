// SPDX-License-Identifier: MIT
#include "cli/drivers/info.h"

#include "astro/base/errors.h"
#include "astro/observer/data_paths.h"
#include "astro/observer/places.h"
#include "astro/time/zones.h"
#include "cli/io/exit_status.h"
#include "cli/io/file_text.h"
#include "cli/io/messages.h"
#include "cli/io/output.h"
#include "cli/options/completions.h"
#include "cli/options/context.h"
#include "cli/options/help.h"

#include <erfaextra.h>

#include <string>
#include <unistd.h>

#ifndef VANTORIL_VERSION
#define VANTORIL_VERSION "1.00"
#endif

namespace vantoril::cli {

namespace {

// The version, and the tables the iau2006 model would use.
bool VersionText(const Options& o, int errors, std::string& text)
{
    Context c;
    c.options = o;
    try {
        LoadTables(c, errors);
    } catch (const astro::InputError& e) {
        AnswerFailure(errors, std::string("--eop: ") + e.what());
        return false;
    }
    text.append("vantoril-lst " VANTORIL_VERSION " (ERFA ").append(eraVersion()).append(")\n");
    text.append("leap seconds: ").append(c.leap.description).append("\n");
    text.append("UT1-UTC (iau2006): ");
    if (c.eop) {
        text.append(c.eop->Describe()).append(c.scales.eopNamed ? "\n" : ", found\n");
    } else {
        text.append("none found; 0 unless --dut1 or --eop gives it\n");
    }
    for (const std::string& table : astro::PackagedEopTables()) {
        if (access(table.c_str(), R_OK) == 0)
            text.append("IERS table on this system, for --eop: ").append(table) += '\n';
    }
    return true;
}

std::string Names(std::string_view what)
{
    const std::vector<std::string> names =
        what == "tz" ? astro::ZoneNames()
                     : astro::PlaceNames(astro::PlacesFilePath(), astro::kZoneFolder, SystemFiles());
    std::string text;
    for (const std::string& name : names) text.append(name) += '\n';
    return text;
}

} // namespace

bool RunInfo(const Options& o, int output, int errors, int& status)
{
    if (!o.help && !o.version && !o.completion && !o.complete) return false;
    Output out(output);
    std::string version;
    // --version's tables are loaded (and their warnings given) even beside --help.
    if (o.version && !VersionText(o, errors, version)) {
        status = kExitFailed;
        return true;
    }
    if (o.help) {
        out.buffer() = HelpText();
    } else if (o.version) {
        out.buffer() = version;
    } else if (o.completion) {
        out.buffer() = CompletionScript(*o.completion);
    } else {
        out.buffer() = Names(*o.complete);
    }
    status = out.Flush() ? kExitOk : OutputFailure(errors, out.error());
    return true;
}

} // namespace vantoril::cli
