#pragma once

// The help topics of the settlement and reports, by context number.
namespace reports_help {

inline constexpr int settlement = 11;
inline constexpr int officeOverview = 2200;

} // namespace reports_help

// Registers the help pages of the settlement window and the office overview with desktop::HelpSystem. Call once at
// start.
void registerReportsHelp();
