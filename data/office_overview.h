#pragma once

#include <QString>
#include <vector>

#include "data/period.h"
#include "data/settlement.h"
#include "text/money.h"

class Tdm_1;

// The office's period at a glance: every taxpayer's fee, threshold and missing rates, from one
// grouped query rather than one settlement per taxpayer.
namespace data {

struct OverviewRow {
    int number = 0;
    QString shortName;
    QString nip;
    QString fullName;
    int vehicles = 0;     // vehicles with purchases in the period
    double litres = 0;    // the litres of the settlement lines, added up
    double tonnes = 0;    // the lines' tonnes as shown (three places), added up
    text::Money amount;   // exactly the settlement's amount: the rounded sum of the rounded line fees
    bool amountOutOfRange = false; // a fee or the amount beyond what money holds: no amount
    int linesWithoutRate = 0;

    bool bought() const { return vehicles > 0; }
};

struct Overview {
    int year = 0;
    Period period;
    YearParameters parameters;
    text::Money threshold;
    std::vector<OverviewRow> rows; // every taxpayer, by number

    // The settlement's rule: the amount is paid when it is above the threshold.
    bool withinThreshold(const OverviewRow& row) const { return !row.amountOutOfRange && row.amount <= threshold; }
    // "poniżej progu" or "do zapłaty".
    QString status(const OverviewRow& row) const;
    // What the taxpayer files and pays for the year (none up to 2012); an amount beyond what
    // money holds is above the threshold.
    std::optional<Filing> filing(const OverviewRow& row) const
    {
        return data::filing(year, row.amountOutOfRange ? std::nullopt : std::optional(row.amount), threshold);
    }
    // The row as the settlement of its taxpayer and period, without its lines: what the
    // printed statements read of it. Throws text::MoneyOverflow for an amount out of range.
    Settlement settlementOf(const OverviewRow& row) const;
    int vehicles() const;
    double litres() const;
    double tonnes() const;
    // The amounts added up; throws text::MoneyOverflow when one is out of range or the sum is.
    text::Money amount() const;
    int linesWithoutRate() const;
};

// The query behind the overview's figures: a row per settlement line of the office (taxpayer
// number, vehicle, litres of a purchased fuel, its litre mass and rate), by taxpayer number,
// vehicle and fuel. Parameters :dpocz and :dkon.
QString overviewSql();
// Every taxpayer, by number: the rows the lines are merged into.
QString overviewTaxpayersSql();

// Every taxpayer's settlement of the period, with the year's parameters, read in the module's
// report snapshot: the one a run of printouts holds, or one of its own.
Overview computeOverview(Tdm_1& dm, int year, const Period& period, const YearParameters& parameters);

} // namespace data
