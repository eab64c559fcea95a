#include "import/invoice_preview.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "data/quantity_limits.h"
#include "import/ksef_matching.h"
#include "text/cp1250.h"

namespace ksef {

namespace {

// Statuses that matching again does not change.
bool settled(LineStatus s)
{
    return s == LineStatus::Stored || s == LineStatus::StoredBefore || s == LineStatus::Repeated || s == LineStatus::Busy;
}

} // namespace

bool isLeft(LineStatus status)
{
    return status != LineStatus::Ready && status != LineStatus::Stored && status != LineStatus::StoredBefore
           && status != LineStatus::Repeated;
}

InvoicePreview::InvoicePreview(std::shared_ptr<const data::InvoiceRegister> reg) : reg_(std::move(reg))
{
    for (int t = 0; t < static_cast<int>(reg_->taxpayers.size()); ++t)
        taxpayersByNip_[nipKey(reg_->taxpayers[t].nip)] << t;
    for (int v = 0; v < static_cast<int>(reg_->vehicles.size()); ++v) {
        const QString key = registrationKey(reg_->vehicles[v].registration);
        vehiclesByTaxpayer_[reg_->vehicles[v].taxpayer].insert(key, v);
        vehicleByKey_.insert(key, v);
    }
    for (const data::RegisterFuel& f : reg_->fuels)
        kgPerUnit_.insert(f.number, f.kgPerUnit);
}

void InvoicePreview::add(const QString& source, const Invoice& invoice,
                         const QHash<data::InvoiceId, QList<data::TakenInvoiceLine>>& taken)
{
    ++invoicesRead_;
    std::vector<std::pair<const InvoiceLine*, FuelKind>> fuelLines;
    for (const InvoiceLine& line : invoice.lines) {
        const FuelKind kind = fuelOfLine(line.cn, line.name);
        if (isFuel(kind)) {
            fuelLines.emplace_back(&line, kind);
            continue;
        }
        ++otherLines_;
        if (kind == FuelKind::Unknown && line.gtu == QLatin1String("GTU_02"))
            notes_.push_back({QStringLiteral("%1: faktura %2, wiersz %3 „%4”: oznaczony GTU_02, ale ani kod CN, ani nazwa "
                                             "nie wskazują paliwa silnikowego; nie przejęty")
                                  .arg(source, invoice.number)
                                  .arg(line.number)
                                  .arg(line.name),
                              false});
    }
    if (fuelLines.empty())
        return;
    const InvoiceRole role = roleOf(invoice.kind);
    if (role == InvoiceRole::Advance || role == InvoiceRole::Unknown) {
        notes_.push_back({QStringLiteral("%1: faktura %2 (%3) nie dokumentuje dostawy paliwa; pominięta")
                              .arg(source, invoice.number,
                                   role == InvoiceRole::Advance ? QStringLiteral("zaliczkowa") : QStringLiteral("rodzaj ") + invoice.kind),
                          false});
        return;
    }

    PreviewInvoice inv;
    inv.source = source;
    inv.id = {nipKey(invoice.sellerNip), invoice.number};
    inv.sellerName = invoice.sellerName;
    inv.invoiceDate = invoice.invoiceDate;
    inv.buyerNip = invoice.buyerNip;
    inv.buyerName = invoice.buyerName;
    inv.correction = role == InvoiceRole::Correction;
    if (!invoice.buyerNip.isEmpty())
        inv.taxpayers = taxpayersByNip_.value(nipKey(invoice.buyerNip));
    QChar bad;
    if (!text::toCp1250(invoice.number, &bad))
        inv.unstorable = bad;
    for (const CorrectedInvoice& c : invoice.corrected) {
        const data::InvoiceId id{inv.id.sellerNip, c.number};
        inv.corrected.push_back(id);
        inv.correctedBefore += taken.value(id);
    }
    QHash<QString, int> known;
    if (inv.taxpayers.size() == 1)
        known = vehiclesByTaxpayer_.value(reg_->taxpayers[inv.taxpayers.first()].number);
    inv.vehiclesNamed = vehiclesOfInvoice(invoice, known);
    const int index = static_cast<int>(invoices_.size());
    invoices_.push_back(inv);

    QHash<int, const data::TakenInvoiceLine*> before;
    const QList<data::TakenInvoiceLine> takenLines = taken.value(inv.id);
    for (const data::TakenInvoiceLine& t : takenLines)
        before.insert(t.line, &t);
    QHash<int, int>& seen = seen_[inv.id];
    QList<int> added;
    for (const auto& [line, kind] : fuelLines) {
        PreviewLine l;
        l.invoice = index;
        l.number = line->number;
        l.name = line->name;
        l.kind = kind;
        l.stateBefore = line->stateBefore;
        l.ownDate = deliveryDate(invoice, *line);
        l.date = l.ownDate.isValid() ? l.ownDate : invoice.invoiceDate;
        l.quantity = line->quantity;
        l.unit = unitOf(line->unit);
        l.unitText = line->unit;
        l.named = vehiclesOfLine(invoice, *line, known);
        if (const data::TakenInvoiceLine* t = before.value(line->number)) {
            l.status = LineStatus::StoredBefore;
            l.vehicle = vehicleOf(t->registration);
            l.date = t->date;
            l.fuel = t->fuel;
            l.amount = std::llround(t->litres * oneUnit);
        } else if (const auto first = seen.constFind(line->number); first != seen.constEnd()) {
            l.status = LineStatus::Repeated;
            l.repeats = *first;
        } else {
            seen.insert(line->number, index);
            linesOf_[inv.id] << static_cast<int>(lines_.size());
        }
        added << static_cast<int>(lines_.size());
        lines_.push_back(l);
    }
    if (inv.correction)
        correctionLines_ += added;
    for (int i : added)
        evaluate(i);
    if (inv.correction)
        rematchCorrections();
}

int InvoicePreview::vehicleOf(const QString& registration) const
{
    return vehicleByKey_.value(registrationKey(registration), -1);
}

int InvoicePreview::fuelFor(FuelKind kind, const data::RegisterVehicle& vehicle) const
{
    const QPair<int, int> key(static_cast<int>(kind), vehicle.fuel);
    const auto found = fuelFor_.constFind(key);
    if (found != fuelFor_.constEnd())
        return *found;
    return fuelFor_[key] = fuelForVehicle(kind, vehicle, reg_->fuels);
}

// The vehicles and dates of the purchases of the invoices a correction corrects: taken over
// before, or ready in this import.
QList<QPair<int, QDate>> InvoicePreview::correctedPurchases(const PreviewInvoice& invoice) const
{
    QList<QPair<int, QDate>> purchases;
    for (const data::TakenInvoiceLine& t : invoice.correctedBefore)
        if (const int v = vehicleOf(t.registration); v >= 0)
            purchases.append({v, t.date});
    for (const data::InvoiceId& id : invoice.corrected)
        for (int i : linesOf_.value(id)) {
            const PreviewLine& l = lines_[i];
            if ((l.status == LineStatus::Ready || l.status == LineStatus::Stored) && l.vehicle >= 0)
                purchases.append({l.vehicle, l.date});
        }
    return purchases;
}

// Finds the line's vehicle and its purchase date; NoVehicle, AmbiguousVehicle or
// UncorrectedUnknown when there is none to take.
void InvoicePreview::matchVehicle(PreviewLine& l, const PreviewInvoice& invoice)
{
    QList<int> candidates = l.chosen ? QList<int>{l.vehicle} : !l.named.isEmpty() ? l.named : invoice.vehiclesNamed;
    l.date = l.ownDate.isValid() ? l.ownDate : invoice.invoiceDate;
    l.vehicle = -1;
    l.candidates.clear();
    if (invoice.correction) {
        const QList<QPair<int, QDate>> corrected = correctedPurchases(invoice);
        if (candidates.isEmpty())
            for (const auto& [v, day] : corrected)
                if (!candidates.contains(v))
                    candidates << v;
        if (candidates.isEmpty()) {
            l.status = LineStatus::UncorrectedUnknown;
            return;
        }
        // The corrected purchase's date (of the vehicle's, when the correction names it too),
        // unless the correction gives one.
        if (!l.ownDate.isValid() && candidates.size() == 1) {
            QDate ofVehicle, ofAny;
            for (const auto& [v, day] : corrected) {
                ofAny = std::max(ofAny, day);
                if (v == candidates.first())
                    ofVehicle = std::max(ofVehicle, day);
            }
            if (ofVehicle.isValid() || ofAny.isValid())
                l.date = ofVehicle.isValid() ? ofVehicle : ofAny;
        }
    }
    if (candidates.size() > 1) {
        l.status = LineStatus::AmbiguousVehicle;
        l.candidates = candidates;
        return;
    }
    if (candidates.isEmpty()) {
        l.status = LineStatus::NoVehicle;
        return;
    }
    l.vehicle = candidates.first();
}

void InvoicePreview::evaluate(int index)
{
    PreviewLine& l = lines_[index];
    if (settled(l.status))
        return;
    const PreviewInvoice& invoice = invoices_[l.invoice];
    l.status = LineStatus::Ready;
    l.fuel = 0;
    l.amount = 0;
    if (invoice.taxpayers.isEmpty()) {
        l.status = LineStatus::UnknownBuyer;
        return;
    }
    if (invoice.taxpayers.size() > 1) {
        l.status = LineStatus::AmbiguousBuyer;
        return;
    }
    if (!invoice.unstorable.isEmpty()) {
        l.status = LineStatus::UnstorableNumber;
        return;
    }
    if (!l.quantity) {
        l.status = LineStatus::NoQuantity;
        return;
    }
    if (!unitFits(l.unit, l.kind)) {
        l.status = LineStatus::BadUnit;
        return;
    }
    matchVehicle(l, invoice);
    if (l.vehicle < 0)
        return;
    const data::RegisterVehicle& vehicle = reg_->vehicles[l.vehicle];
    if (vehicle.taxpayer != reg_->taxpayers[invoice.taxpayers.first()].number) {
        l.status = LineStatus::NoVehicle; // a vehicle chosen for another taxpayer's invoice
        l.vehicle = -1;
        return;
    }
    if (!inUseOn(vehicle, l.date)) {
        l.status = LineStatus::NotInUse;
        return;
    }
    l.fuel = fuelFor(l.kind, vehicle);
    if (l.fuel == 0) {
        l.status = LineStatus::WrongFuel;
        return;
    }
    const std::optional<Millionths> amount = inFuelUnit(*l.quantity, l.unit, kgPerUnit_.value(l.fuel));
    if (!amount) {
        l.status = LineStatus::NoFactor;
        return;
    }
    l.amount = l.stateBefore ? -*amount : *amount;
    if (!data::plausibleLitres(static_cast<double>(l.amount) / oneUnit))
        l.status = LineStatus::Implausible;
}

void InvoicePreview::rematchCorrections()
{
    for (int i : correctionLines_)
        evaluate(i);
    QSet<int> waiting; // corrections with a line left
    for (int i : correctionLines_)
        if (isLeft(lines_[i].status))
            waiting.insert(lines_[i].invoice);
    for (int i : correctionLines_)
        if (lines_[i].status == LineStatus::Ready && waiting.contains(lines_[i].invoice))
            lines_[i].status = LineStatus::CorrectionIncomplete;
}

QList<int> InvoicePreview::vehicleChoices(int line) const
{
    QList<int> choices;
    const PreviewLine& l = lines_[line];
    const PreviewInvoice& invoice = invoices_[l.invoice];
    if (invoice.taxpayers.size() != 1)
        return choices;
    const int owner = reg_->taxpayers[invoice.taxpayers.first()].number;
    for (int v = 0; v < static_cast<int>(reg_->vehicles.size()); ++v) {
        const data::RegisterVehicle& vehicle = reg_->vehicles[v];
        if (vehicle.taxpayer == owner && inUseOn(vehicle, l.date)
            && fuelFor(l.kind, vehicle) != 0)
            choices << v;
    }
    return choices;
}

LineStatus InvoicePreview::chooseVehicle(int line, int vehicle)
{
    PreviewLine& l = lines_[line];
    l.chosen = vehicle >= 0;
    l.vehicle = vehicle;
    evaluate(line);
    rematchCorrections();
    return lines_[line].status;
}

int InvoicePreview::giveUnnamedLines(int vehicle)
{
    const int owner = reg_->vehicles[vehicle].taxpayer;
    int given = 0;
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        PreviewLine& l = lines_[i];
        const PreviewInvoice& invoice = invoices_[l.invoice];
        const bool unnamed = l.status == LineStatus::NoVehicle || l.status == LineStatus::UncorrectedUnknown
                             || (l.status == LineStatus::AmbiguousVehicle && l.candidates.contains(vehicle));
        if (!unnamed || invoice.taxpayers.size() != 1 || reg_->taxpayers[invoice.taxpayers.first()].number != owner)
            continue;
        l.chosen = true;
        l.vehicle = vehicle;
        evaluate(i);
        given += lines_[i].status == LineStatus::Ready;
    }
    rematchCorrections();
    return given;
}

std::vector<PreviewTotal> InvoicePreview::totals() const
{
    QHash<QPair<int, int>, PreviewTotal> sums;
    for (const PreviewLine& l : lines_) {
        if (l.status != LineStatus::Ready)
            continue;
        const int taxpayer = reg_->taxpayers[invoices_[l.invoice].taxpayers.first()].number;
        PreviewTotal& t = sums[{taxpayer, l.fuel}];
        t.taxpayer = taxpayer;
        t.fuel = l.fuel;
        ++t.lines;
        t.amount += l.amount;
    }
    std::vector<PreviewTotal> totals(sums.cbegin(), sums.cend());
    std::sort(totals.begin(), totals.end(), [](const PreviewTotal& a, const PreviewTotal& b) {
        return std::tie(a.taxpayer, a.fuel) < std::tie(b.taxpayer, b.fuel);
    });
    return totals;
}

bool InvoicePreview::complete() const
{
    return std::none_of(lines_.begin(), lines_.end(), [](const PreviewLine& l) { return isLeft(l.status); })
           && std::none_of(notes_.begin(), notes_.end(), [](const FileNote& n) { return n.left; });
}

} // namespace ksef
