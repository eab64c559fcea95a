#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "money.h"

namespace text {

// The process-wide formats. Every date and number that the program shows, parses or
// prints follows them.
struct Formats {
    QString shortDateFormat = QStringLiteral("dd-MM-yyyy"); // Qt date-format syntax
    QChar dateSeparator = QLatin1Char('-');
    QChar decimalSeparator = QLatin1Char(',');
    QChar thousandSeparator = QLatin1Char('.');
    QString currencySymbol = QStringLiteral("zł");
    int currencyDecimals = 2;
};

Formats& formats();

// Sets the program's settings: "dd-MM-yyyy", "-", ",", ".".
void applyProgramFormats();

// Dates -------------------------------------------------------------------------------
QString formatDate(const QDate& d); // "" for a null date
// Day, month, year in that order, separated by the date separator (also "." or "/"):
// "5-11-2004", "05-11-2004", "5-11-04" (two-digit years: 00..49 → 20xx, 50..99 → 19xx);
// or, when the first group has four digits, year, month, day: "2004-11-05". Surrounding
// blanks are ignored. nullopt for anything else or an impossible date.
std::optional<QDate> parseDate(const QString& s);
// "'2012-07-01'": the literal that SQL text takes, apostrophes included.
QString sqlDateLiteral(const QDate& d);

// Texts ------------------------------------------------------------------------------
// A text of several lines (a server's message) on one line of a log: every run of line
// breaks, with the blanks around it, becomes one blank.
QString oneLine(const QString& text);

// Numbers -----------------------------------------------------------------------------
// Number masks as the program's display and edit formats write them: "0" a digit that is
// always shown, "#" a digit shown when significant, "." the decimal point, "," anywhere in
// the integer part asks for thousands marks; text in quotes or other characters are copied.
// Up to three sections "positive;negative;zero". An existing zero section is used for zero,
// even when empty (then zero shows as ""). A negative section formats the absolute value; it
// gets a leading minus unless it has a "-" or "(" of its own, so that no negative value ever
// prints as a positive one. The value is first written with 15 significant digits and then
// rounded half away from zero to the places of the mask. Separators printed are those of
// formats(). An empty mask formats as formatGeneral.
QString formatFloat(const QString& mask, long double value);
QString formatFixed(long double v, int decimals = 2);  // "%f": "1234,50"
QString formatNumber(long double v, int decimals = 2); // "%n": "1.234,50"
QString formatGeneral(long double v);                  // "%g": up to 15 significant digits, "25", "0,125"
// "1234,5", "-3", "1.234,56", "  7 ": the decimal separator, thousands marks in groups of
// three, a leading sign. A "." with no decimal separator present is a thousands mark only
// where it makes groups of three ("1.500" = 1500); otherwise it is taken as the decimal
// point ("1.5" = 1,5). nullopt for anything else, including "".
std::optional<long double> parseFloat(const QString& s);

// Money -------------------------------------------------------------------------------
// "1.234,56 zł", "-0,50 zł": thousands marks, currencyDecimals places, a blank and the symbol.
QString formatMoney(const Money& m);

} // namespace text
