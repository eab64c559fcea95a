#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "data/invoice_storage.h"
#include "import/ksef_fuel.h"
#include "import/ksef_invoice.h"
#include "import/ksef_package.h"

namespace ksef {

// Where a fuel line stands.
enum class LineStatus {
    Ready,                // will be stored
    Stored,               // stored by this import
    StoredBefore,         // taken over by an earlier import
    Repeated,             // the same line of the same invoice came in an earlier file of this import
    UnknownBuyer,         // the buyer's NIP is no taxpayer's
    AmbiguousBuyer,       // several taxpayers have that NIP
    UnstorableNumber,     // the invoice number has a character the database cannot hold
    NoQuantity,
    BadUnit,              // a unit that is neither the fuel's nor kilograms
    NoFactor,             // kilograms of a fuel without kilograms per unit
    Implausible,          // a quantity no invoice holds
    NoVehicle,
    AmbiguousVehicle,     // the invoice names several vehicles and the line none
    NotInUse,             // the vehicle was not in use on the purchase date
    WrongFuel,            // the vehicle does not take the fuel
    UncorrectedUnknown,   // a correction of an invoice never taken over that names no vehicle
    CorrectionIncomplete, // another fuel line of the correction is left: the correction waits whole
    Busy,                 // another desk is taking the taxpayer's purchases over
};

// Lines that were neither stored nor had been: the import is incomplete.
bool isLeft(LineStatus status);

// An invoice with fuel lines.
struct PreviewInvoice {
    QString source; // the file, or the package and its entry
    data::InvoiceId id;
    QString sellerName;
    QDate invoiceDate;
    QString buyerNip;
    QString buyerName;
    bool correction = false;
    QList<int> taxpayers;                // of the buyer's NIP (indices into the register): one when known
    std::vector<data::InvoiceId> corrected;
    QList<int> vehiclesNamed;            // for the whole invoice (indices into the register)
    QList<data::TakenInvoiceLine> correctedBefore; // the corrected invoices' lines taken over before
    QString unstorable;                  // a character of the number the database cannot hold
};

// A fuel line of an invoice, with what the matching made of it.
struct PreviewLine {
    int invoice = 0; // index into invoices()
    int number = 0;  // NrWierszaFa
    QString name;
    FuelKind kind = FuelKind::Unknown;
    bool stateBefore = false;
    QDate ownDate;   // the date the invoice gives the line (none: the purchase's date follows)
    std::optional<Millionths> quantity;
    UnitKind unit = UnitKind::Unknown;
    QString unitText;
    QList<int> named;     // vehicles named for the line itself (indices into the register)
    QList<int> candidates; // for AmbiguousVehicle: the vehicles it could be
    int vehicle = -1;     // index into the register's vehicles; -1 none
    bool chosen = false;  // by the user (or --vehicle), not found on the invoice
    QDate date;           // the purchase date
    int fuel = 0;         // the fuel stored
    Millionths amount = 0; // signed, in the fuel's unit (litres, m³)
    LineStatus status = LineStatus::Ready;
    int repeats = -1;     // for Repeated: the invoice first read with this line
};

// The ready quantity of one fuel of one taxpayer.
struct PreviewTotal {
    int taxpayer = 0;
    int fuel = 0;
    int lines = 0;
    Millionths amount = 0;
};

// Every fuel line found in the files read, matched against the register and the record of
// lines taken over; a line left for want of a vehicle can be given one before it is stored.
class InvoicePreview {
public:
    explicit InvoicePreview(std::shared_ptr<const data::InvoiceRegister> reg);

    const data::InvoiceRegister& reg() const { return *reg_; }
    const std::vector<PreviewInvoice>& invoices() const { return invoices_; }
    const std::vector<PreviewLine>& lines() const { return lines_; }
    // The files passed over or left, and the hints, in the order they were met.
    const std::vector<FileNote>& notes() const { return notes_; }

    // What was read besides the fuel lines.
    int documents() const { return documents_; }
    int invoicesRead() const { return invoicesRead_; }
    int otherLines() const { return otherLines_; }

    // The vehicles a line can be given: the buyer's, taking its fuel on its date.
    QList<int> vehicleChoices(int line) const;
    // Gives the line the vehicle and matches it again; its status after.
    LineStatus chooseVehicle(int line, int vehicle);
    // The vehicle of this registration (compared without blanks, hyphens and letter case); -1.
    int vehicleOf(const QString& registration) const;
    // Gives the vehicle to every line without one (and every ambiguous line that names it)
    // whose buyer owns it; the number of lines that became ready.
    int giveUnnamedLines(int vehicle);

    std::vector<PreviewTotal> totals() const;
    bool complete() const; // no line left and no file left

    // Building (the import's reading): an invoice read from a document, with the lines of it
    // and of the invoices it corrects taken over before.
    void add(const QString& source, const Invoice& invoice, const QHash<data::InvoiceId, QList<data::TakenInvoiceLine>>& taken);
    void addNote(const FileNote& note) { notes_.push_back(note); }
    void countDocument() { ++documents_; }

    // Storing.
    void setStatus(int line, LineStatus status) { lines_[line].status = status; }
    // Matches the corrections' lines again (after lines of the invoices they correct changed):
    // a correction is stored whole or not at all, its ready lines wait while another is left.
    void rematchCorrections();

private:
    void evaluate(int line);
    void matchVehicle(PreviewLine& l, const PreviewInvoice& invoice);
    int fuelFor(FuelKind kind, const data::RegisterVehicle& vehicle) const;
    QList<QPair<int, QDate>> correctedPurchases(const PreviewInvoice& invoice) const;

    std::shared_ptr<const data::InvoiceRegister> reg_;
    QHash<QString, QList<int>> taxpayersByNip_;
    QHash<int, QHash<QString, int>> vehiclesByTaxpayer_; // taxpayer number → registration key → vehicle
    QHash<QString, int> vehicleByKey_;
    QHash<int, qint64> kgPerUnit_;
    mutable QHash<QPair<int, int>, int> fuelFor_; // (line kind, vehicle's fuel) → fuel stored
    std::vector<PreviewInvoice> invoices_;
    std::vector<PreviewLine> lines_;
    std::vector<FileNote> notes_;
    QHash<data::InvoiceId, QHash<int, int>> seen_; // invoice → line number → invoice first read with it
    QHash<data::InvoiceId, QList<int>> linesOf_;   // invoice → its preview lines (the first reading)
    QList<int> correctionLines_;
    int documents_ = 0;
    int invoicesRead_ = 0;
    int otherLines_ = 0;
};

} // namespace ksef
