// SPDX-License-Identifier: MIT
#pragma once

// One exit-status contract for every mode: called in a catch block, it says
// the failure being handled and returns its status. What was typed cannot be
// understood (UsageError, the core's InputError): the usage status; an answer
// could not be given (CalculationError, MissingData, RunTimeError, or any
// other exception): the failure status.

namespace vantoril::cli {

int FailureStatus(int errors);

} // namespace vantoril::cli
