#pragma once

#include <limits>

#include "text/money.h"

// The fee arithmetic works in the x87 80-bit extended format; a build whose long double is
// anything else would compute other fees, so it must not build at all.
static_assert(std::numeric_limits<long double>::digits == 64,
              "the fee arithmetic needs long double in the 80-bit extended format");

namespace data {

// Rounds to `places` decimals the way the fees are rounded: v ÷ (1 ÷ 10^places as the
// nearest double) in extended precision, to the nearest whole number (a half to the even
// one), times that factor, stored as a double.
double roundTo(long double v, int places);

// Tonnes of fuel: kilograms per litre as a whole number of ten-thousandths (F₄) times the
// litres, divided by 10 000 000, in extended precision and not rounded further.
long double tonnes(double litres, text::Money kgPerLitre);

// The fee of a settlement line: tonnes × rate per tonne in extended precision, stored as a
// double, rounded to the grosz.
text::Money lineFee(double litres, text::Money kgPerLitre, double ratePerTonne);

// Tonnes as shown: stored as a double, rounded to three places.
double tonnesShown(double litres, text::Money kgPerLitre);

// The amount to pay: the sum of the line fees rounded to the grosz by the same rule.
text::Money roundedAmount(text::Money sumOfFees);

// The exemption threshold: minimum wage × (percentage ÷ 100), in floating point, stored
// as money.
text::Money exemptionThreshold(text::Money minimumWage, double percentage);

} // namespace data
