#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "data/filing_rule.h"
#include "data/period.h"
#include "text/money.h"

class Tdm_1;

namespace data {

// The minimum wage and percentage of a year (both 0 when PARAM has no row for it).
struct YearParameters {
    text::Money minimumWage;
    double percentage = 0.0;
};

// Reads the PARAM row of the year through IBT_param, which is opened and closed again.
YearParameters yearParameters(Tdm_1& dm, int year);

struct SettlementLine {
    QString registration;
    int vehicleType = 0;
    int fuel = 0;
    QString vehicleTypeName;
    QString fuelName;
    double litres = 0.0;
    text::Money kgPerLitre;
    std::optional<double> rate; // none: no rate for the type, fuel and year
    text::Money fee;
};

struct Settlement {
    QString taxpayer;
    int year = 0;
    data::Period period;
    YearParameters parameters;
    text::Money amount;     // the rounded sum of the line fees
    text::Money threshold;  // minimum wage × percentage ÷ 100
    std::vector<SettlementLine> lines;

    bool withinThreshold() const { return amount <= threshold; }
    // What the firm files and pays for the year (none up to 2012).
    std::optional<Filing> filing() const { return data::filing(year, amount, threshold); }
    // Lines whose purchases found no rate and so count as zero.
    std::vector<const SettlementLine*> linesWithoutRate() const;
    // What a printout of this settlement must say when lines lack a rate: "Brak stawek dla:
    // WA 1 (rodzaj silnika, paliwo, rok 2024); …. Opłata na wydruku jest zaniżona."; empty
    // when every line has its rate.
    QString missingRatesWarning() const;
};

// A line of the statement: the purchases of one vehicle type and fuel in the period.
struct StatementGroup {
    int vehicleType = 0;
    int fuel = 0;
    double litres = 0.0;
    text::Money kgPerLitre;
    std::optional<double> rate;
};

// The settlement's lines summed per vehicle type and fuel, in that order. A group's litres are
// the sum of its vehicles' sums, added in the settlement's order of lines (registration, fuel);
// mass per litre and rate are those of the type, fuel and year, the same on each of its lines.
std::vector<StatementGroup> statementGroups(const Settlement& settlement);

// What becomes of IBQ_rozl after the settlement: closed, or left open for a window that shows
// its lines (a second opening would sum the purchases again).
enum class LinesAfterwards { Closed, Open };

// Chooses the taxpayer and period of IBQ_rozl (and the period of IBQ_rozl_d), runs it with
// its display links suspended, adds up the rounded fees of its lines exactly, rounds the sum
// and works out the threshold. Throws text::MoneyOverflow when a fee or the amount is beyond
// what money holds, rather than show a wrong amount; IBQ_rozl is then closed.
Settlement computeSettlement(Tdm_1& dm, const QString& taxpayer, int year, const data::Period& period,
                             const YearParameters& parameters, LinesAfterwards afterwards = LinesAfterwards::Closed);

} // namespace data
