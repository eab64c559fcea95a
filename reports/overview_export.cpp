#include "reports/overview_export.h"

#include <QStringList>
#include <optional>

#include "text/csv.h"

namespace reports {

std::vector<const data::OverviewRow*> allRows(const data::Overview& overview)
{
    std::vector<const data::OverviewRow*> rows;
    for (const data::OverviewRow& r : overview.rows)
        rows.push_back(&r);
    return rows;
}

namespace {

QString outOfRange()
{
    return QStringLiteral("poza zakresem");
}

// The amounts added up; none when one of them, or the sum, is beyond what money holds.
std::optional<text::Money> totalAmount(const data::Overview& o)
{
    try {
        return o.amount();
    } catch (const text::MoneyOverflow&) {
        return std::nullopt;
    }
}

QString overviewCsv(const data::Overview& o, const std::vector<const data::OverviewRow*>& rows)
{
    text::CsvLines csv;
    for (const char* title : {"Nr", "Nazwa skrócona", "Nazwa pełna", "NIP", "Pojazdy", "Zakup w L", "Zakup w Mg", "Opłata",
                              "Próg", "Stan", "Obowiązek", "Linie bez stawki"})
        csv.text(QString::fromUtf8(title));
    csv.endLine();
    for (const data::OverviewRow* r : rows) {
        csv.integer(r->number).text(r->shortName).text(r->fullName).code(r->nip).integer(r->vehicles);
        csv.number(r->litres, 2).number(r->tonnes, 3);
        if (r->amountOutOfRange)
            csv.text(outOfRange());
        else
            csv.money(r->amount);
        const auto filing = o.filing(*r);
        csv.money(o.threshold).text(o.status(*r)).text(filing ? data::filingShort(*filing) : QString());
        csv.integer(r->linesWithoutRate).endLine();
    }
    // The overview's totals, as the screen's totals line and the TSV's TOTAL give them.
    csv.empty().text(QStringLiteral("Razem")).empty().empty().integer(o.vehicles()).number(o.litres(), 2).number(o.tonnes(), 3);
    if (const auto amount = totalAmount(o))
        csv.money(*amount);
    else
        csv.text(outOfRange());
    csv.empty().empty().empty().integer(o.linesWithoutRate()).endLine();
    return csv.toString();
}

} // namespace

QString overviewRecords(const data::Overview& o, const std::vector<const data::OverviewRow*>& rows, OverviewFormat format)
{
    if (format == OverviewFormat::Csv)
        return overviewCsv(o, rows);
    const QChar mark = QLatin1Char('.');
    const QString threshold = o.threshold.toDecimalString(2);
    QStringList lines;
    for (const data::OverviewRow* r : rows) {
        const auto filing = o.filing(*r);
        lines << QStringList{QStringLiteral("TAXPAYER"), QString::number(r->number), r->shortName, r->nip,
                             QString::number(r->vehicles), text::roundedNumber(r->litres, 2, mark), text::roundedNumber(r->tonnes, 3, mark),
                             r->amountOutOfRange ? outOfRange() : r->amount.toDecimalString(2), threshold, o.status(*r),
                             QString::number(r->linesWithoutRate), filing ? data::filingCode(*filing) : QString()}
                     .join(QLatin1Char('\t'));
    }
    const auto amount = totalAmount(o);
    const QString total = amount ? amount->toDecimalString(2) : outOfRange();
    lines << QStringList{QStringLiteral("TOTAL"), QString(), QString(), QString(), QString::number(o.vehicles()),
                         text::roundedNumber(o.litres(), 2, mark), text::roundedNumber(o.tonnes(), 3, mark), total, threshold, QString(),
                         QString::number(o.linesWithoutRate()), QString()}
                 .join(QLatin1Char('\t'));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace reports
