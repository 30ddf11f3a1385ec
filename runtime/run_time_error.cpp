// SPDX-License-Identifier: MIT
#include "runtime/run_time_error.h"

namespace vantoril {

namespace {

const char* DescriptionOf(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::TypeMismatch:
        return "Type mismatch";
    case ErrorKind::Overflow:
        return "Overflow";
    case ErrorKind::ArithmeticFault:
        return "Arithmetic fault: a value is too large to calculate with";
    }
    return "Unknown error";
}

} // namespace

RunTimeError::RunTimeError(ErrorKind kind) : std::runtime_error(TextOf(kind)), kind_(kind) {}

std::string RunTimeError::TextOf(ErrorKind kind)
{
    return "Run-time error '" + std::to_string(static_cast<int>(kind)) + "': " + DescriptionOf(kind);
}

} // namespace vantoril
