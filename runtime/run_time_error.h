// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

namespace vantoril {

// The three ways a procedure can fail. The numbers are the ones users of
// classic form runtimes know from their error boxes.
enum class ErrorKind {
    TypeMismatch = 13,
    Overflow = 6,
    ArithmeticFault = 16,
};

// Raised by a conversion or a calculation step that cannot go on; the window
// catches it at the end of the event procedure and reports what() to the user.
class RunTimeError : public std::runtime_error {
public:
    explicit RunTimeError(ErrorKind kind);

    [[nodiscard]] ErrorKind kind() const noexcept { return kind_; }
    [[nodiscard]] int number() const noexcept { return static_cast<int>(kind_); }

    // "Run-time error '13': Type mismatch" and the like.
    static std::string TextOf(ErrorKind kind);

private:
    ErrorKind kind_;
};

} // namespace vantoril
