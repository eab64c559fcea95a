#include "import/purchase_import.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QSet>
#include <memory>

#include "data/ledger_purchase_store.h"
#include "data/multi_row_insert.h"
#include "data/vehicle_use.h"
#include "data/work_lock.h"
#include "dataset/error.h"
#include "import/description.h"
#include "import/ledger_files.h"
#include "text/cp1250.h"
#include "text/formats.h"

namespace ledger {

namespace {

// Rows committed together: a failure later keeps what went before.
constexpr int batchSize = 10000;
// Records read between two reports of progress while the PKPiR files are gathered.
constexpr int readingStep = 4096;

// Registration and invoice numbers are compared without regard to letter case.
QString purchaseKey(const QString& registration, const QDate& day, const QString& invoice)
{
    return registration.toUpper() + QChar(0x1F) + day.toString(Qt::ISODate) + QChar(0x1F) + invoice.toUpper();
}

QString dateText(const QDate& d)
{
    return text::formatDate(d);
}

} // namespace

struct PurchaseImport::State {
    PurchaseImportRun request;
    QSet<QString> purchases;               // the period's purchases of that taxpayer's vehicles, by purchaseKey
    int vehiclesOf = -1;                   // the taxpayer whose vehicles and purchases are loaded
    QHash<QString, data::LedgerVehicle> vehicles; // by upper-case registration number
    std::unique_ptr<data::LedgerPurchaseStore> store;
    // Purchases waiting to go to the database many to a statement, with what the log says
    // since the first of them, in order: a purchase the database refuses is logged at its
    // place among the other lines.
    struct Waiting {
        data::LedgerPurchase purchase;
        QString head; // of its log line, should the database refuse it
        QString key;  // by purchaseKey
    };
    std::vector<Waiting> waiting;
    struct Said {
        int purchase = -1; // a purchase of `waiting`, or else a line
        QString line;
    };
    std::vector<Said> said;
    int uncommitted = 0;
    int count = 0;                         // stored for the taxpayer being searched
    qint64 done = 0;                       // ledger records handled, for the progress
    qint64 total = 0;                      // of so many
};

PurchaseImport::PurchaseImport(Tdm_1& dm, Log log) : dm_(dm), log_(std::move(log)) {}

PurchaseImport::~PurchaseImport() = default;

void PurchaseImport::run(const PurchaseImportRun& request, const QDateTime& now)
{
    State state;
    state.request = request;
    state_ = &state;
    const auto reset = qScopeGuard([this] { state_ = nullptr; });

    // A folder that is not there is a slip in its name, not a folder without documents.
    if (!request.folder.isEmpty() && !QFileInfo(request.folder).isDir())
        throw ds::Error(QStringLiteral("Nie ma katalogu %1.").arg(QDir::toNativeSeparators(request.folder)));
    stopped_ = false;
    unreadable_.clear();
    const QString ledgerName = request.source == Source::Pkpir ? QStringLiteral("PKPiR") : QStringLiteral("FK");
    say(QStringLiteral("Import zakupów paliw z systemu %1. Wykonano %2 %3.")
             .arg(ledgerName, text::formatDate(now.date()), now.time().toString(QStringLiteral("HH:mm:ss"))));

    // Locked before any stored purchase is read: another desk's import of a taxpayer has
    // committed all its rows by the time its lock is free.
    data::WorkLock locks(dm_);
    lockTaxpayers(locks);
    heldLocks_ = &locks;
    const auto forget = qScopeGuard([this] { heldLocks_ = nullptr; });
    state.store = std::make_unique<data::LedgerPurchaseStore>(dm_);

    try {
        if (request.source == Source::Pkpir) {
            const PkpirDocuments documents = gatherPkpir(request);
            for (const QString& code : request.codes)
                state.total += documents.value(code).size();
            for (const QString& code : request.codes)
                searchPkpir(code, documents.value(code));
        } else if (!request.codes.isEmpty()) {
            searchFk(request.codes.first());
        }
        commit();
    } catch (const Stop&) {
        stopped_ = true;
        endEarly(QStringLiteral("Przerwano."));
        return;
    } catch (const std::exception& e) {
        endEarly(QStringLiteral("Import przerwany: %1.").arg(text::oneLine(QString::fromUtf8(e.what()))));
        throw;
    }
    state.store->keepStatisticsTrue();
    say(QStringLiteral("Koniec"));
}

// The last line of a run that ends early says what the database holds: what was stored
// before the stop is committed if the database still takes it, and counted only if it was.
void PurchaseImport::endEarly(const QString& why)
{
    QString lost;
    try {
        commit();
    } catch (const std::exception& e) {
        // What the transaction held, the waiting purchases written or refused by now.
        const int pending = state_->uncommitted;
        state_->store->abandon(e);
        state_->uncommitted = 0;
        lost = QStringLiteral(" Ostatnich zakupów (%1) nie zapisano.").arg(pending);
    }
    say(QStringLiteral("%1 Zapisane dotąd zakupy (%2) pozostają w bazie.%3").arg(why).arg(stored_).arg(lost));
}

void PurchaseImport::lockTaxpayers(data::WorkLock& locks)
{
    busy_.clear();
    const QStringList codes = state_->request.source == Source::Pkpir ? state_->request.codes
                                                                        : state_->request.codes.mid(0, 1);
    QList<int> numbers;
    for (const QString& code : codes)
        numbers << trimmed(code).toInt();
    const QList<int> held = locks.take(data::Work::Purchases, numbers, waiting_);
    for (const QString& code : codes)
        if (held.contains(trimmed(code).toInt()))
            busy_ << code;
}

bool PurchaseImport::passOverIfBusy(const QString& code)
{
    if (!busy_.contains(code))
        return false;
    say(QStringLiteral("Zakupy tego podatnika przejmuje teraz inne stanowisko; podatnik pominięty (przejmij je ponownie, "
                        "gdy tamto stanowisko skończy)."));
    say(QString(44, QLatin1Char('-')));
    return true;
}

void PurchaseImport::say(const QString& line)
{
    if (state_ && !state_->waiting.empty())
        state_->said.push_back({-1, line});
    else
        log_(line);
}

void PurchaseImport::writeWaiting()
{
    if (!state_ || state_->waiting.empty())
        return;
    State& st = *state_;
    const std::vector<State::Waiting> waiting = std::exchange(st.waiting, {});
    const std::vector<State::Said> said = std::exchange(st.said, {});
    std::vector<data::LedgerPurchase> rows;
    rows.reserve(waiting.size());
    for (const State::Waiting& w : waiting)
        rows.push_back(w.purchase);
    // Told in order: each line, and each refused purchase; after a failure that takes no row
    // at all, the purchases from the failing one on are neither stored nor counted (as a
    // purchase the database could not take was not), and the run ends with a line that says
    // what the database holds.
    data::WriteOutcome outcome;
    const auto tell = [&] {
        for (const State::Said& s : said) {
            if (s.purchase < 0) {
                log_(s.line);
                continue;
            }
            const bool written = s.purchase < outcome.done;
            const std::optional<QString> refusal = written ? outcome.refusals[static_cast<size_t>(s.purchase)] : std::nullopt;
            if (refusal)
                log_(waiting[s.purchase].head + QStringLiteral(" -baza danych nie przyjęła zakupu: ") + text::oneLine(*refusal));
            if (!written || refusal) {
                st.purchases.remove(waiting[s.purchase].key);
                --st.uncommitted;
                --st.count;
            }
        }
    };
    try {
        st.store->insert(rows, outcome);
    } catch (...) {
        tell();
        throw;
    }
    tell();
}

void PurchaseImport::commit()
{
    writeWaiting();
    if (state_ && state_->uncommitted > 0) {
        state_->store->commit();
        stored_ += state_->uncommitted;
        state_->uncommitted = 0;
    }
}

void PurchaseImport::loadVehicles(int taxpayer)
{
    if (state_->vehiclesOf == taxpayer)
        return;
    state_->vehicles.clear();
    state_->vehiclesOf = taxpayer;
    for (const data::LedgerVehicle& v : state_->store->vehiclesOf(taxpayer)) {
        const QString key = v.registration.toUpper();
        if (!state_->vehicles.contains(key)) // the first in registration order, as a search from the top finds it
            state_->vehicles.insert(key, v);
    }

    // Only this taxpayer's vehicles can take the entries, so only their purchases can repeat
    // one: read through the index on vehicle and date, whatever else the database holds. Read
    // after the taxpayer's work lock was taken.
    state_->purchases.clear();
    for (const data::StoredPurchase& p : state_->store->storedPurchases(taxpayer, state_->request.period))
        state_->purchases.insert(purchaseKey(p.registration, p.day, p.invoice));
}

bool PurchaseImport::przyjmij_zakup(const QString& code, const QString& registration, const QString& invoice,
                                    const QDate& day, double litres)
{
    // Made only for a line of the log: most entries are stored without one.
    const auto head = [&] {
        return code + QLatin1Char(' ') + registration + QLatin1Char(' ') + invoice + QLatin1Char(' ') + dateText(day);
    };
    const QString key = purchaseKey(registration, day, invoice);
    // Repeating one still waiting: that one is written first, so that a row the database
    // refuses is tried again, as when each was written at once.
    if (std::any_of(state_->waiting.cbegin(), state_->waiting.cend(), [&](const State::Waiting& w) { return w.key == key; }))
        writeWaiting();
    if (state_->purchases.contains(key)) {
        say(head() + QStringLiteral(" -jest już taki rekord w tablicy zakupów paliw"));
        return false;
    }
    const auto found = state_->vehicles.constFind(registration.toUpper());
    if (found == state_->vehicles.constEnd()) {
        say(head() + QStringLiteral(" -podatnik nie ma samochodu o takim numerze rej."));
        return false;
    }
    const data::LedgerVehicle& v = *found;
    if (!data::daysForImportedPurchases(v.firstDay, v.lastDay).contains(day))
        return false;
    // Written with the next ones; a database that takes no row at all throws then, and the
    // run stops at once.
    state_->said.push_back({static_cast<int>(state_->waiting.size()), {}});
    state_->waiting.push_back({{v.registration, v.fuel, invoice, day, litres}, head(), key});
    state_->purchases.insert(key);
    ++state_->uncommitted;
    if (state_->uncommitted >= batchSize)
        commit();
    else if (state_->waiting.size() >= size_t(data::MultiRowInsert::rowsPerStatement))
        writeWaiting();
    return true;
}

void PurchaseImport::stopIfAsked()
{
    if (stop_ && stop_())
        throw Stop{};
    if (heldLocks_)
        heldLocks_->keepAlive();
}

void PurchaseImport::tell(qint64 done, qint64 total)
{
    if (progress_)
        progress_(done, total);
}

void PurchaseImport::takeEntry(const QString& code, const QString& description, const QString& invoice,
                               const QString& invoiceShown, const QDate& day)
{
    stopIfAsked();
    const Description parsed = rozbierz_opis(description);
    switch (parsed.outcome) {
    case Description::Outcome::Purchase:
        if (przyjmij_zakup(code, parsed.registration, invoice, day, parsed.litres))
            ++state_->count;
        break;
    case Description::Outcome::BadQuantity:
    case Description::Outcome::NoRegistration:
        say(code + QLatin1Char(' ') + invoiceShown + QLatin1Char(' ') + dateText(day) + QLatin1Char(' ') + description
             + (parsed.outcome == Description::Outcome::BadQuantity ? QStringLiteral(" -niepoprawna ilość")
                                                                    : QStringLiteral(" -brak numeru rejestracyjnego")));
        break;
    case Description::Outcome::NotAPurchase:
        break;
    }
}

// A record whose date is no calendar date is passed over, and the log says which.
bool PurchaseImport::validDate(const QString& file, int record, int year, int month, int day, QDate& date)
{
    date = QDate(year, month, day);
    if (date.isValid())
        return true;
    say(QStringLiteral("Plik %1, rekord %2: data %3-%4-%5 nie jest datą kalendarzową; rekord pominięty")
             .arg(file)
             .arg(record + 1)
             .arg(day, 2, 10, QLatin1Char('0'))
             .arg(month, 2, 10, QLatin1Char('0'))
             .arg(year, 4, 10, QLatin1Char('0')));
    return false;
}

void PurchaseImport::logReadError(const QString& file, int lastRecord)
{
    say(QStringLiteral("Plik %1: błąd odczytu po rekordzie %2; dalsza część pliku pominięta").arg(file).arg(lastRecord + 1));
}

bool PurchaseImport::readable(const RecordFile& file, const QString& name)
{
    if (file.problem().isEmpty())
        return true;
    unreadable_ << QStringLiteral("%1 (%2)").arg(name, file.problem());
    say(QStringLiteral("Plik %1: nie można go odczytać (%2); plik pominięty").arg(name, file.problem()));
    return false;
}

void PurchaseImport::endOfSearch()
{
    // The count says what the database holds.
    commit();
    say(countLine(state_->count));
    say(QString(44, QLatin1Char('-')));
}

// One pass over the PKPiR files for all the chosen taxpayers: the records of each, in file
// order (with the read errors where they happened), so that a run of many taxpayers reads
// each file once rather than once per taxpayer.
PurchaseImport::PkpirDocuments PurchaseImport::gatherPkpir(const PurchaseImportRun& request)
{
    QHash<QByteArray, QString> codes; // account bytes → code
    for (const QString& code : request.codes)
        if (const auto bytes = text::toCp1250(code))
            codes.insert(*bytes, code);
    PkpirDocuments documents;
    for (const QString& name : pkpirFileNames()) {
        tell(0, 0);
        RecordFile file(pathOf(request.folder, name), PkpirEntry::size);
        if (!readable(file, name))
            continue;
        QByteArray bytes;
        while (file.next(bytes)) {
            // A large file keeps the window alive and can be stopped while it is read.
            if ((file.recordNumber() + 1) % readingStep == 0) {
                tell(0, 0);
                stopIfAsked();
            }
            // The account's characters, seen in place: most records are other taxpayers'.
            const int length = std::min(static_cast<int>(static_cast<unsigned char>(bytes[6])), 8);
            const auto found = codes.constFind(QByteArray::fromRawData(bytes.constData() + 7, length));
            if (found == codes.constEnd())
                continue;
            // Only what can be a purchase of the period, or must be told of (a date that is no
            // date), is kept: a year of a taxpayer's records need not stay in memory. The search
            // passes over a description without "/" in silence: it names no vehicle.
            const Record record(bytes);
            const PkpirEntry e = PkpirEntry::columnAndDate(record);
            const QDate day(e.year, e.month, e.day);
            if (day.isValid()
                && (!PkpirEntry::isFuelColumn(e.column, day) || day < request.period.start || day > request.period.end
                    || !PkpirEntry::descriptionOf(record).contains('/')))
                continue;
            documents[*found] << PkpirDocument{name, file.recordNumber(), QByteArray(bytes.constData(), bytes.size()), false};
        }
        if (file.failed())
            for (const QString& code : request.codes)
                documents[code] << PkpirDocument{name, file.recordNumber(), {}, true};
    }
    return documents;
}

void PurchaseImport::searchPkpir(const QString& code, const QList<PkpirDocument>& documents)
{
    say(QStringLiteral("Wyszukiwanie zakupów paliwa dla konta ") + code);
    if (passOverIfBusy(code))
        return;
    state_->count = 0;
    loadVehicles(trimmed(code).toInt());
    const data::Period& period = state_->request.period;
    for (const PkpirDocument& d : documents) {
        tell(++state_->done, state_->total);
        if (d.readError) {
            logReadError(d.file, d.record);
            continue;
        }
        const PkpirEntry e = PkpirEntry::from(Record(d.bytes));
        QDate day;
        if (!validDate(d.file, d.record, e.year, e.month, e.day, day))
            continue;
        if (!PkpirEntry::isFuelColumn(e.column, day) || day < period.start || day > period.end)
            continue;
        const QString invoice = decoded(e.document) + decoded(e.continuation);
        takeEntry(code, decoded(e.description), invoice.left(20), invoice, day);
    }
    endOfSearch();
}

void PurchaseImport::searchFk(const QString& code)
{
    if (passOverIfBusy(code))
        return;
    state_->count = 0;
    loadVehicles(trimmed(code).toInt());
    const data::Period& period = state_->request.period;
    const QStringList names = fkFileNames(period.start, period.end);
    for (const QString& name : names) {
        const QFileInfo info(pathOf(state_->request.folder, name));
        if (info.isFile())
            state_->total += info.size() / FkEntry::size;
    }
    for (const QString& name : names) {
        RecordFile file(pathOf(state_->request.folder, name), FkEntry::size);
        if (!readable(file, name))
            continue;
        QByteArray bytes;
        while (file.next(bytes)) {
            tell(++state_->done, state_->total);
            const FkEntry e = FkEntry::from(Record(bytes));
            QDate day;
            if (e.kind >= 100 || !e.account.startsWith('4')
                || !validDate(name, file.recordNumber(), e.year, e.month, e.day, day))
                continue;
            if (day < period.start || day > period.end)
                continue;
            const QString invoice = QString::number(e.document);
            takeEntry(code, decoded(e.description), invoice, invoice, day);
        }
        if (file.failed())
            logReadError(name, file.recordNumber());
    }
    endOfSearch();
}

} // namespace ledger
