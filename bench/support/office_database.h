#pragma once

#include <QString>

namespace fb {
class Connection;
class Transaction;
} // namespace fb

// The shapes of an office's database that the benchmarks measure, filled on the server in
// blocks rather than by a million round trips from the client.
namespace bench {

enum class OfficeShape {
    OneLargeTaxpayer,   // "FIRMA" with 40 vehicles and every purchase
    ManySmallTaxpayers, // 1 000 taxpayers "P0001".."P1000" with 5 vehicles each
    SmallOffice,        // 100 taxpayers "P0001".."P0100" with 3 vehicles each
};

struct Office {
    OfficeShape shape;
    int purchases = 0;
    int year = 2024;
    // Years of purchases ending with `year`, the purchases shared equally and keyed year by
    // year, as an office's database grows.
    int years = 1;

    int taxpayers() const
    {
        return shape == OfficeShape::OneLargeTaxpayer ? 1 : shape == OfficeShape::SmallOffice ? 100 : 1000;
    }
    int vehiclesPerTaxpayer() const
    {
        return shape == OfficeShape::OneLargeTaxpayer ? 40 : shape == OfficeShape::SmallOffice ? 3 : 5;
    }
    // The taxpayer whose statements the benchmark prints: the large one, or one in the middle.
    int measuredTaxpayer() const { return shape == OfficeShape::OneLargeTaxpayer ? 1 : taxpayers() / 2; }
    QString shortName(int taxpayer) const;
    QString description() const;
};

// Adds the office's taxpayers, vehicles (types 1..12, petrol or diesel) and purchases (spread
// over each year, every vehicle alike, some of them of another fuel), commits, and measures
// the indexes as the program does after an import.
void fillOffice(fb::Connection& connection, fb::Transaction& transaction, const Office& office);
// A new delivered database filled as the office, closed again: a server takes the file only
// when no engine of this process holds it.
QString officeDatabaseFile(const Office& office);

// Resident memory: the peak since the last reset, and a reset of that peak (Linux; 0 and
// nothing elsewhere). The reset also lowers what /usr/bin/time reports for the process;
// wholeRunPeakMemoryMiB is the peak of the whole run, resets or not.
double peakMemoryMiB();
void resetPeakMemory();
double wholeRunPeakMemoryMiB();

} // namespace bench
