#pragma once

// The help topics of the taxpayer and vehicle registers, by context number.
namespace registers_help {

inline constexpr int taxpayers = 8;
inline constexpr int vehicles = 9;

} // namespace registers_help

// Registers the help pages of the taxpayer and vehicle screens with desktop::HelpSystem.
// Call once at start.
void registerRegistersHelp();
