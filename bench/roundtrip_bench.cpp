// The network round trips ("turns") each command of brenvald-cli costs against a Firebird
// server, counted by a proxy between the two, for an office of 100 taxpayers, 300 vehicles and
// 50 000 purchases in a year; with what those turns alone cost at a round trip of 10 and 30 ms,
// and the time each took here, on this machine's loopback. The program's own connection to the
// database (Tdm_1::connectTo) is measured in this process. The server is the private one of
// scripts/test_server.sh. Every command runs twice, each time on a database of its own; the
// turns of both runs are shown where they differ, the shorter time of the two.
// Usage: roundtrip_bench
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>
#include <vector>

#include "data/dm1.h"
#include "forwarding_proxy.h"
#include "ledger_builder.h"
#include "office_database.h"
#include "private_server.h"
#include "turn_table.h"

namespace {

constexpr int runs = 2;
constexpr int ledgerEntries = 1000;
constexpr int rateYear = 2031; // after every year the program delivers

// Runs brenvald-cli; the benchmark ends, with what the tool said, when it ends otherwise
// than expected.
void cli(const QStringList& arguments, int expectedCode = 0)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(BRENVALD_CLI), arguments);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != expectedCode)
        qFatal("brenvald-cli %s ended with %d:\n%s", qPrintable(arguments.join(QLatin1Char(' '))), p.exitCode(),
               p.readAll().constData());
}

// A year of the measured taxpayer's diesel purchases in one PKPiR file.
void writeLedger(const QString& folder, const bench::Office& office)
{
    const int taxpayer = office.measuredTaxpayer();
    QByteArray file;
    for (int e = 0; e < ledgerEntries; ++e) {
        // The vehicles 1 and 2 of each taxpayer run on diesel (see fillOffice).
        const QString vehicle = QStringLiteral("T%1V%2").arg(taxpayer, 4, 10, QLatin1Char('0')).arg(1 + e % 2, 2, 10, QLatin1Char('0'));
        file += ledgertest::pkpirRecord({QStringLiteral("%1").arg(taxpayer, 3, 10, QLatin1Char('0')), 13,
                                         QStringLiteral("L%1").arg(e), office.year, 1 + e % 12, 1 + e % 28,
                                         QStringLiteral("olej napędowy/%1/%2,5").arg(vehicle).arg(10 + e % 60), {}});
    }
    ledgertest::writeFile(folder, QStringLiteral("dok_010.zqd"), file);
}

// The latest delivered rate file, moved to a year the database has no rates of; its lines.
int writeRates(const QString& path)
{
    QFile delivered(QStringLiteral(BRENVALD_SOURCE_DIR "/data/rates/stawki_2026.sql"));
    QFile out(path);
    if (!delivered.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        qFatal("cannot write the rate file");
    const QByteArray rates = delivered.readAll().replace(", 2026)", QByteArray(", ") + QByteArray::number(rateYear) + ")");
    out.write(rates);
    return static_cast<int>(rates.count('\n'));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    // A server left by an interrupted run is stopped by the next start in the same folder.
    const QString state = QCoreApplication::applicationDirPath() + QStringLiteral("/roundtrip-server");
    bench::serverScript(QStringLiteral("start"), state);
    bench::ForwardingProxy proxy(bench::serverPort(state));

    const bench::Office office{bench::OfficeShape::SmallOffice, 50000};
    const QString taxpayer = office.shortName(office.measuredTaxpayer());
    const QString year = QString::number(office.year);
    QTemporaryDir files;
    const QString ledger = files.filePath(QStringLiteral("zqd"));
    const QString rates = files.filePath(QStringLiteral("stawki_%1.sql").arg(rateYear));
    writeLedger(ledger, office);
    const int rateLines = writeRates(rates);

    std::vector<bench::TurnRow> rows;
    for (int run = 0; run < runs; ++run) {
        const QString db = QStringLiteral("127.0.0.1/%1:%2").arg(proxy.port()).arg(bench::officeDatabaseFile(office));
        std::size_t at = 0;
        const auto add = [&](const QString& command, const std::function<void()>& work) {
            if (run == 0)
                rows.push_back({command, {}});
            rows[at++].runs.push_back(bench::measure(proxy, work));
        };
        const auto through = [&](const QString& command, const QStringList& arguments, int expectedCode = 0) {
            add(command, [&] { cli(arguments, expectedCode); });
        };
        add(QStringLiteral("program: Tdm_1::connectTo i rozłączenie"), [&] {
            Tdm_1 dm;
            dm.connectTo(db);
            dm.disconnectDatabase();
        });
        const QStringList settle{QStringLiteral("settle"), QStringLiteral("--db"), db, QStringLiteral("--taxpayer")};
        through(QStringLiteral("settle nieznanego podatnika (samo połączenie)"),
                settle + QStringList{QStringLiteral("NIKT"), QStringLiteral("--year"), year}, 1);
        through(QStringLiteral("settle --tsv roku bez zakupów"),
                settle + QStringList{taxpayer, QStringLiteral("--year"), QString::number(office.year + 1), QStringLiteral("--tsv")});
        through(QStringLiteral("settle --tsv (%1 pojazdy, %2 zakupów)").arg(office.vehiclesPerTaxpayer()).arg(office.purchases / office.taxpayers()),
                settle + QStringList{taxpayer, QStringLiteral("--year"), year, QStringLiteral("--tsv")});
        through(QStringLiteral("pdf --report statements"),
                {QStringLiteral("pdf"), QStringLiteral("--db"), db, QStringLiteral("--taxpayer"), taxpayer, QStringLiteral("--year"),
                 year, QStringLiteral("--report"), QStringLiteral("statements"), QStringLiteral("--out"),
                 files.filePath(QStringLiteral("zest%1.pdf").arg(run))});
        through(QStringLiteral("import-purchases %1 wpisów PKPiR").arg(ledgerEntries),
                {QStringLiteral("import-purchases"), QStringLiteral("--db"), db, QStringLiteral("--source"), QStringLiteral("pkpir"),
                 QStringLiteral("--dir"), ledger, QStringLiteral("--year"), year, QString::number(office.measuredTaxpayer())});
        through(QStringLiteral("load-rates %1 wierszy").arg(rateLines), {QStringLiteral("load-rates"), QStringLiteral("--db"), db, rates});
        through(QStringLiteral("backup"), {QStringLiteral("backup"), QStringLiteral("--db"), db, QStringLiteral("--out"),
                                           files.filePath(QStringLiteral("kopia%1.fbk").arg(run))});
    }

    out << "Obiegi sieci poleceń brenvald-cli przez serwer Firebird: " << office.description() << ", "
        << office.taxpayers() * office.vehiclesPerTaxpayer() << " pojazdów; podatnik " << taxpayer << ", rok " << year
        << " (dwa przebiegi, każdy na swojej bazie; \"a / b\", gdy się różnią; czas: lepszy z dwóch)\n";
    bench::printTurns(out, QStringLiteral("polecenie"), rows);
    out.flush();
    bench::serverScript(QStringLiteral("stop"), state);
    return 0;
}
