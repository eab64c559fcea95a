#pragma once

// The help topics of the settlement and reports, by context number.
namespace reports_help {

inline constexpr int settlement = 11;

} // namespace reports_help

// Registers the help page of the settlement window with desktop::HelpSystem. Call once at
// start.
void registerReportsHelp();
