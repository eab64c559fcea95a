#pragma once

// The help topic of the purchase screen, by context number.
namespace purchases_help {

inline constexpr int purchaseEntry = 10;

} // namespace purchases_help

// Registers the help page of the purchase screen with desktop::HelpSystem. Call once at start.
void registerPurchasesHelp();
