#pragma once

// The help topics of the import screens, by context number.
namespace import_help {

inline constexpr int taxpayerImport = 13;
inline constexpr int purchaseImport = 14;
inline constexpr int invoiceImport = 15;

} // namespace import_help

// Registers the help pages of the import screens with desktop::HelpSystem. Call once at start.
void registerImportHelp();
