// SPDX-License-Identifier: MIT
#pragma once

#include "cli/print/printer.h"

#include <memory>

// The printers behind MakePrinter, one file each.

namespace vantoril::cli {

std::unique_ptr<Printer> MakeTextPrinter(const PrintSettings& settings);
std::unique_ptr<Printer> MakeHoursPrinter(const PrintSettings& settings);
std::unique_ptr<Printer> MakeJsonPrinter(const PrintSettings& settings);
std::unique_ptr<Printer> MakeCsvPrinter(const PrintSettings& settings);

} // namespace vantoril::cli
