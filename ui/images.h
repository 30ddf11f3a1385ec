// SPDX-License-Identifier: MIT
#pragma once

class QCursor;
class QIcon;

namespace vantoril {

// The clock face at 32, 48 and 64 pixels, so high-density title bars
// pick a sharp one.
QIcon ClockIcon();

// The open hand shown over the credits line; hotspot at the index fingertip.
QCursor HandCursor(double devicePixelRatio);

} // namespace vantoril
