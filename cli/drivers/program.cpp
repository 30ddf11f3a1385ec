// SPDX-License-Identifier: MIT
#include "cli/drivers/program.h"

#include "cli/drivers/batch.h"
#include "cli/drivers/day.h"
#include "cli/drivers/info.h"
#include "cli/drivers/single.h"
#include "cli/drivers/table.h"
#include "cli/drivers/watch.h"
#include "cli/io/messages.h"
#include "cli/options/context.h"
#include "cli/options/parse.h"

namespace vantoril::cli {

int RunProgram(std::span<const std::string_view> args, int input, int output, int errors)
{
    Options o;
    try {
        o = ParseOptions(args);
    } catch (const UsageError& e) {
        return UsageFailure(errors, e.what());
    }
    int status = 0;
    if (RunInfo(o, output, errors, status)) return status;
    const std::unique_ptr<Context> c = BuildContext(o, errors, status);
    if (!c) return status;
    if (o.from) return RunTable(*c, output, errors);
    if (o.batch) return RunBatch(*c, input, output, errors);
    if (o.SeeksInstants()) return RunDay(*c, output, errors);
    if (o.watch) return RunWatch(*c, output, errors);
    return RunSingle(*c, output, errors);
}

} // namespace vantoril::cli
