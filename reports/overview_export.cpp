#include "reports/overview_export.h"

#include <QStringList>

#include "text/formats.h"

namespace reports {

namespace {

struct Style {
    QChar separator;
    QChar decimalMark;
    QString lineEnd;
};

Style styleOf(OverviewFormat f)
{
    return f == OverviewFormat::Tsv ? Style{QLatin1Char('\t'), QLatin1Char('.'), QStringLiteral("\n")}
                                    : Style{QLatin1Char(';'), QLatin1Char(','), QStringLiteral("\r\n")};
}

// As the program's masks round (the grid's "#,##0.00"), without thousands marks.
QString number(double v, int decimals, QChar mark)
{
    return text::formatFloat(decimals == 3 ? QStringLiteral("0.000") : QStringLiteral("0.00"), v)
        .replace(text::formats().decimalSeparator, mark);
}

QString money(const text::Money& m, QChar mark)
{
    return m.toDecimalString(2).replace(QLatin1Char('.'), mark);
}

QString csvText(const QString& s)
{
    if (!s.contains(QLatin1Char(';')) && !s.contains(QLatin1Char('"')) && !s.contains(QLatin1Char('\n')))
        return s;
    return QLatin1Char('"') + QString(s).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

std::vector<const data::OverviewRow*> allRows(const data::Overview& overview)
{
    std::vector<const data::OverviewRow*> rows;
    for (const data::OverviewRow& r : overview.rows)
        rows.push_back(&r);
    return rows;
}

QString overviewRecords(const data::Overview& o, const std::vector<const data::OverviewRow*>& rows, OverviewFormat format)
{
    const Style style = styleOf(format);
    const bool csv = format == OverviewFormat::Csv;
    const QString outOfRange = QStringLiteral("poza zakresem");
    const QString threshold = money(o.threshold, style.decimalMark);
    QStringList lines;
    if (csv)
        lines << QStringLiteral("Nr;Nazwa skrócona;NIP;Pojazdy;Zakup w L;Zakup w Mg;Opłata;Próg;Stan;Linie bez stawki");
    for (const data::OverviewRow* r : rows) {
        QStringList fields{QString::number(r->number), csv ? csvText(r->shortName) : r->shortName,
                           csv ? csvText(r->nip) : r->nip, QString::number(r->vehicles),
                           number(r->litres, 2, style.decimalMark), number(r->tonnes, 3, style.decimalMark),
                           r->amountOutOfRange ? outOfRange : money(r->amount, style.decimalMark), threshold,
                           o.status(*r), QString::number(r->linesWithoutRate)};
        if (!csv)
            fields.prepend(QStringLiteral("TAXPAYER"));
        lines << fields.join(style.separator);
    }
    if (!csv) {
        QString total;
        try {
            total = money(o.amount(), style.decimalMark);
        } catch (const text::MoneyOverflow&) {
            total = outOfRange;
        }
        lines << QStringList{QStringLiteral("TOTAL"), QString(), QString(), QString(), QString::number(o.vehicles()),
                             number(o.litres(), 2, style.decimalMark), number(o.tonnes(), 3, style.decimalMark), total,
                             threshold, QString(), QString::number(o.linesWithoutRate())}
                     .join(style.separator);
    }
    return lines.join(style.lineEnd) + style.lineEnd;
}

} // namespace reports
