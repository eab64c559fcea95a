#include "data/fee_arithmetic.h"

#include <cmath>

namespace data {

double roundTo(long double v, int places)
{
    double divisor = 1.0;
    for (int i = 0; i < places; ++i)
        divisor *= 10.0;
    const double factor = 1.0 / divisor; // the nearest double to 10^-places
    const long double q = v / static_cast<long double>(factor);
    const long double n = std::nearbyintl(q); // the default rounding mode: halves to even
    return static_cast<double>(n * static_cast<long double>(factor));
}

long double tonnes(double litres, text::Money kgPerLitre)
{
    const long double product = static_cast<long double>(kgPerLitre.units()) * static_cast<long double>(litres);
    return product / 10000000.0L;
}

text::Money lineFee(double litres, text::Money kgPerLitre, double ratePerTonne)
{
    const double unrounded = static_cast<double>(tonnes(litres, kgPerLitre) * static_cast<long double>(ratePerTonne));
    return text::Money::fromDouble(roundTo(unrounded, 2));
}

double tonnesShown(double litres, text::Money kgPerLitre)
{
    return roundTo(static_cast<double>(tonnes(litres, kgPerLitre)), 3);
}

text::Money roundedAmount(text::Money sumOfFees)
{
    return text::Money::fromDouble(roundTo(sumOfFees.toLongDouble(), 2));
}

text::Money exemptionThreshold(text::Money minimumWage, double percentage)
{
    return text::Money::fromDouble(minimumWage.toLongDouble() * (static_cast<long double>(percentage) / 100.0L));
}

} // namespace data
