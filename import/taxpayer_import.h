#pragma once

#include <QFlags>
#include <QList>
#include <QString>
#include <functional>

#include "import/ledger_files.h"

class Tdm_1;

namespace ledger {

// An account of the list as the account grid shows it.
struct AccountRow {
    int number = 0;   // the record's number: the account number
    QString code;     // as stored, untrimmed
    QString fullName; // as stored
    QString nip;      // as stored
};

// The accounts of konta200.zqd in `folder` (wczytaj_konta): every record after the first
// whose code is not four blanks. Empty when the file cannot be read; a read error ends the
// list, keeping what was read.
QList<AccountRow> readAccounts(const QString& folder);

// What a run of the taxpayer import stopped before its last account says: the accounts it
// took so far stay taken.
QString stoppedLine(int taken);

// The fields of a stored taxpayer that the comparison dialog lets the user overwrite.
enum class TaxpayerField { Name = 1, ShortName = 2, Address = 4, Regon = 8, Nip = 16 };
Q_DECLARE_FLAGS(TaxpayerFields, TaxpayerField)

// What the comparison dialog shows: the line of the chosen list, the ledger's account and
// what is stored for the taxpayer of that number.
struct Comparison {
    QString line;
    Account ledger;
    QString name;      // NAZWA, trimmed
    QString shortName; // NAZSKR
    QString address;   // ADRES, trimmed
    QString regon;
    QString nip;
};

// Takes accounts of the PKPiR list over as taxpayers (przepisz_konto), through IBDS_pod_kp.
// For a taxpayer number already stored, `choose` decides which fields to overwrite (none:
// the row stays as it is).
class TaxpayerImport {
public:
    enum class Outcome { Created, Updated, Unchanged, PassedOver };
    using Choose = std::function<TaxpayerFields(const Comparison&)>;

    TaxpayerImport(Tdm_1& dm, QString folder, Choose choose);

    // One line of the chosen list. A line that is not a whole number throws ("'abc' is not a
    // valid integer value"), as does a row the database refuses.
    // An account another desk is taking over at the same time is refused after the wait
    // (ds::Error), as a refused row is.
    Outcome przepisz_konto(const QString& line);
    // The short name the last account got instead of its own, which another taxpayer has
    // (empty when it kept its own).
    const QString& shortNameGiven() const { return shortNameGiven_; }
    // Runs while an account waits for another desk.
    void setWaiting(std::function<void()> waiting) { waiting_ = std::move(waiting); }

private:
    Tdm_1& dm_;
    QString folder_;
    Choose choose_;
    std::function<void()> waiting_;
    QString shortNameGiven_;

    QString freeShortName(const QString& wanted, int number);
};

} // namespace ledger

Q_DECLARE_OPERATORS_FOR_FLAGS(ledger::TaxpayerFields)
