#include "tools/overview_commands.h"

#include <QTextStream>

#include "data/dm1.h"
#include "data/office_overview.h"
#include "data/settlement.h"
#include "desktop/signal_catcher.h"
#include "text/formats.h"
#include "tools/cli_options.h"

namespace tools {

const char* overviewUsage =
    "  brenvald-cli overview --db BAZA --year RRRR [--half I|II] [--tsv]\n"
    "      drukuje opłatę, próg i brak stawek każdego podatnika za okres\n";

namespace {

QString statusOf(const data::Overview& o, const data::OverviewRow& r)
{
    return o.withinThreshold(r) ? QStringLiteral("poniżej progu") : QStringLiteral("do zapłaty");
}

QString moneyOrNothing(const data::OverviewRow& r)
{
    return r.amountOutOfRange ? QStringLiteral("poza zakresem") : r.amount.toDecimalString(2);
}

} // namespace

QString overviewTsv(const data::Overview& o)
{
    QString out;
    const QString threshold = o.threshold.toDecimalString(2);
    for (const data::OverviewRow& r : o.rows)
        out += QStringList{QStringLiteral("TAXPAYER"), QString::number(r.number), r.shortName, r.nip,
                           QString::number(r.vehicles), QString::number(r.litres, 'f', 2), QString::number(r.tonnes, 'f', 3),
                           moneyOrNothing(r), threshold, statusOf(o, r), QString::number(r.linesWithoutRate)}
                   .join(QLatin1Char('\t'))
            + QLatin1Char('\n');
    QString total;
    try {
        total = o.amount().toDecimalString(2);
    } catch (const text::MoneyOverflow&) {
        total = QStringLiteral("poza zakresem");
    }
    out += QStringList{QStringLiteral("TOTAL"), QString(), QString(), QString(), QString::number(o.vehicles()),
                       QString::number(o.litres(), 'f', 2), QString::number(o.tonnes(), 'f', 3), total, threshold, QString(),
                       QString::number(o.linesWithoutRate())}
               .join(QLatin1Char('\t'))
        + QLatin1Char('\n');
    return out;
}

QString overviewTable(const data::Overview& o)
{
    QString out;
    QTextStream s(&out);
    s << QStringLiteral("Zestawienie opłat wszystkich podatników: %1 – %2, próg %3\n\n")
             .arg(text::formatDate(o.period.start), text::formatDate(o.period.end), text::formatMoney(o.threshold));
    s << QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8\n")
             .arg(QStringLiteral("Nr"), 5)
             .arg(QStringLiteral("Nazwa skrócona"), -15)
             .arg(QStringLiteral("NIP"), -13)
             .arg(QStringLiteral("Poj."), 4)
             .arg(QStringLiteral("Litry"), 14)
             .arg(QStringLiteral("Tony"), 12)
             .arg(QStringLiteral("Opłata"), 16)
             .arg(QStringLiteral("Status"));
    for (const data::OverviewRow& r : o.rows)
        s << QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8%9\n")
                 .arg(r.number, 5)
                 .arg(r.shortName, -15)
                 .arg(r.nip, -13)
                 .arg(r.vehicles, 4)
                 .arg(text::formatFloat(QStringLiteral("#,##0.00"), r.litres), 14)
                 .arg(text::formatFloat(QStringLiteral("#,##0.000"), r.tonnes), 12)
                 .arg(r.amountOutOfRange ? QStringLiteral("poza zakresem") : text::formatMoney(r.amount), 16)
                 .arg(statusOf(o, r))
                 .arg(r.linesWithoutRate > 0 ? QStringLiteral(" (brak stawki)") : QString());
    return out;
}

int overview(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--year"), QStringLiteral("--half")},
                                      {QStringLiteral("--tsv")});
    requireOptions(options, {"--db", "--year"});
    const PeriodChoice period = periodOptions(options);
    Tdm_1 dm;
    dm.connectTo(options.value(QStringLiteral("--db")));
    desktop::SignalCatcher::reinstall(); // the database client put its own handlers in place
    const data::Overview o = data::computeOverview(dm.db_opl, dm.tr_opl, period.year,
                                                   data::settlementPeriod(period.year, period.half),
                                                   data::yearParameters(dm, period.year));
    QTextStream out(stdout);
    out << (options.contains(QStringLiteral("--tsv")) ? overviewTsv(o) : overviewTable(o));
    out.flush();
    dm.disconnectDatabase();
    return 0;
}

} // namespace tools
