// Times the settlement of one taxpayer's year through the data module against the same
// aggregate query fetched bare through the client wrapper and against a plain scan of the
// year's purchases, for 10 000, 100 000 and 300 000
// purchases; and the settlement read in one snapshot transaction, as the program read
// everything before it worked with several desks, against read committed as it reads now.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <vector>

#include "data/dm1.h"
#include "data/settlement_queries.h"
#include "firebird/statement.h"
#include "data/settlement.h"
#include "bench_database.h"
#include "text/formats.h"

namespace {

constexpr int vehicles = 40;
constexpr int repeats = 7;

void fill(Tdm_1& dm, int purchases)
{
    fb::Statement(dm.db_opl, dm.tr_opl, QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '1', 'FIRMA')")).execute();
    fb::Statement vehicle(dm.db_opl, dm.tr_opl, QStringLiteral("insert into SAM values (:r, 1, :t, :f, '2020-01-01', null)"));
    for (int v = 0; v < vehicles; ++v) {
        vehicle.setParam(QStringLiteral("r"), QStringLiteral("WA%1").arg(v, 5, 10, QLatin1Char('0')));
        vehicle.setParam(QStringLiteral("t"), 1 + v % 12);
        vehicle.setParam(QStringLiteral("f"), v % 3 == 0 ? 1 : 5);
        vehicle.execute();
    }
    fb::Statement insert(dm.db_opl, dm.tr_opl,
                         QStringLiteral("insert into ZAK_PAL values (:n, :r, :i, :d, :f, :l)"));
    for (int i = 0; i < purchases; ++i) {
        const int v = i % vehicles;
        insert.setParam(QStringLiteral("n"), i + 1);
        insert.setParam(QStringLiteral("r"), QStringLiteral("WA%1").arg(v, 5, 10, QLatin1Char('0')));
        insert.setParam(QStringLiteral("i"), QStringLiteral("FV/%1").arg(i));
        insert.setParam(QStringLiteral("d"), QDate(2024, 1, 1).addDays(i % 366));
        insert.setParam(QStringLiteral("f"), v % 3 == 0 ? 1 : (i % 7 == 0 ? 6 : 5));
        insert.setParam(QStringLiteral("l"), 10.0 + (i % 900) / 10.0);
        insert.execute();
    }
    dm.tr_opl.commitRetaining();
}


} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    text::applyProgramFormats();
    QTextStream out(stdout);
    out << "Rozliczenie roku jednego podatnika (mediana z " << repeats << " przebiegów)\n";
    out << "zakupy\tnasze rozliczenie [ms]\tjego SQL [ms]\tstosunek\tprzegląd ZAK_PAL [ms]\tnasze / przegląd\tlinie\t"
           "w migawce [ms]\tread committed / migawka\n";
    for (int purchases : {10000, 100000, 300000}) {
        Tdm_1 dm;
        dm.connectTo(bench::freshDeliveredDatabase());
        fill(dm, purchases);
        const data::Period period = data::settlementPeriod(2024, 0);
        std::vector<double> ours, bare, snapshot, scan;
        size_t lines = 0;
        for (int r = 0; r < repeats; ++r) {
            QElapsedTimer t;
            t.start();
            const auto s = data::computeSettlement(dm, QStringLiteral("FIRMA"), 2024, period, data::yearParameters(dm, 2024));
            ours.push_back(t.nsecsElapsed() / 1e6);
            lines = s.lines.size();

            {
                const auto held = dm.readReportsFromSnapshot(true);
                t.restart();
                data::computeSettlement(dm, QStringLiteral("FIRMA"), 2024, period, data::yearParameters(dm, 2024));
                snapshot.push_back(t.nsecsElapsed() / 1e6);
            }

            t.restart();
            fb::Statement st(dm.db_opl, dm.tr_opl, data::settlementSql());
            st.setParam(QStringLiteral("dpocz"), period.start);
            st.setParam(QStringLiteral("dkon"), period.end);
            st.setParam(QStringLiteral("naz"), QStringLiteral("FIRMA"));
            st.execute();
            size_t bareLines = 0;
            while (st.fetch()) {
                for (int c = 0; c < st.columnCount(); ++c)
                    st.value(c);
                ++bareLines;
            }
            bare.push_back(t.nsecsElapsed() / 1e6);

            // The floor: every purchase of the period read once, with typed parameters (string
            // literals would cost their conversion on every row).
            t.restart();
            fb::Statement plain(dm.db_opl, dm.tr_opl,
                                QStringLiteral("select count(*), sum(IL_ZAK) from ZAK_PAL where D_ZAK between :a and :b"));
            plain.setParam(QStringLiteral("a"), period.start);
            plain.setParam(QStringLiteral("b"), period.end);
            plain.execute();
            while (plain.fetch())
                plain.value(1);
            scan.push_back(t.nsecsElapsed() / 1e6);
            if (bareLines != lines)
                out << "różna liczba linii: " << bareLines << " i " << lines << '\n';
        }
        const double o = bench::median(ours), b = bench::median(bare), m = bench::median(snapshot), p = bench::median(scan);
        out << purchases << '\t' << QString::number(o, 'f', 2) << '\t' << QString::number(b, 'f', 2) << '\t'
            << QString::number(o / b, 'f', 2) << '\t' << QString::number(p, 'f', 2) << '\t' << QString::number(o / p, 'f', 2)
            << '\t' << lines << '\t' << QString::number(m, 'f', 2) << '\t' << QString::number(o / m, 'f', 3) << '\n';
        out.flush();
        dm.disconnectDatabase();
    }
    return 0;
}
