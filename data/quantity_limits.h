#pragma once

namespace data {

// What a real invoice never leaves: litres up to ten million on one invoice, and down to
// minus a hundred thousand for a correction; a litre weighs from nothing up to 10 kg. Beyond
// them a typing slip, or a ledger's garbage, would settle as a wrong fee, or as a sum the
// database cannot add up.
inline constexpr double fewestLitres = -100000.0;
inline constexpr double mostLitres = 10000000.0;
inline constexpr double heaviestLitre = 10.0;

inline bool plausibleLitres(double litres)
{
    return litres >= fewestLitres && litres <= mostLitres; // false for NaN too
}

} // namespace data
