// SPDX-License-Identifier: MIT
#include "cli/io/messages.h"

#include "cli/io/exit_status.h"
#include "cli/io/output.h"

#include <cstring>
#include <string>

namespace vantoril::cli {

void Complain(int errors, std::string_view message)
{
    std::string line("vantoril-lst: ");
    line.append(message).append("\n");
    WriteAll(errors, line);
}

int UsageFailure(int errors, std::string_view message)
{
    Complain(errors, message);
    WriteAll(errors, "Try 'vantoril-lst --help' for more information.\n");
    return kExitUsage;
}

int AnswerFailure(int errors, std::string_view message)
{
    Complain(errors, message);
    return kExitFailed;
}

int OutputFailure(int errors, int error)
{
    Complain(errors, std::string("cannot write the output: ") + std::strerror(error));
    return kExitFailed;
}

} // namespace vantoril::cli
