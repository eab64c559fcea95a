#include "office_database.h"

#include <algorithm>

#include <QDate>
#include <QFile>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "bench_database.h"
#include "data/dm1.h"
#include "firebird/connection.h"
#include "firebird/index_statistics.h"
#include "firebird/transaction.h"

namespace bench {

namespace {

// The registration of vehicle k (from 0) of taxpayer t (from 1), as the block below makes it.
const char* const registration = "'T' || lpad(:t, 4, '0') || 'V' || lpad(:k, 2, '0')";

// Executed as it stands: the blocks' variables are written ":name", which a statement would
// take for parameters.
void run(fb::Connection& connection, fb::Transaction& transaction, const QString& block)
{
    connection.executeImmediate(transaction, block);
}

} // namespace

QString officeDatabaseFile(const Office& office)
{
    const QString path = freshDeliveredDatabase();
    Tdm_1 dm;
    dm.connectTo(path);
    fillOffice(dm.db_opl, dm.tr_opl, office);
    dm.disconnectDatabase();
    return path;
}

QString Office::shortName(int taxpayer) const
{
    return QStringLiteral("P%1").arg(taxpayer, 4, 10, QLatin1Char('0'));
}

QString Office::description() const
{
    const QString who = shape == OfficeShape::OneLargeTaxpayer
                            ? QStringLiteral("1 podatnik, %1 zakupów").arg(purchases)
                            : QStringLiteral("%1 podatników, %2 zakupów").arg(taxpayers()).arg(purchases);
    return years == 1 ? who : who + QStringLiteral(" w latach %1–%2").arg(year - years + 1).arg(year);
}

void fillOffice(fb::Connection& connection, fb::Transaction& transaction, const Office& office)
{
    const int perTaxpayer = office.vehiclesPerTaxpayer();
    const int vehicles = office.taxpayers() * perTaxpayer;
    run(connection, transaction, QStringLiteral(
        "execute block as declare t integer = 1; begin "
        "while (t <= %1) do begin "
        "insert into PODAT (NR_PODAT, NAZWA, ADRES, NIP, NAZSKR) values (:t, 'Przedsiębiorstwo ' || :t, "
        "'ul. Długa ' || :t || ', Gdańsk', '583' || lpad(:t, 7, '0'), 'P' || lpad(:t, 4, '0')); "
        "t = t + 1; end end").arg(office.taxpayers()));
    run(connection, transaction, QStringLiteral(
        "execute block as declare g integer = 0; declare t integer; declare k integer; begin "
        "while (g < %1) do begin k = mod(g, %2); t = (g - k) / %2 + 1; "
        "insert into SAM values (%3, :t, 1 + mod(:g, 12), iif(mod(:g, 3) = 0, 1, 5), '2020-01-01', null); "
        "g = g + 1; end end").arg(vehicles).arg(perTaxpayer).arg(QLatin1String(registration)));
    const QDate first(office.year - office.years + 1, 1, 1);
    const int perYear = std::max(1, office.purchases / office.years);
    run(connection, transaction, QStringLiteral(
        "execute block as declare i integer = 0; declare g integer; declare t integer; declare k integer; "
        "declare y integer; begin "
        "while (i < %1) do begin g = mod(i, %2); k = mod(g, %3); t = (g - k) / %3 + 1; y = (i - mod(i, %6)) / %6; "
        "insert into ZAK_PAL values (:i + 1, %4, 'FV/' || :i, "
        "dateadd(:y year to cast('%5' as date)) + mod(mod(:i, %6), %7), "
        "iif(mod(:g, 3) = 0, 1, iif(mod(:i, 7) = 0, 6, 5)), 10.0 + mod(:i, 900) / 10.0); "
        "i = i + 1; end end")
        .arg(office.purchases).arg(vehicles).arg(perTaxpayer).arg(QLatin1String(registration))
        .arg(first.toString(Qt::ISODate)).arg(perYear).arg(office.years == 1 ? first.daysInYear() : 365));
    run(connection, transaction, QStringLiteral("set generator G_ZAK to %1").arg(office.purchases));
    transaction.commitRetaining();
    fb::recomputeIndexStatistics(connection);
}

double peakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

namespace {
double peakBeforeResets = 0;
} // namespace

double wholeRunPeakMemoryMiB()
{
    return std::max(peakBeforeResets, peakMemoryMiB());
}

void resetPeakMemory()
{
    peakBeforeResets = wholeRunPeakMemoryMiB();
#ifdef __GLIBC__
    malloc_trim(0); // what earlier work freed goes back to the system before the peak restarts
#endif
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace bench
