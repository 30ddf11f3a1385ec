// SPDX-License-Identifier: MIT
#pragma once

namespace vantoril::cli {

// --format: sidereal time as h:mm:ss, as decimal hours, JSON Lines or CSV.
enum class Format { Text, Hours, Json, Csv };

} // namespace vantoril::cli
