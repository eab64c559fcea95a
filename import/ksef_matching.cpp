#include "import/ksef_matching.h"

#include <cmath>

#include "data/fuel_rules.h"
#include "data/invoice_storage.h"
#include "data/vehicle_use.h"

namespace ksef {

namespace {

// A registration holds at most ten characters, blanks and hyphens included.
constexpr int longestRegistration = 10;

void addOnce(QList<int>& list, const QList<int>& more)
{
    for (int v : more)
        if (!list.contains(v))
            list << v;
}

} // namespace

QString nipKey(const QString& nip)
{
    QString key;
    for (const QChar c : nip)
        if (!c.isSpace() && c != QLatin1Char('-'))
            key += c.toUpper();
    if (key.startsWith(QLatin1String("PL")))
        key.remove(0, 2);
    return key;
}

QString registrationKey(const QString& registration)
{
    QString key;
    for (const QChar c : registration)
        if (!c.isSpace() && c != QLatin1Char('-'))
            key += c.toUpper();
    return key;
}

QList<int> vehiclesIn(const QString& text, const QHash<QString, int>& known)
{
    QList<int> found;
    if (known.isEmpty())
        return found;
    QStringList words;
    QString word;
    for (const QChar c : text) {
        if (c.isLetterOrNumber()) {
            word += c.toUpper();
        } else if (!word.isEmpty()) {
            words << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        words << word;
    for (qsizetype i = 0; i < words.size(); ++i) {
        QString spelt;
        for (qsizetype j = i; j < words.size(); ++j) {
            spelt += words[j];
            if (spelt.size() > longestRegistration)
                break;
            const auto v = known.constFind(spelt);
            if (v != known.constEnd() && !found.contains(*v))
                found << *v;
        }
    }
    return found;
}

QList<int> vehiclesOfLine(const Invoice& invoice, const InvoiceLine& line, const QHash<QString, int>& known)
{
    QList<int> found;
    for (const InvoiceNote& note : invoice.notes)
        if (note.line == line.number)
            addOnce(found, vehiclesIn(note.key + QLatin1Char(' ') + note.value, known));
    if (found.isEmpty())
        found = vehiclesIn(line.name, known);
    return found;
}

QList<int> vehiclesOfInvoice(const Invoice& invoice, const QHash<QString, int>& known)
{
    QList<int> found;
    for (const InvoiceNote& note : invoice.notes)
        if (!note.line)
            addOnce(found, vehiclesIn(note.key + QLatin1Char(' ') + note.value, known));
    for (const QString& text : invoice.footer)
        addOnce(found, vehiclesIn(text, known));
    return found;
}

QDate deliveryDate(const Invoice& invoice, const InvoiceLine& line)
{
    if (line.date.isValid())
        return line.date;
    if (invoice.delivered.isValid())
        return invoice.delivered;
    return invoice.periodEnd;
}

QDate purchaseDate(const Invoice& invoice, const InvoiceLine& line)
{
    const QDate delivered = deliveryDate(invoice, line);
    return delivered.isValid() ? delivered : invoice.invoiceDate;
}

bool inUseOn(const data::RegisterVehicle& vehicle, const QDate& day)
{
    return data::daysForKeyedPurchases(vehicle.firstDay, vehicle.lastDay).contains(day);
}

int fuelForVehicle(FuelKind line, const data::RegisterVehicle& vehicle, const std::vector<data::RegisterFuel>& fuels)
{
    const data::RegisterFuel* own = nullptr;
    for (const data::RegisterFuel& f : fuels)
        if (f.number == vehicle.fuel)
            own = &f;
    if (!own)
        return 0;
    if (fuelOfName(own->name) == line)
        return own->number;
    if (!data::isDieselFuel(own->name) || (line != FuelKind::Diesel && line != FuelKind::Biodiesel))
        return 0;
    for (const data::RegisterFuel& f : fuels)
        if (data::isDieselFuel(f.name) && fuelOfName(f.name) == line)
            return f.number;
    return 0;
}

bool unitFits(UnitKind unit, FuelKind kind)
{
    return unit == UnitKind::Kilogram || (unit != UnitKind::Unknown && unit == unitOfFuel(kind));
}

std::optional<Millionths> inFuelUnit(Millionths quantity, UnitKind unit, qint64 kgPerUnit)
{
    if (unit != UnitKind::Kilogram)
        return quantity;
    if (kgPerUnit <= 0)
        return std::nullopt;
    return static_cast<Millionths>(std::llround(static_cast<long double>(quantity) * 10000 / kgPerUnit));
}

} // namespace ksef
