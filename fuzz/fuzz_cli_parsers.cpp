// SPDX-License-Identifier: MIT
// vantoril-lst's readers on arbitrary bytes: as command-line arguments, and
// as a batch on standard input through the whole program, in UTC and in
// zones with gaps and overlaps, as text, JSON and CSV.
//
// Properties:
//  - arguments are accepted or refused with UsageError, nothing else escapes;
//  - a batch gives exactly one output line per input line (CSV: after its
//    header), every line ended by a newline, an error
//    line for each failure, and exit status 1 exactly when there is one; no
//    control character in it;
//  - under a decimal-comma locale, as the program never depends on one.

#include "cli/drivers/program.h"
#include "cli/options/parse.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

using vantoril::fuzz::Check;

void FuzzOptions(std::string_view bytes)
{
    // NUL-separated arguments.
    std::vector<std::string_view> args;
    while (!bytes.empty()) {
        const auto end = std::min(bytes.find('\0'), bytes.size());
        args.push_back(bytes.substr(0, end));
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
    }
    try {
        (void)vantoril::cli::ParseOptions(args);
    } catch (const vantoril::cli::UsageError&) {
        // Refusing the arguments is an answer like any other: only a crash
        // or another exception is a finding.
        return;
    }
}

int MemoryFile(std::string_view text)
{
    const int fd = memfd_create("fuzz", 0);
    Check(fd >= 0, "memfd_create", text);
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        Check(n > 0, "write to memory file", text);
        done += static_cast<std::size_t>(n);
    }
    ::lseek(fd, 0, SEEK_SET);
    return fd;
}

void FuzzBatch(std::string_view input, unsigned variant)
{
    static const std::vector<std::vector<std::string_view>> kCommands = {
        {"--batch"},
        {"--batch", "--model", "iau2006", "--format", "json", "--dut1", "-0.3"},
        {"--batch", "--model", "iau2006", "--apparent", "--format", "hours", "--ra", "12:00:00", "--precision", "6"},
        {"--batch", "--tz", "Europe/Paris", "--format", "csv", "--ra", "5:35"},
        {"--batch", "--tz", "America/Santiago", "--fold", "later", "--model", "iau2006", "--format", "json"},
        {"--batch", "--model", "iau2006", "--dec", "-", "--format", "csv", "--show", "eqeq,era"},
    };
    const auto& command = kCommands[variant % kCommands.size()];
    const bool csv = std::find(command.begin(), command.end(), "csv") != command.end();
    const int in = MemoryFile(input);
    const int out = MemoryFile({});
    const int err = MemoryFile({});
    const int status = vantoril::cli::RunProgram(command, in, out, err);

    std::string output;
    ::lseek(out, 0, SEEK_SET);
    char buf[4096];
    for (ssize_t n; (n = ::read(out, buf, sizeof buf)) > 0;) output.append(buf, static_cast<std::size_t>(n));
    for (const int fd : {in, out, err}) ::close(fd);

    // A byte-order mark opening the input is no text of its own.
    const std::string_view text = input.substr(input.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
    const auto inputLines = std::count(text.begin(), text.end(), '\n') + (text.empty() || text.back() == '\n' ? 0 : 1);
    Check(std::count(output.begin(), output.end(), '\n') == inputLines + (csv ? 1 : 0),
          "one output line per input line", input);
    Check(output.empty() || output.back() == '\n', "output ends with a newline", input);
    // CSV's rows end in CR LF; messages echo what was typed as printable
    // characters, UTF-8 included, never a control character.
    Check(std::all_of(output.begin(), output.end(),
                      [csv](char c) {
                          const auto u = static_cast<unsigned char>(c);
                          return c == '\n' || (csv && c == '\r') || (u >= 0x20 && u != 0x7f);
                      }),
          "output has no control characters", input);
    // A CSV row that failed has only its last column, error, filled in (a
    // blank line's row has none).
    bool csvError = false;
    const std::string_view header = std::string_view(output).substr(0, output.find('\n'));
    const std::string empties(static_cast<std::size_t>(std::count(header.begin(), header.end(), ',')), ',');
    for (std::size_t at = output.find('\n'); csv && at != std::string::npos; at = output.find('\n', at + 1)) {
        const std::string_view row = std::string_view(output).substr(at + 1);
        if (row.substr(0, empties.size()) == empties && row.size() > empties.size() && row[empties.size()] != '\r')
            csvError = true;
    }
    const bool anyError = output.rfind("error: ", 0) == 0 || output.find("\nerror: ") != std::string::npos ||
                          output.find("{\"error\":") != std::string::npos || csvError;
    Check(status == (anyError ? 1 : 0), "exit status 1 exactly when a line failed", input);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    vantoril::fuzz::UseDecimalCommaLocale();
    // No IERS table the machine may have: reading one per input would be
    // most of each run, and it would change no property checked here.
    setenv("VANTORIL_LST_EOP", "none", 1);
    // No places file of the machine's either: --place reads the tz tables.
    setenv("XDG_CONFIG_HOME", "/nonexistent", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 7 == 0) {
        FuzzOptions(bytes);
    } else {
        FuzzBatch(bytes, data[0] % 7 - 1U);
    }
    return 0;
}
