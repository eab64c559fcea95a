#pragma once

#include <QDate>
#include <QString>

namespace data {

// A settlement period: the whole year from 2013 on, a half-year up to 2012.
struct Period {
    QDate start;
    QDate end;

    bool operator==(const Period&) const = default;
};

constexpr int lastYearOfHalfYears = 2012;

inline bool usesHalfYears(int year) { return year <= lastYearOfHalfYears; }
// The settlement period in words: "I półrocze 2012", "rok 2024".
QString periodName(int year, int part);

// half: 0 for the first half-year (1 January to 30 June), 1 for the second (1 July to
// 31 December); ignored from 2013 on.
Period settlementPeriod(int year, int half);

// How the years up to 2012 are divided: fees are settled by half-years, purchases are taken
// over from the ledgers by quarters. From 2013 on every period is the whole year.
enum class YearParts { HalfYears, Quarters };

// The period of a part of the year: 0 for the first half-year or quarter.
Period periodOfPart(YearParts parts, int year, int part);

// The part offered first in a month (1..12), the previous part while its statement is still
// due: the half-year II in January, I from February to July, II from August; the quarter IV
// in January, I from February to April, and so on.
int preselectedPart(YearParts parts, int month);

// A taxpayer and period as chosen on a screen or on the command line, passed as one value to
// the queries and the printouts.
struct PeriodChoice {
    QString taxpayer; // the short name; "" where nothing asks for a taxpayer
    int year = 0;
    int part = 0; // 0 for the first half-year or quarter; always 0 from 2013 on
    QDate start;
    QDate end;
    YearParts parts = YearParts::HalfYears;

    Period period() const { return {start, end}; }
    // "I półrocze 2012", "III kwartał 2012", "rok 2024".
    QString name() const;
    // The part as the forms print it ("I", "II", …); "" for a whole year.
    QString partNumeral() const;
    bool operator==(const PeriodChoice&) const = default;
};

// The choice with its period; a part is kept only for a year that has parts.
PeriodChoice periodChoice(YearParts parts, const QString& taxpayer, int year, int part);

} // namespace data
