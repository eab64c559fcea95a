#include "data/invoice_storage.h"

#include <QHash>
#include <QStringList>

#include "data/dm1.h"
#include "data/index_statistics.h"
#include "data/multi_row_insert.h"
#include "data/settlement_queries.h"
#include "data/work_lock.h"
#include "desktop/quietly.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

namespace data {

namespace {

// Rows written by one statement, and invoices looked up by one: a round trip carries many rows.
constexpr int rowsPerStatement = MultiRowInsert::rowsPerStatement;

// The columns of a purchase row and of a recorded line, as the select list of a multi-row
// insert takes them.
constexpr int purchaseParams = 6;
constexpr int lineParams = 9;
const QString purchaseColumns = QStringLiteral(
    "cast(:k%1 as integer), cast(:r%1 as varchar(10)), cast(:n%1 as varchar(20)), cast(:d%1 as date), "
    "cast(:f%1 as smallint), cast(:l%1 as double precision)");
const QString lineColumns = QStringLiteral(
    "cast(:s%1 as varchar(20)), cast(:n%1 as varchar(256)), cast(:w%1 as integer), cast(:p%1 as smallint), "
    "cast(:k%1 as integer), cast(:r%1 as varchar(10)), cast(:d%1 as date), cast(:f%1 as smallint), "
    "cast(:l%1 as double precision), current_timestamp");

// NUMERIC(9,4) as ten-thousandths.
qint64 tenThousandths(const QVariant& v)
{
    return moneyOfColumn(v).units();
}

QVariant orNull(int purchaseNumber)
{
    return purchaseNumber > 0 ? QVariant(purchaseNumber) : QVariant();
}

} // namespace

size_t qHash(const InvoiceId& id, size_t seed)
{
    return qHashMulti(seed, id.sellerNip, id.number);
}

struct InvoiceStorage::Impl {
    explicit Impl(Tdm_1& dm)
        : dm(dm), tr(&dm.db_opl, fb::Isolation::ReadCommitted, dm.lockWait()),
          purchaseInserts(dm.db_opl, tr, QStringLiteral("insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) "),
                          purchaseColumns),
          lineInserts(dm.db_opl, tr,
                      QStringLiteral("insert into WIERSZE_EFAKTUR (NIP_SPRZED, NR_FAKTURY, NR_WIERSZA, "
                                     "NR_PODAT, NR_KOL, NR_REJ, D_ZAK, NR_RODZ_PAL, IL_ZAK, D_PRZEJ) "),
                      lineColumns)
    {
    }

    Tdm_1& dm;
    fb::Transaction tr;
    std::unique_ptr<WorkLock> locks;
    MultiRowInsert purchaseInserts, lineInserts;
    // Prepared look-ups by the number of invoices they take.
    QHash<int, std::shared_ptr<fb::Statement>> lookups;

    // The lines taken over of `count` invoices, by seller and number.
    fb::Statement& lookup(int count)
    {
        auto& statement = lookups[count];
        if (!statement) {
            QStringList pairs;
            for (int i = 0; i < count; ++i)
                pairs << QStringLiteral("(W.NIP_SPRZED = :s%1 and W.NR_FAKTURY = :n%1)").arg(i);
            statement = std::make_shared<fb::Statement>(
                dm.db_opl, tr,
                QStringLiteral("select W.NIP_SPRZED, W.NR_FAKTURY, W.NR_WIERSZA, W.NR_PODAT, coalesce(Z.NR_REJ, W.NR_REJ), "
                               "coalesce(Z.D_ZAK, W.D_ZAK), coalesce(Z.NR_RODZ_PAL, W.NR_RODZ_PAL), W.IL_ZAK "
                               "from WIERSZE_EFAKTUR W left join ZAK_PAL Z on Z.NR_KOL = W.NR_KOL where ")
                    + pairs.join(QStringLiteral(" or ")));
        }
        return *statement;
    }

    // The numbers of `count` new purchases, drawn from G_ZAK at once.
    QList<int> purchaseNumbers(int count)
    {
        fb::Statement draw(dm.db_opl, tr,
                           QStringLiteral("select gen_id(G_ZAK, %1) from RDB$DATABASE").arg(count));
        draw.execute();
        draw.fetch();
        const int last = draw.value(0).toInt();
        draw.closeCursor();
        QList<int> numbers;
        for (int i = count - 1; i >= 0; --i)
            numbers << last - i;
        return numbers;
    }

    void insertPurchases(const QList<InvoicePurchase>& purchases, const QList<int>& numbers)
    {
        for (int from = 0; from < purchases.size(); from += rowsPerStatement) {
            const int rows = std::min<int>(rowsPerStatement, purchases.size() - from);
            fb::Statement& st = purchaseInserts.statementFor(rows);
            for (int i = 0; i < rows; ++i) {
                const InvoicePurchase& p = purchases[from + i];
                int at = i * purchaseParams;
                st.setParam(at++, numbers[from + i]);
                st.setParam(at++, p.registration);
                st.setParam(at++, p.invoice.left(20));
                st.setParam(at++, p.date);
                st.setParam(at++, p.fuel);
                st.setParam(at, p.litres);
            }
            st.execute();
        }
    }

    void insertLines(const QList<InvoiceLineRecord>& lines, const QList<int>& numbers)
    {
        for (int from = 0; from < lines.size(); from += rowsPerStatement) {
            const int rows = std::min<int>(rowsPerStatement, lines.size() - from);
            fb::Statement& st = lineInserts.statementFor(rows);
            for (int i = 0; i < rows; ++i) {
                const InvoiceLineRecord& l = lines[from + i];
                int at = i * lineParams;
                st.setParam(at++, l.invoice.sellerNip);
                st.setParam(at++, l.invoice.number);
                st.setParam(at++, l.taken.line);
                st.setParam(at++, l.taken.taxpayer);
                st.setParam(at++, orNull(l.purchase >= 0 ? numbers[l.purchase] : 0));
                st.setParam(at++, l.taken.registration);
                st.setParam(at++, l.taken.date);
                st.setParam(at++, l.taken.fuel);
                st.setParam(at, l.taken.litres);
            }
            st.execute();
        }
    }
};

InvoiceStorage::InvoiceStorage(Tdm_1& dm) : d(std::make_unique<Impl>(dm)) {}

InvoiceStorage::~InvoiceStorage()
{
    // Prepared statements go before the transaction they belong to ends.
    d->purchaseInserts.clear();
    d->lineInserts.clear();
    d->lookups.clear();
    releaseLocks();
}

InvoiceRegister InvoiceStorage::readRegister()
{
    InvoiceRegister r;
    fb::Transaction tr(&d->dm.db_opl, fb::Isolation::Snapshot);
    fb::Statement taxpayers(d->dm.db_opl, tr,
                            QStringLiteral("select NR_PODAT, NAZSKR, NIP, NAZWA from PODAT order by NR_PODAT"));
    taxpayers.execute();
    while (taxpayers.fetch())
        r.taxpayers.push_back({taxpayers.value(0).toInt(), taxpayers.value(1).toString(), taxpayers.value(2).toString(),
                               taxpayers.value(3).toString()});
    fb::Statement vehicles(d->dm.db_opl, tr,
                           QStringLiteral("select NR_REJ, NR_POD, NR_RODZ_PAL, D_ROZP_U, D_ZAK_U from SAM order by NR_REJ"));
    vehicles.execute();
    while (vehicles.fetch())
        r.vehicles.push_back({vehicles.value(0).toString(), vehicles.value(1).toInt(), vehicles.value(2).toInt(),
                              vehicles.value(3).toDate(), vehicles.value(4).toDate()});
    fb::Statement fuels(d->dm.db_opl, tr, QStringLiteral("select NR, NAZWA, PRZEL_L_KG from RODZ_PALIWA order by NR"));
    fuels.execute();
    while (fuels.fetch())
        r.fuels.push_back({fuels.value(0).toInt(), fuels.value(1).toString(), tenThousandths(fuels.value(2))});
    tr.commit();
    return r;
}

QHash<InvoiceId, QList<TakenInvoiceLine>> InvoiceStorage::takenLines(const QList<InvoiceId>& invoices)
{
    QHash<InvoiceId, QList<TakenInvoiceLine>> taken;
    try {
        for (int from = 0; from < invoices.size(); from += rowsPerStatement) {
            const int count = std::min<int>(rowsPerStatement, invoices.size() - from);
            fb::Statement& q = d->lookup(count);
            for (int i = 0; i < count; ++i) {
                q.setParam(2 * i, invoices[from + i].sellerNip);
                q.setParam(2 * i + 1, invoices[from + i].number);
            }
            q.execute();
            while (q.fetch())
                taken[{q.value(0).toString(), q.value(1).toString()}].append(
                    {q.value(2).toInt(), q.value(3).toInt(), q.value(4).toString(), q.value(5).toDate(), q.value(6).toInt(),
                     q.value(7).toDouble()});
        }
        d->tr.commit();
    } catch (...) {
        desktop::quietly("ending a look-up of e-invoice lines", [this] {
            if (d->tr.isActive())
                d->tr.rollback();
        });
        throw;
    }
    return taken;
}

QList<int> InvoiceStorage::lockTaxpayers(const QList<int>& taxpayers, const std::function<void()>& waiting)
{
    if (!d->locks)
        d->locks = std::make_unique<WorkLock>(d->dm.db_opl);
    return d->locks->take(Work::Purchases, taxpayers, waiting);
}

void InvoiceStorage::keepLocksAlive()
{
    if (d->locks)
        d->locks->keepAlive();
}

void InvoiceStorage::releaseLocks()
{
    d->locks.reset();
}

void InvoiceStorage::keepStatisticsTrue()
{
    keepIndexStatisticsTrue(d->dm.db_opl);
}

void InvoiceStorage::store(const QList<InvoicePurchase>& purchases, const QList<InvoiceLineRecord>& lines)
{
    try {
        const QList<int> numbers = purchases.isEmpty() ? QList<int>() : d->purchaseNumbers(purchases.size());
        d->insertPurchases(purchases, numbers);
        d->insertLines(lines, numbers);
        d->tr.commit();
    } catch (...) {
        desktop::quietly("rolling back e-invoice purchases", [this] {
            if (d->tr.isActive())
                d->tr.rollback();
        });
        throw;
    }
}

} // namespace data
