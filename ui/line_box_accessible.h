// SPDX-License-Identifier: MIT
#pragma once

namespace vantoril {

// Gives every line box of the program an accessible interface that reports
// its text as one run of attributes. Qt's own reports a run of no length at
// each offset, and a screen reader that joins the runs dropped the last
// character ("200" for 2002). A read-only box offers reading and selecting
// only: no editable state, no way to set its text. Installed once; later
// calls do nothing.
void InstallLineBoxAccessibility();

} // namespace vantoril
