#include "import/invoice_import.h"

#include <QMap>
#include <algorithm>

#include "data/invoice_storage.h"
#include "import/invoice_log.h"
#include "import/ksef_matching.h"
#include "import/ksef_package.h"
#include "import/ksef_reader.h"
#include "text/cp1250.h"
#include "text/formats.h"

namespace ksef {

namespace {

// Invoices whose record is looked up together, and purchases committed together: a stop or a
// failure keeps every unit committed before it (a commit waits for the disk: 2 000 a unit took
// a year's package a second longer than 10 000).
constexpr int invoicesPerLookup = 50;
constexpr int purchasesPerUnit = 10000;

// An invoice read, or the line of a document that gives none: the lines wait with the
// invoices, so that the log keeps the order of the files.
struct ReadInvoice {
    QString source;
    Invoice invoice;
    std::optional<FileNote> note;
};

bool storable(const data::InvoiceId& id)
{
    return text::toCp1250(id.sellerNip) && text::toCp1250(id.number);
}

QString noteOf(const Document& document, const ReadOutcome& read)
{
    switch (read.kind) {
    case ReadOutcome::Kind::NotAnInvoice:
        return QStringLiteral("Plik %1: nie jest e-fakturą (dokument %2); pominięty").arg(document.source(), read.detail);
    case ReadOutcome::Kind::UnknownStructure:
        return QStringLiteral("Plik %1: faktura w strukturze, której program nie zna (%2); pominięty")
            .arg(document.source(), read.detail.isEmpty() ? QStringLiteral("bez przestrzeni nazw")
                                                           : QStringLiteral("przestrzeń nazw ") + read.detail);
    case ReadOutcome::Kind::Broken:
        if (const QString failure = document.failure(); !failure.isEmpty())
            return QStringLiteral("Plik %1: nie można go odczytać (%2); pominięty").arg(document.source(), failure);
        return QStringLiteral("Plik %1: błąd w wierszu %2, kolumnie %3: %4; pominięty")
            .arg(document.source())
            .arg(read.line)
            .arg(read.column)
            .arg(read.detail);
    case ReadOutcome::Kind::Invoice: break;
    }
    return {};
}

} // namespace

// Purchases and lines of whole invoices, stored in one unit of work.
struct InvoiceImport::Unit {
    QList<data::InvoicePurchase> purchases;
    QList<data::InvoiceLineRecord> records;
    QList<int> lines; // preview lines stored with them
};

InvoiceImport::InvoiceImport(Tdm_1& dm) : storage_(std::make_unique<data::InvoiceStorage>(dm)) {}

InvoiceImport::~InvoiceImport() = default;

bool InvoiceImport::stopAsked()
{
    if (stop_ && stop_())
        stopped_ = true;
    return stopped_;
}

InvoicePreview InvoiceImport::preview(const QStringList& paths)
{
    stopped_ = false;
    InvoicePreview preview(std::make_shared<const data::InvoiceRegister>(storage_->readRegister()));
    std::vector<ReadInvoice> pending, corrections;
    const auto addAll = [&](std::vector<ReadInvoice>& invoices) {
        QList<data::InvoiceId> ids;
        for (const ReadInvoice& r : invoices) {
            if (r.note)
                continue;
            const QString seller = nipKey(r.invoice.sellerNip);
            ids << data::InvoiceId{seller, r.invoice.number};
            for (const CorrectedInvoice& c : r.invoice.corrected)
                ids << data::InvoiceId{seller, c.number};
        }
        ids.erase(std::remove_if(ids.begin(), ids.end(), [](const data::InvoiceId& id) { return !storable(id); }), ids.end());
        const auto taken = storage_->takenLines(ids);
        for (const ReadInvoice& r : invoices)
            if (r.note)
                preview.addNote(*r.note);
            else
                preview.add(r.source, r.invoice, taken);
        invoices.clear();
    };
    walkDocuments(
        paths,
        [&](Document& document) {
            preview.countDocument();
            ReadOutcome read = readInvoice(document.device());
            if (read.kind != ReadOutcome::Kind::Invoice) {
                pending.push_back({{}, {}, FileNote{noteOf(document, read), read.kind != ReadOutcome::Kind::NotAnInvoice}});
            } else if (roleOf(read.invoice.kind) == InvoiceRole::Correction) {
                corrections.push_back({document.source(), std::move(read.invoice), std::nullopt});
            } else {
                pending.push_back({document.source(), std::move(read.invoice), std::nullopt});
                if (static_cast<int>(pending.size()) >= invoicesPerLookup)
                    addAll(pending);
            }
            if (progress_)
                progress_(preview.documents(), 0);
        },
        [&](const FileNote& note) { pending.push_back({{}, {}, note}); }, [this] { return stopAsked(); });
    addAll(pending);
    // A correction of a correction comes after it.
    std::stable_sort(corrections.begin(), corrections.end(),
                     [](const ReadInvoice& a, const ReadInvoice& b) { return a.invoice.invoiceDate < b.invoice.invoiceDate; });
    for (size_t from = 0; from < corrections.size(); from += invoicesPerLookup) {
        std::vector<ReadInvoice> some(std::make_move_iterator(corrections.begin() + from),
                                      std::make_move_iterator(corrections.begin()
                                                              + std::min(corrections.size(), from + invoicesPerLookup)));
        addAll(some);
    }
    return preview;
}

// Takes the locks of the taxpayers with ready lines, and reads again what is taken over:
// another desk may have stored some of the lines since the preview.
void InvoiceImport::lockAndRecheck(InvoicePreview& preview)
{
    QList<int> taxpayers;
    QList<data::InvoiceId> ids;
    for (const PreviewLine& l : preview.lines()) {
        if (l.status != LineStatus::Ready)
            continue;
        const PreviewInvoice& invoice = preview.invoices()[l.invoice];
        const int number = preview.reg().taxpayers[invoice.taxpayers.first()].number;
        if (!taxpayers.contains(number))
            taxpayers << number;
        if (ids.isEmpty() || !(ids.last() == invoice.id))
            ids << invoice.id;
    }
    if (taxpayers.isEmpty())
        return;
    const QList<int> busy = storage_->lockTaxpayers(taxpayers, waiting_);
    const auto taken = storage_->takenLines(ids);
    for (int i = 0; i < static_cast<int>(preview.lines().size()); ++i) {
        const PreviewLine& l = preview.lines()[i];
        if (l.status != LineStatus::Ready)
            continue;
        const PreviewInvoice& invoice = preview.invoices()[l.invoice];
        const QList<data::TakenInvoiceLine> before = taken.value(invoice.id);
        if (std::any_of(before.begin(), before.end(), [&](const data::TakenInvoiceLine& t) { return t.line == l.number; }))
            preview.setStatus(i, LineStatus::StoredBefore);
        else if (busy.contains(preview.reg().taxpayers[invoice.taxpayers.first()].number))
            preview.setStatus(i, LineStatus::Busy);
    }
    preview.rematchCorrections();
}

void InvoiceImport::logLeft(const InvoicePreview& preview, const Log& log)
{
    const auto& lines = preview.lines();
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        if (!isLeft(lines[i].status))
            continue;
        if (lines[i].status != LineStatus::UnknownBuyer && lines[i].status != LineStatus::AmbiguousBuyer) {
            log(leftLine(preview, i));
            continue;
        }
        // Said once for the invoice, at its first fuel line.
        if (i > 0 && lines[i - 1].invoice == lines[i].invoice)
            continue;
        int count = 0;
        for (int j = i; j < static_cast<int>(lines.size()) && lines[j].invoice == lines[i].invoice; ++j)
            ++count;
        log(leftInvoice(preview, i, count));
    }
}

void InvoiceImport::addInvoice(const InvoicePreview& preview, int invoice, const QList<int>& lines, Unit& unit)
{
    const PreviewInvoice& inv = preview.invoices()[invoice];
    const int taxpayer = preview.reg().taxpayers[inv.taxpayers.first()].number;
    // A delivery's line is a purchase; a correction's lines make one purchase per vehicle,
    // fuel and date, of their sum: the difference it makes (none when that is nothing).
    struct Group {
        const PreviewLine* first;
        Millionths sum = 0;
        int purchase = -1;
    };
    std::vector<Group> groups;
    QList<int> groupOf;
    for (int i : lines) {
        const PreviewLine& l = preview.lines()[i];
        const auto same = [&](const Group& g) {
            return g.first->vehicle == l.vehicle && g.first->fuel == l.fuel && g.first->date == l.date;
        };
        auto g = inv.correction ? std::find_if(groups.begin(), groups.end(), same) : groups.end();
        if (g == groups.end())
            g = groups.insert(groups.end(), Group{&l});
        g->sum += l.amount;
        groupOf << static_cast<int>(g - groups.begin());
    }
    for (Group& g : groups) {
        if (g.sum == 0)
            continue;
        g.purchase = static_cast<int>(unit.purchases.size());
        unit.purchases << data::InvoicePurchase{preview.reg().vehicles[g.first->vehicle].registration, inv.id.number,
                                                g.first->date, g.first->fuel, static_cast<double>(g.sum) / oneUnit};
    }
    for (int n = 0; n < lines.size(); ++n) {
        const PreviewLine& l = preview.lines()[lines[n]];
        const data::TakenInvoiceLine taken{l.number, taxpayer, preview.reg().vehicles[l.vehicle].registration, l.date, l.fuel,
                                           static_cast<double>(l.amount) / oneUnit};
        unit.records << data::InvoiceLineRecord{inv.id, taken, groups[groupOf[n]].purchase};
        unit.lines << lines[n];
    }
}

void InvoiceImport::commit(InvoicePreview& preview, Unit& unit)
{
    if (unit.records.isEmpty())
        return;
    storage_->store(unit.purchases, unit.records);
    stored_ += static_cast<int>(unit.purchases.size());
    for (int i : unit.lines)
        preview.setStatus(i, LineStatus::Stored);
    unit = Unit();
    storage_->keepLocksAlive();
}

void InvoiceImport::store(InvoicePreview& preview, const Log& log, const QDateTime& now)
{
    stored_ = 0;
    log(QStringLiteral("Import zakupów paliw z e-faktur (KSeF). Wykonano %1 %2.")
            .arg(text::formatDate(now.date()), now.time().toString(QStringLiteral("HH:mm:ss"))));
    for (const FileNote& note : preview.notes())
        log(note.text);
    if (stopAsked()) {
        log(QStringLiteral("Przerwano. Zapisane dotąd zakupy (0) pozostają w bazie."));
        return;
    }
    try {
        lockAndRecheck(preview);
        logLeft(preview, log);
        Unit unit;
        QList<int> lines;
        const auto& all = preview.lines();
        const qint64 ready = std::count_if(all.begin(), all.end(), [](const PreviewLine& l) { return l.status == LineStatus::Ready; });
        qint64 handled = 0;
        for (int i = 0; i < static_cast<int>(all.size()); ++i) {
            if (all[i].status == LineStatus::Ready)
                lines << i;
            if (lines.isEmpty() || (i + 1 < static_cast<int>(all.size()) && all[i + 1].invoice == all[i].invoice))
                continue;
            addInvoice(preview, all[i].invoice, lines, unit);
            handled += lines.size();
            lines.clear();
            if (progress_)
                progress_(handled, ready);
            if (unit.purchases.size() >= purchasesPerUnit) {
                commit(preview, unit);
                if (stopAsked())
                    break;
            }
        }
        if (!stopped_)
            commit(preview, unit);
    } catch (const std::exception& e) {
        storage_->releaseLocks();
        log(QStringLiteral("Import przerwany: %1. Zapisane dotąd zakupy (%2) pozostają w bazie.")
                .arg(text::oneLine(QString::fromUtf8(e.what())))
                .arg(stored_));
        throw;
    }
    storage_->releaseLocks();
    if (stopped_) {
        log(QStringLiteral("Przerwano. Zapisane dotąd zakupy (%1) pozostają w bazie.").arg(stored_));
        return;
    }
    storage_->keepStatisticsTrue();
    summarize(preview, log);
}

void InvoiceImport::summarize(const InvoicePreview& preview, const Log& log)
{
    // Each taxpayer's purchases stored, by fuel.
    QMap<int, QMap<int, Millionths>> amounts;
    QMap<int, int> lines;
    int stored = 0, before = 0, repeated = 0, left = 0;
    for (const PreviewLine& l : preview.lines()) {
        switch (l.status) {
        case LineStatus::Stored: {
            ++stored;
            const int taxpayer = preview.reg().taxpayers[preview.invoices()[l.invoice].taxpayers.first()].number;
            amounts[taxpayer][l.fuel] += l.amount;
            ++lines[taxpayer];
            break;
        }
        case LineStatus::StoredBefore: ++before; break;
        case LineStatus::Repeated: ++repeated; break;
        default: ++left; break;
        }
    }
    for (auto t = amounts.cbegin(); t != amounts.cend(); ++t) {
        QString shortName;
        for (const data::RegisterTaxpayer& taxpayer : preview.reg().taxpayers)
            if (taxpayer.number == t.key())
                shortName = taxpayer.shortName;
        QStringList fuels;
        for (auto f = t->cbegin(); f != t->cend(); ++f)
            for (const data::RegisterFuel& fuel : preview.reg().fuels)
                if (fuel.number == f.key())
                    fuels << QStringLiteral("%1 %2 %3").arg(fuel.name, quantityText(*f),
                                                            unitSymbol(unitOfFuel(fuelOfName(fuel.name))));
        log(QStringLiteral("Podatnik %1: zapisano %2 (%3)")
                .arg(shortName,
                     counted(lines.value(t.key()), QStringLiteral("wiersz paliwa"), QStringLiteral("wiersze paliwa"),
                             QStringLiteral("wierszy paliwa")),
                     fuels.join(QStringLiteral("; "))));
    }
    log(QStringLiteral("Przeczytano: plików %1, faktur %2. Wiersze paliwa: zapisane %3, przejęte wcześniej %4, "
                       "powtórzone %5, pozostawione %6; wierszy innych niż paliwo: %7.")
            .arg(preview.documents())
            .arg(preview.invoicesRead())
            .arg(stored)
            .arg(before)
            .arg(repeated)
            .arg(left)
            .arg(preview.otherLines()));
    log(QStringLiteral("Zapisano %1.").arg(counted(stored_, QStringLiteral("zakup"), QStringLiteral("zakupy"),
                                                    QStringLiteral("zakupów"))));
    log(QStringLiteral("Koniec"));
}

} // namespace ksef
