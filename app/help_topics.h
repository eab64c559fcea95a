#pragma once

// The help context numbers of the program's windows.
namespace help_context {

inline constexpr int mainWindow = 1;
inline constexpr int databaseLocation = 2100;
inline constexpr int backup = 2101;

} // namespace help_context

// Registers the pages of the program's help with desktop::HelpSystem. Call once at start.
void registerHelpTopics();
