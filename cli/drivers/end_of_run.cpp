// SPDX-License-Identifier: MIT
#include "cli/drivers/end_of_run.h"

#include "astro/time/cautions.h"
#include "cli/io/exit_status.h"
#include "cli/io/messages.h"

namespace vantoril::cli {

int FinishRun(const Context& c, Output& out, const RunTally& tally, int errors, std::string_view failure)
{
    if (!out.Flush()) return OutputFailure(errors, out.error());
    if (!c.printer->CarriesCautions()) {
        for (unsigned bit = 1; bit <= astro::kLastCaution; bit <<= 1) {
            if ((tally.cautions & bit) == 0) continue;
            Complain(errors,
                     (bit == astro::kFoundEopUsed ? "note: " : "warning: ") + astro::CautionText(bit, c.scales));
        }
    }
    if (!failure.empty()) return AnswerFailure(errors, failure);
    return tally.anyFailed ? kExitFailed : kExitOk;
}

} // namespace vantoril::cli
