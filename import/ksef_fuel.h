#pragma once

#include <QString>

// Which invoice lines are motor fuel, and in what unit their quantity is: the rules the
// e-invoice import's screen and the command line share.
namespace ksef {

enum class FuelKind {
    Unknown, // nothing says what it is: counted as no fuel
    NotFuel, // surely no motor fuel: lubricating and motor oils, heating oil, AdBlue, services, fees
    Petrol,
    Diesel,
    Lpg,
    Cng, // natural gas, bought by the cubic metre
    Biodiesel,
};

inline bool isFuel(FuelKind kind)
{
    return kind >= FuelKind::Petrol;
}

// What a CN code says: the headings of motor petrol (2710 12 41-49), gas oil (2710 19 43-48,
// 2710 20 11-19), LPG (2711 12, 2711 13, 2711 19), natural gas (2711 11, 2711 21) and
// biodiesel (3826 00) are fuels; lubricating oils, kerosene, heavy fuel oil, urea (AdBlue),
// lubricants and antifreeze are not; any other code, or none, says nothing (Unknown). Blanks,
// dots and hyphens in the code are ignored.
FuelKind fuelOfCode(const QString& cn);

// What a name says ("ON", "olej napędowy", "diesel", "benzyna", "Pb95", "E95", "LPG",
// "autogaz", "gaz płynny", "CNG", "biodiesel"; "olej silnikowy", "AdBlue", "usługa" are no
// fuel); the fuels of the fuel table are named the same way.
FuelKind fuelOfName(const QString& name);

// A line's fuel: its CN code first, else its name. Heating oil shares gas oil's codes, so a
// name that says no fuel overrules a gas-oil code.
FuelKind fuelOfLine(const QString& cn, const QString& name);

// The unit a quantity is written in (P_8A).
enum class UnitKind { Unknown, Litre, CubicMetre, Kilogram };
UnitKind unitOf(const QString& unit);

// The unit a fuel is bought and settled in: natural gas by the cubic metre, the others by
// the litre.
inline UnitKind unitOfFuel(FuelKind kind)
{
    return kind == FuelKind::Cng ? UnitKind::CubicMetre : UnitKind::Litre;
}

// "l" or "m³".
QString unitSymbol(UnitKind unit);

} // namespace ksef
