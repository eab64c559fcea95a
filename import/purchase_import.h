#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "data/period.h"
#include "import/ledger_files.h"

class Tdm_1;

namespace data {
class WorkLock;
}

namespace ledger {

// One run of the fuel purchase import: the ledger, its folder, the period and the chosen
// taxpayer codes ("007"), as the screen holds them when "Przepisuj dane" is pressed.
struct PurchaseImportRun {
    Source source = Source::Pkpir;
    QString folder;
    data::Period period;
    QStringList codes;
};

// Takes the fuel purchases of the chosen taxpayers over from the ledger's documents into
// ZAK_PAL, writing the log line by line through `log`, exactly as the import screen shows it.
// Each entry is checked against the period's purchases (those stored earlier in the run
// included) and the taxpayer's vehicles, read once, not once per entry. Rows go in through
// bound parameters, many to a statement, and are committed in batches; a damaged record or a row the database
// refuses is logged and the run goes on. The run holds the lock of each chosen taxpayer's
// purchase import from before it reads the stored purchases until its rows are committed, so
// that two desks never store one purchase twice; a taxpayer another desk is importing is
// passed over with a line saying so.
class PurchaseImport {
public:
    using Log = std::function<void(const QString&)>;
    PurchaseImport(Tdm_1& dm, Log log);
    ~PurchaseImport();

    // The whole run: the header line (with `now`), each taxpayer's search, "Koniec".
    void run(const PurchaseImportRun& request, const QDateTime& now = QDateTime::currentDateTime());
    // The purchases the runs so far stored and committed.
    int stored() const { return stored_; }
    // Asked before each entry; when it says so, the run commits what it stored, says so in
    // the log and ends (stopped() then tells).
    void setStop(std::function<bool()> stop) { stop_ = std::move(stop); }
    bool stopped() const { return stopped_; }
    // The ledger files of the last run that are there but could not be read, each with the
    // reason (also in the log).
    const QStringList& unreadableFiles() const { return unreadable_; }
    // The codes of the taxpayers the last run passed over because another desk was importing
    // their purchases.
    const QStringList& busyElsewhere() const { return busy_; }
    // Runs while the run waits for another desk's import of the same taxpayer to end.
    void setWaiting(std::function<void()> waiting) { waiting_ = std::move(waiting); }
    // Told how far the run is: `done` of `total` ledger records; a total of 0 while it is not
    // yet known (PKPiR's files are being read).
    using Progress = std::function<void(qint64 done, qint64 total)>;
    void setProgress(Progress progress) { progress_ = std::move(progress); }

private:
    struct State;
    // A PKPiR record of a chosen taxpayer, or the place where reading a file failed.
    struct PkpirDocument {
        QString file;
        int record = 0;
        QByteArray bytes;
        bool readError = false;
    };
    using PkpirDocuments = QHash<QString, QList<PkpirDocument>>;
    PkpirDocuments gatherPkpir(const PurchaseImportRun& request);
    // Logs a file that is there but cannot be read; false for such a file.
    bool readable(const RecordFile& file, const QString& name);
    // Takes the locks of the chosen taxpayers' purchase imports; those held on another desk
    // after the wait are passed over.
    void lockTaxpayers(data::WorkLock& locks);
    bool passOverIfBusy(const QString& code);
    void searchPkpir(const QString& code, const QList<PkpirDocument>& documents);
    void searchFk(const QString& code);
    // The taxpayer's vehicles and their purchases of the period (for the rule of repeated entries).
    void loadVehicles(int taxpayer);
    void takeEntry(const QString& code, const QString& description, const QString& invoice, const QString& invoiceShown,
                   const QDate& day);
    bool validDate(const QString& file, int record, int year, int month, int day, QDate& date);
    void logReadError(const QString& file, int lastRecord);
    void endOfSearch();
    // Checks and stores one purchase (przyjmij_zakup); true when it was stored.
    bool przyjmij_zakup(const QString& code, const QString& registration, const QString& invoice, const QDate& day,
                        double litres);
    // A line of the log; while purchases wait to be written it waits with them.
    void say(const QString& line);
    // Writes the waiting purchases and logs, in order, the lines that waited with them.
    void writeWaiting();
    void commit();
    void endEarly(const QString& why);
    void stopIfAsked();
    void tell(qint64 done, qint64 total);
    struct Stop {};

    Tdm_1& dm_;
    Log log_;
    State* state_ = nullptr;
    int stored_ = 0;
    QStringList busy_;
    std::function<void()> waiting_;
    std::function<bool()> stop_;
    data::WorkLock* heldLocks_ = nullptr; // while a run holds its taxpayers' locks
    Progress progress_;
    bool stopped_ = false;
    QStringList unreadable_;
};

} // namespace ledger
