#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include "text/money.h"

namespace text {

// Lines for a spreadsheet, as a Polish office opens them: fields separated by semicolons,
// decimal commas, no thousands marks, CR LF; the file is UTF-8 with a byte-order mark.
// Numbers are rounded as the program's screens round them.
class CsvLines {
public:
    // Quoted where a semicolon, quote or line break needs it. A text that a spreadsheet
    // would run as a formula (one beginning with =, +, -, @, a tab or a carriage return) is
    // written as code() writes it, so that it shows as the text it is.
    CsvLines& text(const QString& s);
    CsvLines& code(const QString& s);         // a NIP, an invoice number: kept as text (="..."), never a number
    CsvLines& number(double v, int decimals); // "1234,57"
    CsvLines& money(const Money& m, int decimals = 2); // "1234,57"; a mass per litre with 4: "0,8400"
    CsvLines& integer(qint64 v);
    CsvLines& date(const QDate& d);           // "2024-03-01", which every spreadsheet reads as a date
    CsvLines& empty();
    // Ends the line being built (an empty line when nothing was added).
    CsvLines& endLine();

    QString toString() const;

private:
    QStringList fields_;
    QStringList lines_;
};

// A number rounded as the screens show it (masks "0.00", "0.000"), with the given decimal mark.
QString roundedNumber(double v, int decimals, QChar decimalMark);

// Writes the lines to the file whole or not at all; false, with the reason in Polish, when it
// cannot be written.
bool writeCsvFile(const QString& fileName, const QString& lines, QString* error);

} // namespace text
