#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class Tdm_1;

namespace data {

// What the e-invoice import matches invoices against, read once per run.
struct RegisterTaxpayer {
    int number = 0;
    QString shortName;
    QString nip; // as the register holds it ("PL 123-456-32-18")
    QString name;
};

struct RegisterVehicle {
    QString registration; // as stored
    int taxpayer = 0;
    int fuel = 0;
    QDate firstDay; // D_ROZP_U
    QDate lastDay;  // D_ZAK_U; invalid while in use
};

struct RegisterFuel {
    int number = 0;
    QString name;
    qint64 kgPerUnit = 0; // PRZEL_L_KG in ten-thousandths of a kilogram; 0 when not given
};

struct InvoiceRegister {
    std::vector<RegisterTaxpayer> taxpayers; // by number
    std::vector<RegisterVehicle> vehicles;   // by registration
    std::vector<RegisterFuel> fuels;         // by number
};

// An invoice as the record of e-invoice lines knows it: the seller's NIP (its digits) and the
// invoice's whole number.
struct InvoiceId {
    QString sellerNip;
    QString number;
    bool operator==(const InvoiceId&) const = default;
};
size_t qHash(const InvoiceId& id, size_t seed = 0);

// A line of an e-invoice taken over, and what it became. Litres are signed: a correction's line
// of the state before counts against the purchase.
struct TakenInvoiceLine {
    int line = 0;
    int taxpayer = 0;
    QString registration;
    QDate date;
    int fuel = 0;
    double litres = 0.0;
};

// A purchase made of e-invoice lines: a row of ZAK_PAL. The invoice number is cut to the 20
// characters the purchase holds.
struct InvoicePurchase {
    QString registration;
    QString invoice;
    QDate date;
    int fuel = 0;
    double litres = 0.0;
};

// A line to record as taken over, with the purchase it went into (an index into the
// purchases stored with it; -1 for a correction's line whose difference came to nothing).
struct InvoiceLineRecord {
    InvoiceId invoice;
    TakenInvoiceLine taken;
    int purchase = -1;
};

// The storage of the e-invoice import: reads the register and the record of lines taken over,
// and stores purchases with their lines in units of work of its own, several rows to a
// statement. Writing is done under the work locks of the taxpayers whose purchases are
// written (the ledger import's: one desk at a time takes a taxpayer's purchases over).
class InvoiceStorage {
public:
    explicit InvoiceStorage(Tdm_1& dm);
    ~InvoiceStorage();
    InvoiceStorage(const InvoiceStorage&) = delete;
    InvoiceStorage& operator=(const InvoiceStorage&) = delete;

    InvoiceRegister readRegister();
    // The lines taken over before of each of the invoices (those never taken over are absent).
    // The vehicle and date are the purchase's as it stands now, where it still exists.
    QHash<InvoiceId, QList<TakenInvoiceLine>> takenLines(const QList<InvoiceId>& invoices);

    // Takes the locks of the taxpayers' purchases, waiting for another desk up to the bound
    // (running `waiting` between tries); returns those still held elsewhere.
    QList<int> lockTaxpayers(const QList<int>& taxpayers, const std::function<void()>& waiting = {});
    // Renews the locks' sign of life (long work calls it as it goes).
    void keepLocksAlive();
    void releaseLocks();
    // After many purchases at once: the optimizer's figures are measured again when they lag.
    void keepStatisticsTrue();

    // Stores the purchases and records the lines in one unit of work, committed; each purchase
    // takes the next number of G_ZAK. Nothing is stored when anything fails.
    void store(const QList<InvoicePurchase>& purchases, const QList<InvoiceLineRecord>& lines);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace data
