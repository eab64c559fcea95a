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

CsvLines& CsvLines::text(const QString& s)
{
    if (!s.contains(QLatin1Char(';')) && !s.contains(QLatin1Char('"')) && !s.contains(QLatin1Char('\n'))
        && !s.contains(QLatin1Char('\r')))
        fields_ << s;
    else
        fields_ << QLatin1Char('"') + QString(s).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + QLatin1Char('"');
    return *this;
}

CsvLines& CsvLines::code(const QString& s)
{
    // A formula giving the text: spreadsheets keep it as it is (leading zeros, no exponent).
    if (s.isEmpty())
        return empty();
    fields_ << QStringLiteral("\"=\"\"%1\"\"\"").arg(QString(s).replace(QStringLiteral("\""), QStringLiteral("\"\"\"\"")));
    return *this;
}

CsvLines& CsvLines::number(double v, int decimals)
{
    fields_ << roundedNumber(v, decimals, QLatin1Char(','));
    return *this;
}

CsvLines& CsvLines::money(const Money& m)
{
    fields_ << m.toDecimalString(2).replace(QLatin1Char('.'), QLatin1Char(','));
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
