#pragma once

#include <QDateTime>
#include <QStringList>
#include <functional>
#include <memory>

#include "import/invoice_preview.h"

class Tdm_1;

namespace ksef {

// The import of fuel purchases from e-invoices, in two steps that a screen shows apart:
// preview (read the files and match every fuel line) and store (write the ready lines and the
// log). The command line runs the two at once.
class InvoiceImport {
public:
    using Log = std::function<void(const QString&)>;
    explicit InvoiceImport(Tdm_1& dm);
    ~InvoiceImport();

    // Reads the XML files, packages and folders (see walkDocuments) and matches every fuel line
    // against the register and the lines taken over before. Corrections are matched after the
    // deliveries, so that one finds the invoice it corrects in the same files.
    InvoicePreview preview(const QStringList& paths);

    // Stores the preview's ready lines, invoice by invoice, under the locks of their taxpayers'
    // purchases (a taxpayer another desk is importing is left after the wait); lines another
    // desk stored meanwhile count as taken over before. A delivery's line becomes a purchase;
    // a correction becomes, per vehicle, fuel and date, one purchase of the difference it makes
    // (none when that is nothing). The log: the heading with `now`, the files passed over or
    // left, the lines left with their reasons, each taxpayer's purchases stored, the counts,
    // "Koniec". Work is committed in units of whole invoices; a stop ends it between them.
    void store(InvoicePreview& preview, const Log& log, const QDateTime& now = QDateTime::currentDateTime());

    // The purchases stored and committed by the last store.
    int stored() const { return stored_; }
    // Asked between documents and between units of work.
    void setStop(std::function<bool()> stop) { stop_ = std::move(stop); }
    bool stopped() const { return stopped_; }
    // Runs between documents (the documents read, of a total not known: 0) and between the
    // invoices stored (the ready lines handled, of all ready lines): a window stays alive and
    // shows progress.
    void setProgress(std::function<void(qint64 done, qint64 total)> progress) { progress_ = std::move(progress); }
    // Runs while the store waits for another desk's import of the same taxpayer.
    void setWaiting(std::function<void()> waiting) { waiting_ = std::move(waiting); }

private:
    struct Unit;
    bool stopAsked();
    void lockAndRecheck(InvoicePreview& preview);
    void logLeft(const InvoicePreview& preview, const Log& log);
    void addInvoice(const InvoicePreview& preview, int invoice, const QList<int>& lines, Unit& unit);
    void commit(InvoicePreview& preview, Unit& unit);
    void summarize(const InvoicePreview& preview, const Log& log);

    std::unique_ptr<data::InvoiceStorage> storage_;
    std::function<bool()> stop_;
    std::function<void(qint64, qint64)> progress_;
    std::function<void()> waiting_;
    bool stopped_ = false;
    int stored_ = 0;
};

} // namespace ksef
