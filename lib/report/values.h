#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace report {

// The number in a value of any numeric type the datasets hold (int, double, text::Money);
// nothing for null, text and dates.
std::optional<long double> numberOf(const QVariant& value);

// A value through a mask: numbers with a Delphi-style number mask ("###0.000;###0.000;#"),
// dates with a Qt date format; other values, and every value under an empty mask, as the
// program shows them by default (dates "dd-MM-yyyy"). A null value gives "".
QString formatValue(const QVariant& value, const QString& mask);

} // namespace report
