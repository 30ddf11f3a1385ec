// SPDX-License-Identifier: MIT
#pragma once

#include "cli/options/options.h"

#include <string_view>

// One setter per option: reads its value (empty for a flag) into the
// options, or throws UsageError naming the option and the value.

namespace vantoril::cli::set {

void Model(Options& o, std::string_view v);
void Apparent(Options& o, std::string_view v);
void Dut1(Options& o, std::string_view v);
void Precision(Options& o, std::string_view v);
void Ra(Options& o, std::string_view v);
void Dec(Options& o, std::string_view v);
void Show(Options& o, std::string_view v);
void Format(Options& o, std::string_view v);
void Tz(Options& o, std::string_view v);
void Fold(Options& o, std::string_view v);
void Place(Options& o, std::string_view v);
void From(Options& o, std::string_view v);
void To(Options& o, std::string_view v);
void Step(Options& o, std::string_view v);
void Count(Options& o, std::string_view v);
void Watch(Options& o, std::string_view v);
void Batch(Options& o, std::string_view v);
void Transit(Options& o, std::string_view v);
void Lower(Options& o, std::string_view v);
void When(Options& o, std::string_view v);
void Eop(Options& o, std::string_view v);
void Help(Options& o, std::string_view v);
void Version(Options& o, std::string_view v);
void Completion(Options& o, std::string_view v);
void Complete(Options& o, std::string_view v);

} // namespace vantoril::cli::set
