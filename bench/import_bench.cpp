// A year of an office's PKPiR files (120 files, 200 000 records, 40 000 fuel entries of 50
// taxpayers with 300 vehicles, a quarter of them already stored) taken over through the
// import, against inserting the same accepted rows bare through the client in one
// transaction. Prints both times, their ratio and the import's own and the whole run's peak
// memory, and what of the import's
// time goes to the locks that keep two desks from importing one taxpayer at once.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include "bench_database.h"
#include "office_database.h"
#include "data/dm1.h"
#include "data/work_lock.h"
#include "firebird/statement.h"
#include "import/purchase_import.h"
#include "text/cp1250.h"
#include "text/formats.h"

namespace {

constexpr int taxpayers = 50;
constexpr int vehiclesEach = 6;
constexpr int files = 120;
constexpr int recordsEach = (200000 + files - 1) / files;
constexpr int fuelEntries = 40000;
constexpr int repeats = 3;

void putText(QByteArray& r, int offset, const QString& text)
{
    const QByteArray bytes = *text::toCp1250(text);
    r[offset] = static_cast<char>(bytes.size());
    for (int i = 0; i < bytes.size(); ++i)
        r[offset + 1 + i] = bytes[i];
}

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

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    text::applyProgramFormats();
    QTextStream out(stdout);
    QTemporaryDir folder;

    // The ledger files: fuel entries spread over the files, the rest other documents.
    std::vector<Entry> entries;
    int entry = 0;
    for (int f = 0; f < files; ++f) {
        const int month = 1 + f / 10;
        QByteArray contents; // one file at a time: the import's peak memory is its own
        contents.reserve(recordsEach * 324);
        for (int r = 0; r < recordsEach; ++r) {
            QByteArray rec(324, '\0');
            const bool fuel = entry < fuelEntries && (f * recordsEach + r) % 5 == 0; // every fifth document
            const int taxpayer = 1 + (f * recordsEach + r) % taxpayers;
            putText(rec, 6, QStringLiteral("%1").arg(taxpayer, 3, 10, QLatin1Char('0')));
            rec[15] = 13;
            const QDate day(2024, month, 1 + r % 28);
            rec[27] = static_cast<char>(2024 & 0xFF);
            rec[28] = static_cast<char>(2024 >> 8);
            rec[29] = static_cast<char>(month);
            rec[30] = static_cast<char>(day.day());
            const QString invoice = QStringLiteral("F%1/%2").arg(f).arg(r); // ten characters at most
            putText(rec, 16, invoice);
            if (fuel) {
                const int vehicle = r % vehiclesEach;
                const double litres = 10 + r % 90;
                putText(rec, 31, QStringLiteral("olej napędowy/%1/%2").arg(registration(taxpayer, vehicle)).arg(litres));
                entries.push_back({taxpayer, vehicle, invoice, day, litres});
                ++entry;
            } else {
                putText(rec, 31, QStringLiteral("usługa księgowa %1").arg(r));
            }
            contents += rec;
        }
        QFile file(QDir(folder.path()).filePath(QStringLiteral("dok_%1%2.zqd").arg(month, 2, 10, QLatin1Char('0')).arg(f % 10)));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write the ledger files");
    }

    // Inserts every fourth entry (the quarter stored before the import), or all the others.
    auto storeEntries = [&](Tdm_1& dm, bool quarter) {
        fb::Statement insert(dm.db_opl, dm.tr_opl,
                             QStringLiteral("insert into ZAK_PAL values (gen_id(G_ZAK, 1), :r, :i, :d, 5, :l)"));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if ((i % 4 == 0) != quarter)
                continue;
            insert.setParam(QStringLiteral("r"), registration(entries[i].taxpayer, entries[i].vehicle));
            insert.setParam(QStringLiteral("i"), entries[i].invoice);
            insert.setParam(QStringLiteral("d"), entries[i].day);
            insert.setParam(QStringLiteral("l"), entries[i].litres);
            insert.execute();
        }
    };
    auto prepare = [&](Tdm_1& dm, bool storeQuarter) {
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
        if (storeQuarter) // every fourth entry is there already
            storeEntries(dm, true);
        dm.tr_opl.commitRetaining();
    };

    QStringList codes;
    for (int t = 1; t <= taxpayers; ++t)
        codes << QStringLiteral("%1").arg(t, 3, 10, QLatin1Char('0'));

    // Medians of three runs: a bare insert of 30 000 rows varies by a fifth between runs here.
    std::vector<double> ours, bare;
    double locks = 0, importPeak = 0;
    int stored = 0;
    for (int run = 0; run < repeats; ++run) {
        {
            Tdm_1 dm;
            prepare(dm, true);
            ledger::PurchaseImport import(dm, [](const QString&) {});
            bench::resetPeakMemory();
            QElapsedTimer t;
            t.start();
            import.run({ledger::Source::Pkpir, folder.path(), {QDate(2024, 1, 1), QDate(2024, 12, 31)}, codes});
            ours.push_back(t.nsecsElapsed() / 1e6);
            importPeak = std::max(importPeak, bench::peakMemoryMiB());
            stored = import.stored();

            QList<int> numbers;
            for (int n = 1; n <= taxpayers; ++n)
                numbers << n;
            t.restart();
            data::WorkLock lock(dm.db_opl);
            lock.take(data::Work::Purchases, numbers);
            lock.release();
            locks = t.nsecsElapsed() / 1e6;
        }
        {
            Tdm_1 dm;
            prepare(dm, false);
            QElapsedTimer t;
            t.start();
            storeEntries(dm, false); // all but the stored quarter
            dm.tr_opl.commitRetaining();
            bare.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    const double our = bench::median(ours), floor = bench::median(bare);

    out << "Import zakupów z rocznych plików PKPiR biura (mediana z " << repeats << " przebiegów)\n";
    out << "plików\trekordów\twpisów paliwa\tzapisano\timport [ms]\tgołe wstawienie [ms]\tstosunek\t"
           "szczyt pamięci importu [MiB]\tszczyt całego przebiegu [MiB]\n";
    out << files << '\t' << files * recordsEach << '\t' << entries.size() << '\t' << stored << '\t'
        << QString::number(our, 'f', 1) << '\t' << QString::number(floor, 'f', 1) << '\t'
        << QString::number(our / std::max(1.0, floor), 'f', 2) << '\t' << QString::number(importPeak, 'f', 1) << '\t'
        << QString::number(std::max(bench::wholeRunPeakMemoryMiB(), peakKilobytes() / 1024.0), 'f', 1) << '\n';
    out << "w tym blokady " << taxpayers << " podatników [ms]\t" << QString::number(locks, 'f', 2) << " ("
        << QString::number(100 * locks / our, 'f', 2) << " % importu)\n";
    return 0;
}
