#pragma once

#include <QDate>

namespace data {

// A settlement period: the whole year from 2013 on, a half-year up to 2012.
struct Period {
    QDate start;
    QDate end;
};

constexpr int lastYearOfHalfYears = 2012;

inline bool usesHalfYears(int year) { return year <= lastYearOfHalfYears; }

// half: 0 for the first half-year (1 January to 30 June), 1 for the second (1 July to
// 31 December); ignored from 2013 on.
Period settlementPeriod(int year, int half);

} // namespace data
