#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "data/period.h"

class Tdm_1;

namespace fb {
class Statement;
class Transaction;
}

namespace data {

class MultiRowInsert;
struct WriteOutcome;

// A vehicle as the ledger import matches entries to it.
struct LedgerVehicle {
    QString registration; // as stored
    QVariant fuel;
    QDate firstDay; // in use from (null: always)
    QDate lastDay;  // in use until (null: still)
};

// A new purchase of a ledger entry.
struct LedgerPurchase {
    QString registration;
    QVariant fuel;
    QString invoice;
    QDate day;
    double litres = 0;
};

// A purchase already stored, as the import's rule against repeated entries compares it.
struct StoredPurchase {
    QString registration;
    QString invoice;
    QDate day;
};

// What the ledger import reads and writes: the vehicles and stored purchases of a taxpayer,
// and the new purchases, many to a statement, committed together when asked. One run is one
// unit of work with a transaction of its own: what was not committed when the store goes is
// rolled back.
class LedgerPurchaseStore {
public:
    explicit LedgerPurchaseStore(Tdm_1& dm);
    ~LedgerPurchaseStore();
    LedgerPurchaseStore(const LedgerPurchaseStore&) = delete;
    LedgerPurchaseStore& operator=(const LedgerPurchaseStore&) = delete;

    // In registration order.
    QList<LedgerVehicle> vehiclesOf(int taxpayer);
    // The purchases of the taxpayer's vehicles dated in the period, read through the index
    // on vehicle and date whatever else the database holds.
    QList<StoredPurchase> storedPurchases(int taxpayer, const Period& period);
    // Stores the purchases, uncommitted; `outcome` gets for each the engine's words when it
    // refused that row (the others are stored). Throws when the database takes no row at all
    // (the server gone, a full disk), with `outcome` telling which rows were stored before.
    void insert(const std::vector<LedgerPurchase>& purchases, WriteOutcome& outcome);
    // Commits what was stored so far (the work goes on).
    void commit();
    // After a failure: logs it and drops what was not committed.
    void abandon(const std::exception& failure) noexcept;
    // A year of purchases at once leaves the optimizer's figures behind.
    void keepStatisticsTrue();

private:
    Tdm_1& dm_;
    std::unique_ptr<fb::Transaction> tr_;
    std::unique_ptr<MultiRowInsert> inserts_;
};

} // namespace data
