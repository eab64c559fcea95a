#pragma once

#include <QString>
#include <QStringList>

namespace data {

// The diesel family: the fuels that a diesel vehicle may burn ("olej napędowy", its
// low-sulphur kind, biodiesel). A diesel vehicle's purchase may take any of them; any other
// vehicle's purchase takes the vehicle's own fuel.
bool isDieselFuel(const QString& fuelName);

// The message for a fuel outside the diesel family chosen for a diesel vehicle, naming the
// fuels of that family among `fuelNames` (the fuel table): "Błędny rodzaj paliwa.\rWybierz
// olej napędowy lub biodiesel".
QString wrongDieselFuelMessage(const QStringList& fuelNames);

} // namespace data
