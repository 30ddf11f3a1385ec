// SPDX-License-Identifier: MIT
#pragma once

// Exit statuses, the same in every mode: every answer given; an answer could
// not be given (a calculation, a data file or a batch line failed, or the
// output could not be written); what was typed cannot be understood.

namespace vantoril::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

} // namespace vantoril::cli
