#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <QVariant>
#include <vector>

#include "data/period.h"
#include "text/money.h"

class Tdm_1;

namespace data {

struct Settlement;

// A line's fee, or none (an empty field) when it is beyond what money holds: the line still
// shows, and the settlement refuses to add it up.
QVariant feeOrNothing(double litres, const text::Money& kgPerLitre, double rate);

// The figures of one line of the statement (a vehicle type and fuel): tonnes as shown, the
// rate per tonne (null when the year has none) and the fee (money; null beyond what money
// holds).
struct StatementFigures {
    QVariant tonnes, rate, fee;
};

// The statement's figures by vehicle type and fuel; the first line of a type and fuel counts.
class StatementFigureMap {
public:
    void add(int vehicleType, int fuel, double litres, const text::Money& kgPerLitre, const QVariant& rate);
    // Summed from a settlement's lines (the purchases are not grouped a second time).
    static StatementFigureMap of(const Settlement& settlement);
    // A type and fuel without purchases in the period: no tonnes, and rate and fee 0.
    StatementFigures at(int vehicleType, int fuel) const;
    void clear() { lines_.clear(); }

private:
    QHash<QPair<int, int>, StatementFigures> lines_;
};

// A fuel of the statement with its figures, under its vehicle type.
struct StatementFuel {
    int fuel = 0;
    QString fuelName;
    StatementFigures figures;
};

// A vehicle type that has rates in the year, with every fuel it has a rate for.
struct StatementType {
    int vehicleType = 0;
    QString name;
    std::vector<StatementFuel> fuels;
};

// The statement of a taxpayer and period as values, read in the reports' snapshot: the vehicle
// types with rates in `year` and their fuels, each with the figures of the taxpayer's
// purchases, summed from `computed` when it is the settlement of that taxpayer and period,
// else read by the statement's own grouped query.
std::vector<StatementType> statementOf(Tdm_1& dm, const QString& taxpayer, int year, const Period& period,
                                       const Settlement* computed);

} // namespace data
