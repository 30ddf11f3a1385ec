// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QValidator>

namespace vantoril {

// The text a box shows, in the characters the number reader knows: invisible
// format characters (soft hyphen, zero-width space and joiners, direction
// marks, byte order mark) and carriage returns go, the no-break spaces become
// plain blanks, and decimal digits of any script (full-width ones included)
// become ASCII digits. Everything else stays as it is.
[[nodiscard]] QString AsShown(const QString& text);

// Brings whatever enters a digit box by paste, drop or middle click to what
// it shows before the box's change procedure reads it; typed keys are
// digits already and pass unchanged. Never rejects: the box takes any text.
class ShownTextValidator final : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;
};

} // namespace vantoril
