#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "import/ksef_fuel.h"
#include "import/ksef_invoice.h"

namespace data {
struct RegisterFuel;
struct RegisterVehicle;
}

// How an e-invoice's lines meet the register: each rule one function, shared by the import's
// screen and the command line.
namespace ksef {

// A NIP by its digits: blanks and hyphens go, and so does a "PL" prefix, so that
// "PL 123-456-32-18" and "1234563218" are one NIP.
QString nipKey(const QString& nip);

// A registration number as compared: without blanks and hyphens, in capitals.
QString registrationKey(const QString& registration);

// The registrations that a text names, among `known` (registration key → the index of the
// vehicle), each once, in the order they appear: a run of neighbouring words and numbers
// whose letters and digits spell a registration ("WA 12345", "wa-12345", "Nr rej.: WA12345").
QList<int> vehiclesIn(const QString& text, const QHash<QString, int>& known);

// The vehicles named for a line: in the DodatkowyOpis bound to it, else in its name.
QList<int> vehiclesOfLine(const Invoice& invoice, const InvoiceLine& line, const QHash<QString, int>& known);
// The vehicles named for the whole invoice: in its DodatkowyOpis bound to no line, and its footer.
QList<int> vehiclesOfInvoice(const Invoice& invoice, const QHash<QString, int>& known);

// The date the invoice gives a line's purchase, if it gives one: the line's P_6A, else P_6,
// else the last day of OkresFa.
QDate deliveryDate(const Invoice& invoice, const InvoiceLine& line);
// The purchase date of a delivered line: its delivery date, else the invoice's date P_1.
QDate purchaseDate(const Invoice& invoice, const InvoiceLine& line);

// Whether the vehicle was in use on the day, by the rule of purchases keyed on the purchase
// screen: from its first day of use to its last, both included.
bool inUseOn(const data::RegisterVehicle& vehicle, const QDate& day);

// The fuel (a number of the fuel table) under which a purchase of the line's fuel is stored
// for the vehicle, by the rules of keying purchases: a vehicle takes its own fuel (a line of
// natural gas the vehicle's own CNG fuel); a diesel vehicle also another fuel of the diesel
// family, the first in the table of the line's kind. 0 when the vehicle does not take it.
int fuelForVehicle(FuelKind line, const data::RegisterVehicle& vehicle, const std::vector<data::RegisterFuel>& fuels);

// Whether a quantity in the unit can be a quantity of the fuel: in the fuel's own unit, or in
// kilograms.
bool unitFits(UnitKind unit, FuelKind kind);

// The quantity in the fuel's own unit: as it is when written in that unit; kilograms through
// the fuel's kilograms per unit (ten-thousandths), to the millionth. nullopt for kilograms of
// a fuel without that factor.
std::optional<Millionths> inFuelUnit(Millionths quantity, UnitKind unit, qint64 kgPerUnit);

} // namespace ksef
