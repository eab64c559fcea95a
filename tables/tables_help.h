#pragma once

// The help topics of the reference-table screens, by context number.
namespace tables_help {

inline constexpr int fuelTypes = 4;
inline constexpr int vehicleTypes = 5;
inline constexpr int feeRates = 6;
inline constexpr int yearlyParameters = 7;

} // namespace tables_help

// Registers the help pages of the reference-table screens with desktop::HelpSystem.
void registerTablesHelp();
