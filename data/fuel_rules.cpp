#include "data/fuel_rules.h"

namespace data {

bool isDieselFuel(const QString& fuelName)
{
    return fuelName.contains(QStringLiteral("olej"), Qt::CaseInsensitive)
           || fuelName.contains(QStringLiteral("biodiesel"), Qt::CaseInsensitive);
}

QString wrongDieselFuelMessage(const QStringList& fuelNames)
{
    QStringList allowed;
    for (const QString& name : fuelNames)
        if (isDieselFuel(name) && !allowed.contains(name))
            allowed << name;
    QString choice;
    for (int i = 0; i < allowed.size(); ++i)
        choice += (i == 0 ? QString() : i == allowed.size() - 1 ? QStringLiteral(" lub ") : QStringLiteral(", ")) + allowed[i];
    return QStringLiteral("Błędny rodzaj paliwa.\rWybierz %1").arg(choice);
}

} // namespace data
