// SPDX-License-Identifier: MIT
#include "cli/options/failure.h"

#include "astro/base/errors.h"
#include "cli/io/messages.h"
#include "cli/options/options.h"
#include "runtime/run_time_error.h"

#include <exception>

namespace vantoril::cli {

int FailureStatus(int errors)
{
    try {
        throw;
    } catch (const UsageError& e) {
        return UsageFailure(errors, e.what());
    } catch (const astro::InputError& e) {
        return UsageFailure(errors, e.what());
    } catch (const astro::CalculationError& e) {
        return AnswerFailure(errors, e.what());
    } catch (const astro::MissingData& e) {
        return AnswerFailure(errors, e.what());
    } catch (const RunTimeError& e) {
        return AnswerFailure(errors, e.what());
    } catch (const std::exception& e) { // a library's own (a thread that cannot start): a message, not an abort
        return AnswerFailure(errors, e.what());
    }
}

} // namespace vantoril::cli
