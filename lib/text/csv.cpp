#include "text/csv.h"

#include <QDir>
#include <QSaveFile>

#include "text/write_failure.h"

#include "text/formats.h"

namespace text {

QString roundedNumber(double v, int decimals, QChar decimalMark)
{
    return formatFloat(decimals == 3 ? QStringLiteral("0.000") : QStringLiteral("0.00"), v)
        .replace(formats().decimalSeparator, decimalMark);
}

namespace {

// A field as CSV writes it: quoted where a semicolon, quote or line break needs it.
QString quoted(const QString& s)
{
    if (!s.contains(QLatin1Char(';')) && !s.contains(QLatin1Char('"')) && !s.contains(QLatin1Char('\n'))
        && !s.contains(QLatin1Char('\r')))
        return s;
    return QLatin1Char('"') + QString(s).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// Spreadsheets run a cell as a formula when it begins with one of these, also after blanks
// (a tab or a carriage return at the start is taken as a way to hide one).
bool looksLikeFormula(const QString& s)
{
    static const QString starts = QStringLiteral("=+-@");
    for (const QChar c : s) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r'))
            return true;
        if (c != QLatin1Char(' '))
            return starts.contains(c);
    }
    return false;
}

// The longest text a spreadsheet takes inside a formula.
constexpr qsizetype longestFormulaText = 255;

// A cell a spreadsheet shows as the text itself: a formula whose value is the text, ="...",
// every quote of the text doubled inside it, so that nothing of the text is ever read as a
// formula of its own. A text too long for a formula gets an apostrophe before it, which
// leaves it text too.
QString asText(const QString& s)
{
    if (s.size() > longestFormulaText)
        return quoted(QLatin1Char('\'') + s);
    return quoted(QStringLiteral("=\"%1\"").arg(QString(s).replace(QStringLiteral("\""), QStringLiteral("\"\""))));
}

} // namespace

CsvLines& CsvLines::text(const QString& s)
{
    fields_ << (looksLikeFormula(s) ? asText(s) : quoted(s));
    return *this;
}

CsvLines& CsvLines::code(const QString& s)
{
    // Kept as it is (leading zeros, no exponent), as text.
    if (s.isEmpty())
        return empty();
    fields_ << asText(s);
    return *this;
}

CsvLines& CsvLines::number(double v, int decimals)
{
    fields_ << roundedNumber(v, decimals, QLatin1Char(','));
    return *this;
}

CsvLines& CsvLines::money(const Money& m, int decimals)
{
    fields_ << m.toDecimalString(decimals).replace(QLatin1Char('.'), QLatin1Char(','));
    return *this;
}

CsvLines& CsvLines::integer(qint64 v)
{
    fields_ << QString::number(v);
    return *this;
}

CsvLines& CsvLines::date(const QDate& d)
{
    fields_ << (d.isValid() ? d.toString(Qt::ISODate) : QString());
    return *this;
}

CsvLines& CsvLines::empty()
{
    fields_ << QString();
    return *this;
}

CsvLines& CsvLines::endLine()
{
    lines_ << fields_.join(QLatin1Char(';'));
    fields_.clear();
    return *this;
}

QString CsvLines::toString() const
{
    QString all;
    for (const QString& line : lines_)
        all += line + QStringLiteral("\r\n");
    return all;
}

bool writeCsvFile(const QString& fileName, const QString& lines, QString* error)
{
    QSaveFile file(fileName);
    // The byte-order mark tells spreadsheets the file is UTF-8.
    const QByteArray bytes = "\xEF\xBB\xBF" + lines.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("Nie można zapisać pliku %1.\n%2").arg(QDir::toNativeSeparators(fileName), writeFailureReason(file, fileName));
        return false;
    }
    return true;
}

} // namespace text
