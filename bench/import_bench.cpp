// A year of an office's PKPiR files (120 files, 200 000 records, 40 000 fuel entries of 50
// taxpayers with 300 vehicles, a quarter of them already stored) taken over through the
// import, against inserting the same accepted rows bare through the client in one
// transaction. Prints both times, their ratio and the import's own and the whole run's peak
// memory, and what of the import's time goes to the locks that keep two desks from importing
// one taxpayer at once. `import_bench STORED` makes both over a database that already holds
// STORED purchases of the same year of another 100 taxpayers (default 0), so that it shows
// whether the import's cost follows the files or the database. Each measurement runs in a process of its own: memory that an earlier
// measurement touched and freed would spare a later one the cost of touching it first.
#include <QCoreApplication>
#include <QProcess>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include "bench_database.h"
#include "ledger_builder.h"
#include "office_database.h"
#include "data/dm1.h"
#include "data/index_statistics.h"
#include "data/work_lock.h"
#include "firebird/statement.h"
#include "import/purchase_import.h"
#include "text/formats.h"

namespace {

constexpr int taxpayers = 50;
int otherPurchases = 0; // of other taxpayers, in the database before the import
constexpr int vehiclesEach = 6;
constexpr int files = 120;
constexpr int recordsEach = (200000 + files - 1) / files;
constexpr int fuelEntries = 40000;
constexpr int repeats = 3;

QString registration(int taxpayer, int vehicle)
{
    return QStringLiteral("WA %1%2").arg(taxpayer, 3, 10, QLatin1Char('0')).arg(vehicle);
}

struct Entry {
    int taxpayer, vehicle;
    QString invoice;
    QDate day;
    double litres;
};

// The process's peak, whatever the measured peak's resets.
double wholePeakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return std::max(bench::wholeRunPeakMemoryMiB(), usage.ru_maxrss / 1024.0);
}

// The entries of the year's files; with a folder, the files are written there too.
std::vector<Entry> ledgerEntries(const QString& folder)
{
    std::vector<Entry> entries;
    int entry = 0;
    for (int f = 0; f < files; ++f) {
        const int month = 1 + f / 10;
        QByteArray contents; // one file at a time: the benchmark keeps no file's image
        if (!folder.isEmpty())
            contents.reserve(recordsEach * 324);
        for (int r = 0; r < recordsEach; ++r) {
            const bool fuel = entry < fuelEntries && (f * recordsEach + r) % 5 == 0; // every fifth document
            const int taxpayer = 1 + (f * recordsEach + r) % taxpayers;
            const QDate day(2024, month, 1 + r % 28);
            const QString invoice = QStringLiteral("F%1/%2").arg(f).arg(r); // ten characters at most
            const int vehicle = r % vehiclesEach;
            const double litres = 10 + r % 90;
            if (fuel) {
                entries.push_back({taxpayer, vehicle, invoice, day, litres});
                ++entry;
            }
            if (folder.isEmpty())
                continue; // the entries only: a measuring process touches no more memory than it needs
            contents += ledgertest::pkpirRecord(
                {QStringLiteral("%1").arg(taxpayer, 3, 10, QLatin1Char('0')), 13, invoice, 2024, month, day.day(),
                 fuel ? QStringLiteral("olej napędowy/%1/%2").arg(registration(taxpayer, vehicle)).arg(litres)
                      : QStringLiteral("usługa księgowa %1").arg(r),
                 {}});
        }
        if (folder.isEmpty())
            continue;
        ledgertest::writeFile(folder, QStringLiteral("dok_%1%2.zqd").arg(month, 2, 10, QLatin1Char('0')).arg(f % 10), contents);
    }
    return entries;
}

// Inserts every fourth entry (the quarter stored before the import), or all the others.
void storeEntries(Tdm_1& dm, const std::vector<Entry>& entries, bool quarter)
{
    fb::Statement insert(dm.db_opl, dm.tr_opl, QStringLiteral("insert into ZAK_PAL values (gen_id(G_ZAK, 1), :r, :i, :d, 5, :l)"));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if ((i % 4 == 0) != quarter)
            continue;
        insert.setParam(QStringLiteral("r"), registration(entries[i].taxpayer, entries[i].vehicle));
        insert.setParam(QStringLiteral("i"), entries[i].invoice);
        insert.setParam(QStringLiteral("d"), entries[i].day);
        insert.setParam(QStringLiteral("l"), entries[i].litres);
        insert.execute();
    }
}

// A new database with the taxpayers and their vehicles, and the stored quarter if asked.
void prepare(Tdm_1& dm, const std::vector<Entry>& entries, bool storeQuarter)
{
    dm.connectTo(bench::freshDeliveredDatabase());
    fb::Statement taxpayer(dm.db_opl, dm.tr_opl, QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (:n, :n, :s)"));
    fb::Statement vehicle(dm.db_opl, dm.tr_opl, QStringLiteral("insert into SAM values (:r, :p, 5, 5, '2000-01-01', null)"));
    for (int t = 1; t <= taxpayers; ++t) {
        taxpayer.setParam(QStringLiteral("n"), t);
        taxpayer.setParam(QStringLiteral("s"), QStringLiteral("FIRMA%1").arg(t));
        taxpayer.execute();
        for (int v = 0; v < vehiclesEach; ++v) {
            vehicle.setParam(QStringLiteral("r"), registration(t, v));
            vehicle.setParam(QStringLiteral("p"), t);
            vehicle.execute();
        }
    }
    if (storeQuarter)
        storeEntries(dm, entries, true);
    dm.tr_opl.commitRetaining();
    if (otherPurchases > 0) {
        // The rest of the office: 100 taxpayers of 10 vehicles, their purchases spread over the year.
        for (int t = 1001; t <= 1100; ++t) {
            taxpayer.setParam(QStringLiteral("n"), t);
            taxpayer.setParam(QStringLiteral("s"), QStringLiteral("INNA%1").arg(t));
            taxpayer.execute();
            for (int v = 0; v < 10; ++v) {
                vehicle.setParam(QStringLiteral("r"), QStringLiteral("BG%1-%2").arg(t).arg(v));
                vehicle.setParam(QStringLiteral("p"), t);
                vehicle.execute();
            }
        }
        // Written by the server in one block: a million round trips would take longer than the import.
        dm.db_opl.executeImmediate(dm.tr_opl, QStringLiteral(
            "execute block as declare i integer = 0; declare t integer; declare v integer; begin "
            "while (i < %1) do begin t = 1001 + mod(i, 100); v = (i - mod(i, 100)) / 100; v = mod(v, 10); "
            "insert into ZAK_PAL values (gen_id(G_ZAK, 1), 'BG' || :t || '-' || :v, 'T' || :i, "
            "cast('2024-01-01' as date) + mod(:i, 366), 5, 10); i = i + 1; end end").arg(otherPurchases));
        dm.tr_opl.commitRetaining();
        data::keepIndexStatisticsTrue(dm.db_opl);
    }
}

// One import of the files in `folder`; prints its time, its own peak memory, the rows stored,
// the time of the locks of all the taxpayers and the process's peak.
void measureImport(QTextStream& out, const QString& folder)
{
    const std::vector<Entry> entries = ledgerEntries({});
    Tdm_1 dm;
    prepare(dm, entries, true);
    QStringList codes;
    for (int t = 1; t <= taxpayers; ++t)
        codes << QStringLiteral("%1").arg(t, 3, 10, QLatin1Char('0'));
    ledger::PurchaseImport import(dm, [](const QString&) {});
    bench::resetPeakMemory();
    QElapsedTimer t;
    t.start();
    import.run({ledger::Source::Pkpir, folder, {QDate(2024, 1, 1), QDate(2024, 12, 31)}, codes});
    const double ms = t.nsecsElapsed() / 1e6;
    const double peak = bench::peakMemoryMiB();

    QList<int> numbers;
    for (int n = 1; n <= taxpayers; ++n)
        numbers << n;
    t.restart();
    data::WorkLock lock(dm.db_opl);
    lock.take(data::Work::Purchases, numbers);
    lock.release();
    out << ms << ' ' << peak << ' ' << import.stored() << ' ' << t.nsecsElapsed() / 1e6 << ' ' << wholePeakMiB() << '\n';
}

// The same rows inserted bare; prints the time and the process's peak.
void measureBare(QTextStream& out)
{
    const std::vector<Entry> entries = ledgerEntries({});
    Tdm_1 dm;
    prepare(dm, entries, false);
    QElapsedTimer t;
    t.start();
    storeEntries(dm, entries, false); // all but the stored quarter
    dm.tr_opl.commitRetaining();
    out << t.nsecsElapsed() / 1e6 << ' ' << wholePeakMiB() << '\n';
}

// Runs this program to measure one thing; the numbers it printed.
QList<double> measuredApart(const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), arguments);
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        qFatal("a measurement failed");
    QList<double> numbers;
    for (const QByteArray& n : p.readAllStandardOutput().simplified().split(' ')) {
        bool ok = false;
        numbers << n.toDouble(&ok);
        if (!ok)
            qFatal("a measurement printed something that is not a number");
    }
    return numbers;
}

} // namespace

// Usage: import_bench, or import_bench import FOLDER / import_bench bare for one measurement.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    text::applyProgramFormats();
    QTextStream out(stdout);
    const QStringList arguments = app.arguments();
    out.setRealNumberPrecision(17); // a measuring process's figures, read back whole
    if (arguments.size() == 4 && arguments[1] == QLatin1String("import")) {
        otherPurchases = arguments[3].toInt();
        measureImport(out, arguments[2]);
        return 0;
    }
    if (arguments.size() == 3 && arguments[1] == QLatin1String("bare")) {
        otherPurchases = arguments[2].toInt();
        measureBare(out);
        return 0;
    }
    bool counted = arguments.size() == 1;
    if (arguments.size() == 2)
        otherPurchases = arguments[1].toInt(&counted);
    if (!counted || otherPurchases < 0) {
        QTextStream(stderr) << "użycie: import_bench [ZAKUPÓW_W_BAZIE] (albo, dla jednego pomiaru: import_bench import KATALOG "
                               "ZAKUPÓW | import_bench bare ZAKUPÓW)\n";
        return 2;
    }

    QTemporaryDir folder;
    const std::size_t fuel = ledgerEntries(folder.path()).size();
    // Medians of three runs: a bare insert of 30 000 rows varies by a fifth between runs here.
    std::vector<double> ours, bare;
    double locks = 0, importPeak = 0, wholePeak = 0;
    int stored = 0;
    for (int run = 0; run < repeats; ++run) {
        const QList<double> i = measuredApart({QStringLiteral("import"), folder.path(), QString::number(otherPurchases)});
        const QList<double> b = measuredApart({QStringLiteral("bare"), QString::number(otherPurchases)});
        if (i.size() != 5 || b.size() != 2)
            qFatal("a measurement printed something else");
        ours.push_back(i[0]);
        importPeak = std::max(importPeak, i[1]);
        stored = static_cast<int>(i[2]);
        locks = i[3];
        wholePeak = std::max({wholePeak, i[4], b[1]});
        bare.push_back(b[0]);
    }
    const double our = bench::median(ours), floor = bench::median(bare);

    out << "Import zakupów z rocznych plików PKPiR biura do bazy z " << otherPurchases << " zakupami innych podatników (mediana z "
        << repeats << " przebiegów, każdy pomiar w osobnym procesie)\n";
    out << "plików\trekordów\twpisów paliwa\tzapisano\timport [ms]\tgołe wstawienie [ms]\tstosunek\t"
           "szczyt pamięci importu [MiB]\tszczyt całego procesu [MiB]\n";
    out << files << '\t' << files * recordsEach << '\t' << fuel << '\t' << stored << '\t'
        << QString::number(our, 'f', 1) << '\t' << QString::number(floor, 'f', 1) << '\t'
        << QString::number(our / std::max(1.0, floor), 'f', 2) << '\t' << QString::number(importPeak, 'f', 1) << '\t'
        << QString::number(wholePeak, 'f', 1) << '\n';
    out << "w tym blokady " << taxpayers << " podatników [ms]\t" << QString::number(locks, 'f', 2) << " ("
        << QString::number(100 * locks / our, 'f', 2) << " % importu)\n";
    return 0;
}
