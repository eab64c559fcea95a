// The data module's reactions: calculated fee fields, new-row defaults, keeping the lists
// of rate years and short names in step with the rows, and steering the date picker and
// fuel list of the purchase screen while purchases are keyed on it.
#include "data/dm1.h"
#include "data/vehicle_use.h"

#include <QScopeGuard>

#include <algorithm>
#include <utility>

#include "data/fee_arithmetic.h"
#include "data/field_names.h"
#include "data/fuel_rules.h"
#include "data/settlement.h"
#include "data/taxpayers.h"
#include "data/work_lock.h"
#include "dataset/error.h"
#include "firebird/one_request.h"
#include "text/formats.h"

namespace {

double floatOrZero(const ds::Field& f)
{
    return f.isNull() ? 0.0 : f.asFloat();
}

} // namespace

void Tdm_1::attachHandlers()
{
    IBQ_rozl.onCalcFields = [this](ds::Dataset& d) { calcSettlementLine(d); };
    IBQ_rozl_w.onCalcFields = [this](ds::Dataset& d) { calcStatementLine(d); };
    IBQ_opl_w.onCalcFields = [this](ds::Dataset& d) { calcRateOfYear(d); };
    IBQ_opl_w.afterClose = [this](ds::Dataset&) { statementLinesRead_ = false; };

    IBDS_opl.onNewRecord = [this](ds::Dataset& d) { IBDS_oplNewRecord(d); };
    IBDS_opl.afterPost = [this](ds::Dataset& d) { IBDS_oplAfterPost(d); };
    IBDS_opl.beforeDelete = [this](ds::Dataset& d) { deletedRateYear_ = d.fieldByName(data::col::ROK).asInteger(); };
    IBDS_opl.afterDelete = [this](ds::Dataset& d) { IBDS_oplAfterDelete(d); };

    IBDS_podat.beforePost = [this](ds::Dataset& d) { IBDS_podatBeforePost(d); };
    IBDS_podat.afterPost = [this](ds::Dataset& d) { IBDS_podatAfterPost(d); };
    IBDS_podat.beforeDelete = [this](ds::Dataset& d) { IBDS_podatBeforeDelete(d); };
    IBDS_podat.afterDelete = [this](ds::Dataset& d) { IBDS_podatAfterDelete(d); };

    IBDS_sam.onNewRecord = [this](ds::Dataset& d) { IBDS_samNewRecord(d); };
    IBDS_sam.beforePost = [](ds::Dataset& d) { IBDS_samBeforePost(d); };

    IBDS_zak.beforeEdit = [this](ds::Dataset& d) { IBDS_zakBeforeEdit(d); };
    IBDS_zak.onNewRecord = [this](ds::Dataset& d) { IBDS_zakNewRecord(d); };
    IBDS_zak.beforePost = [this](ds::Dataset& d) { IBDS_zakBeforePost(d); };
    IBDS_zak.aroundWrite = [this](const std::function<void()>& write) { writeUnderPurchaseLock(write); };
    IBDS_zak.beforeClose = [this](ds::Dataset&) { closingPurchases_ = true; };
    IBDS_zak.afterClose = [this](ds::Dataset&) { closingPurchases_ = false; };
    DS_zak.onDataChange = [this](ds::DataSource&, ds::Field* field) { DS_zakDataChange(field); };
    // The choice of a purchase's vehicle steers the purchase screen while one is open.
    IBDS_zak.fieldByName(data::col::NR_REJ).onChange = [this](ds::Field& f) {
        if (purchaseEntry_)
            ustal_rodz_pal(f);
    };
}

// An import of a taxpayer's purchases reads the stored ones once, as it starts, and holds the
// taxpayer's work lock until it ends: a purchase keyed on another desk meanwhile would be
// stored twice. A save takes the same lock for the moment of its write (of the vehicle's
// taxpayer before and after the change), and is refused in Polish while an import goes on
// beyond the bound; what was typed stays on the screen.
void Tdm_1::writeUnderPurchaseLock(const std::function<void()>& write)
{
    ds::Field& vehicle = IBDS_zak.fieldByName(data::col::NR_REJ);
    QList<int> taxpayers;
    QStringList names;
    // The owners of the vehicle before and after the change, in one request.
    const auto owners = fb::runOnce(db_opl, tr_opl,
                                    QStringLiteral("select s.NR_POD, p.NAZSKR, o.NR_POD, q.NAZSKR from RDB$DATABASE "
                                                   "left join SAM s on s.NR_REJ = ? left join PODAT p on p.NR_PODAT = s.NR_POD "
                                                   "left join SAM o on o.NR_REJ = ? left join PODAT q on q.NR_PODAT = o.NR_POD"),
                                    {vehicle.value(), vehicle.oldValue()},
                                    {fb::ColumnType::Integer, fb::ColumnType::VarChar, fb::ColumnType::Integer, fb::ColumnType::VarChar});
    for (int at = 0; owners && at < 4; at += 2) {
        const QVariant taxpayer = owners->at(at);
        if (taxpayer.isValid() && !taxpayers.contains(taxpayer.toInt())) {
            taxpayers << taxpayer.toInt();
            names << owners->at(at + 1).toString().trimmed();
        }
    }
    data::WorkLock lock(db_opl);
    if (!lock.take(data::Work::Purchases, taxpayers, {}, data::WorkLock::Holding::ForAMoment).isEmpty())
        throw ds::Error(QStringLiteral("Na innym stanowisku trwa właśnie import zakupów podatnika %1. Zakup nie został zapisany; "
                                       "wpisane dane są nadal na ekranie: zapisz je ponownie, gdy import się skończy.")
                            .arg(names.join(QStringLiteral(", "))));
    write();
}

// Calculated fields ----------------------------------------------------------------------

void Tdm_1::calcSettlementLine(ds::Dataset& d)
{
    const double litres = floatOrZero(d.fieldByName(data::col::ZAKKW));
    const double rate = floatOrZero(d.fieldByName(data::col::OPL_ZA_TONE));
    d.fieldByName(data::calc::opl).setValue(data::feeOrNothing(litres, d.fieldByName(data::col::PRZEL_L_KG).asMoney(), rate));
}

void Tdm_1::calcStatementLine(ds::Dataset& d)
{
    const double litres = floatOrZero(d.fieldByName(data::col::ZAKKW));
    const ds::Field& kgPerLitre = d.fieldByName(data::col::PRZEL_L_KG);
    const double rate = floatOrZero(d.fieldByName(data::col::OPL_ZA_TONE));
    d.fieldByName(data::calc::zakkw_t).setValue(data::tonnesShown(litres, kgPerLitre.asMoney()));
    d.fieldByName(data::calc::opl).setValue(data::feeOrNothing(litres, kgPerLitre.asMoney(), rate));
}

// The statement's figures from a settlement already computed for the same taxpayer and period.
void Tdm_1::takeStatementLines(const data::Settlement& settlement)
{
    statementLines_ = data::StatementFigureMap::of(settlement);
    statementLinesParams_ = {IBQ_rozl_w.param(data::par::naz), IBQ_rozl_w.param(data::par::dpocz),
                             IBQ_rozl_w.param(data::par::dkon)};
    statementLinesRead_ = true;
}

void Tdm_1::readStatementLines()
{
    statementLines_.clear();
    const bool wasOpen = IBQ_rozl_w.isActive();
    IBQ_rozl_w.open();
    const ds::Field& type = IBQ_rozl_w.fieldByName(data::col::NR_RODZ_SILN);
    const ds::Field& fuel = IBQ_rozl_w.fieldByName(data::col::NR_RODZ_PAL);
    const ds::Field& litres = IBQ_rozl_w.fieldByName(data::col::ZAKKW);
    const ds::Field& kgPerLitre = IBQ_rozl_w.fieldByName(data::col::PRZEL_L_KG);
    const ds::Field& rate = IBQ_rozl_w.fieldByName(data::col::OPL_ZA_TONE);
    for (int row = 0; row < IBQ_rozl_w.recordCount(); ++row)
        statementLines_.add(type.valueAt(row).toInt(), fuel.valueAt(row).toInt(),
                            litres.valueAt(row).isNull() ? 0.0 : litres.valueAt(row).toDouble(),
                            kgPerLitre.valueAt(row).value<text::Money>(), rate.valueAt(row));
    if (!wasOpen)
        IBQ_rozl_w.close();
}

void Tdm_1::calcRateOfYear(ds::Dataset& d)
{
    const QVariantList params{IBQ_rozl_w.param(data::par::naz), IBQ_rozl_w.param(data::par::dpocz),
                              IBQ_rozl_w.param(data::par::dkon)};
    if (!statementLinesRead_ || params != statementLinesParams_) {
        readStatementLines();
        statementLinesParams_ = params;
        statementLinesRead_ = true;
    }
    const data::StatementFigures f = statementLines_.at(d.fieldByName(data::col::NR_SILN).asInteger(),
                                                        d.fieldByName(data::col::NR_PALIWA).asInteger());
    d.fieldByName(data::calc::zuz).setValue(f.tonnes);
    d.fieldByName(data::calc::staw).setValue(f.rate);
    d.fieldByName(data::calc::wart).setValue(f.fee);
}

// Fee rates ------------------------------------------------------------------------------

void Tdm_1::IBDS_oplNewRecord(ds::Dataset& d)
{
    ds::Field& year = d.fieldByName(data::col::ROK);
    const QString shown = rateYear_.trimmed();
    year.setReadOnly(false);
    if (!shown.isEmpty()) {
        year.setValue(shown);
        year.setReadOnly(true);
    }
    ds::Field& type = d.fieldByName(data::col::NR_SILN);
    type.setReadOnly(false);
    type.setValue(IBQ_siln1.fieldByName(data::col::NR).value());
    type.setReadOnly(true);
}

void Tdm_1::IBDS_oplAfterPost(ds::Dataset& d)
{
    const QString year = QString::number(d.fieldByName(data::col::ROK).asInteger());
    if (rateYears_.contains(year))
        return;
    // Sorted as texts, which for four-digit years is the order of the years.
    rateYears_.insert(std::lower_bound(rateYears_.begin(), rateYears_.end(), year), year);
    emit rateYearsChanged(rateYears_, rateYear_);
}

void Tdm_1::IBDS_oplAfterDelete(ds::Dataset& d)
{
    const int year = deletedRateYear_;
    for (int row = 0; row < d.recordCount(); ++row)
        if (d.fieldByName(data::col::ROK).valueAt(row).toInt() == year)
            return;
    if (!rateYears_.removeOne(QString::number(year)))
        return;
    // The latest year left is shown (nothing, which is every year, when none is left).
    d.close();
    chooseRates(rateYears_.isEmpty() ? QString() : rateYears_.last());
    d.open();
    emit rateYearsChanged(rateYears_, rateYear_);
}

// Taxpayers ------------------------------------------------------------------------------

void Tdm_1::IBDS_podatBeforePost(ds::Dataset& d)
{
    // The database refuses a second taxpayer of the same short name; say so in words.
    const QVariant name = d.fieldByName(data::col::NAZSKR).value();
    if (name.isValid()) {
        // A new row has no number yet; numbers start at 1.
        const int own = d.fieldByName(data::col::NR_PODAT).oldValue().toInt();
        if (const auto other = data::Taxpayers(*this).holderOfShortName(name.toString(), own))
            throw ds::Error(QStringLiteral("Nazwa skrócona „%1” należy już do podatnika nr %2. Nazwa skrócona musi być niepowtarzalna.")
                                .arg(name.toString()).arg(*other));
    }
    stan_podat = d.state();
    oldShortName_ = d.fieldByName(data::col::NAZSKR).oldValue().toString();
}

void Tdm_1::IBDS_podatAfterPost(ds::Dataset& d)
{
    const QString name = d.fieldByName(data::col::NAZSKR).asString();
    if (stan_podat == ds::DatasetState::Edit && name != oldShortName_) {
        emit shortNameRemoved(oldShortName_);
        emit shortNameAdded(name);
    } else if (stan_podat == ds::DatasetState::Insert) {
        emit shortNameAdded(name);
    }
}

void Tdm_1::IBDS_podatBeforeDelete(ds::Dataset& d)
{
    nazskr_usun = d.fieldByName(data::col::NAZSKR).asString();
}

void Tdm_1::IBDS_podatAfterDelete(ds::Dataset&)
{
    emit shortNameRemoved(nazskr_usun);
}

// Vehicles -------------------------------------------------------------------------------

void Tdm_1::IBDS_samNewRecord(ds::Dataset& d)
{
    ds::Field& owner = d.fieldByName(data::col::NR_POD);
    owner.setReadOnly(false);
    owner.setValue(IBQ_pod.fieldByName(data::col::NR_PODAT).value());
    owner.setReadOnly(true);
}

// The last day of use cannot come before the first: purchases of such a vehicle would fall
// outside any time of use.
void Tdm_1::IBDS_samBeforePost(ds::Dataset& d)
{
    const ds::Field& first = d.fieldByName(data::col::D_ROZP_U);
    const ds::Field& last = d.fieldByName(data::col::D_ZAK_U);
    if (!first.isNull() && !last.isNull() && last.asDate() < first.asDate())
        throw ds::Error(QStringLiteral("Data zakończenia użytkowania %1 jest wcześniejsza niż data rozpoczęcia "
                                       "użytkowania %2.")
                            .arg(text::formatDate(last.asDate()), text::formatDate(first.asDate())));
}

// Purchases ------------------------------------------------------------------------------

// The days of the period shown on which the vehicle may take a purchase: the whole period
// when no vehicle is chosen (or it is not among the vehicles offered).
Tdm_1::DayRange Tdm_1::purchaseDays(const QVariant& vehicle) const
{
    DayRange days{purchaseEntry_->period.start, purchaseEntry_->period.end};
    if (!vehicle.isValid() || !IBQ_sam_pod.isActive())
        return days;
    const QStringList key{data::col::NR_REJ};
    if (!IBQ_sam_pod.lookup(key, {vehicle}, data::col::NR_REJ).isValid())
        return days;
    const data::DaysOfUse use = data::daysForKeyedPurchases(IBQ_sam_pod.lookup(key, {vehicle}, data::col::D_ROZP_U).toDate(),
                                                            IBQ_sam_pod.lookup(key, {vehicle}, data::col::D_ZAK_U).toDate());
    if (use.first.isValid() && use.first > days.first)
        days.first = use.first;
    if (use.last.isValid() && use.last < days.last)
        days.last = use.last;
    return days;
}

bool Tdm_1::vehicleBurnsDiesel(const QVariant& vehicle) const
{
    if (!vehicle.isValid() || !IBQ_sam_pod.isActive() || !ibds_pal.isActive())
        return false;
    const QVariant fuel = IBQ_sam_pod.lookup({data::col::NR_REJ}, {vehicle}, data::col::NR_RODZ_PAL);
    return fuel.isValid()
           && data::isDieselFuel(ibds_pal.lookup({data::col::NR}, {fuel}, data::col::NAZWA).toString());
}

void Tdm_1::ustal_rodz_pal(ds::Field& nrRej)
{
    if (!IBDS_zak.isEditing())
        IBDS_zak.edit();
    // The vehicle chosen in the grid's drop-down is not the current row of IBQ_sam_pod.
    const QVariant chosen = nrRej.value();
    if (!chosen.isValid() || !IBQ_sam_pod.isActive() || !IBQ_sam_pod.locate(data::col::NR_REJ, chosen))
        return;
    const bool screen = purchaseEntry_.has_value();
    const DayRange days = screen ? purchaseDays(chosen) : DayRange{};
    // The query offers a vehicle whose use ends after the period start even when it begins
    // after the period end; no day of the period could be picked for it.
    if (screen && days.first > days.last) {
        const QDate firstDay = IBQ_sam_pod.fieldByName(data::col::D_ROZP_U).asDate();
        const QDate lastDay = IBQ_sam_pod.fieldByName(data::col::D_ZAK_U).asDate();
        {
            const ds::Field::ReactionBlocker quiet(nrRej);
            nrRej.setValue(shownVehicle_);
        }
        const QString used = lastDay.isValid()
                                 ? QStringLiteral("od %1 do %2").arg(text::formatDate(firstDay), text::formatDate(lastDay))
                                 : QStringLiteral("od %1").arg(text::formatDate(firstDay));
        emit purchaseVehicleRefused(QStringLiteral("Samochód %1 nie był używany w okresie od %2 do %3 (użytkowanie: %4).\n"
                                                   "Zakupu nie można do niego zapisać; wybierz inny samochód.")
                                        .arg(chosen.toString(), text::formatDate(purchaseEntry_->period.start),
                                             text::formatDate(purchaseEntry_->period.end), used));
        return;
    }
    const QVariant fuel = IBQ_sam_pod.fieldByName(data::col::NR_RODZ_PAL).value();
    IBDS_zak.fieldByName(data::col::NR_RODZ_PAL).setValue(fuel);
    if (!screen)
        return;
    const QStringList key{data::col::NR};
    if (ibds_pal.lookup(key, {fuel}, data::col::NR).isValid())
        emit fuelChoiceAllowed(vehicleBurnsDiesel(chosen));
    admitInPicker(days.first, days.last);
    showInPicker(days.first);
}

void Tdm_1::DS_zakDataChange(ds::Field* field)
{
    if (!purchaseEntry_ || closingPurchases_ || !IBDS_zak.isActive())
        return;
    ds::Field& vehicle = IBDS_zak.fieldByName(data::col::NR_REJ);
    ds::Field& day = IBDS_zak.fieldByName(data::col::D_ZAK);
    // Suspended while the picker and the row are brought in step, so that neither reacts to
    // the other; resumed however this ends.
    const bool wasSteering = std::exchange(steeringPurchaseDate_, true);
    const ds::Field::ReactionBlocker quietVehicle(vehicle);
    const auto reattach = qScopeGuard([this, wasSteering] { steeringPurchaseDate_ = wasSteering; });

    if (field == &day && !settingPurchaseDate_)
        defaultPurchaseDate_ = false; // the user's own date from now on
    if (!field) {
        // Another purchase (or the same one posted or cancelled): the picker admits the days
        // of its own vehicle, and the date of a stored purchase is the user's.
        if (IBDS_zak.state() != ds::DatasetState::Insert)
            defaultPurchaseDate_ = false;
        const DayRange days = purchaseDays(vehicle.value());
        if (days.first <= days.last)
            admitInPicker(days.first, days.last);
        emit fuelChoiceAllowed(vehicleBurnsDiesel(vehicle.value()));
    }
    if (!day.isNull()) {
        showPurchaseDate(day.asDate());
    } else {
        // On an empty result this starts a new purchase, dated by the new-row reaction.
        showInPicker(purchaseEntry_->earliest);
        if (!IBDS_zak.isEditing())
            IBDS_zak.edit();
        if (day.isNull())
            setPurchaseDate(purchaseEntry_->shown);
    }
    shownVehicle_ = vehicle.value();
}

void Tdm_1::setPurchaseDate(const QDate& date)
{
    settingPurchaseDate_ = true;
    const auto reset = qScopeGuard([this] { settingPurchaseDate_ = false; });
    IBDS_zak.fieldByName(data::col::D_ZAK).setValue(date);
}

// The picker shows the purchase's date as it is: a date is never replaced by the screen.
// Only a new purchase's own default date follows the vehicle chosen for it, quietly; a date
// that the user gave and that lies outside the vehicle's days of use is pointed out, and the
// post refuses it (IBDS_zakBeforePost).
void Tdm_1::showPurchaseDate(const QDate& date)
{
    const QDate earliest = purchaseEntry_->earliest;
    const QDate latest = purchaseEntry_->latest;
    if (date >= earliest && date <= latest) {
        showInPicker(date);
        emit purchaseNote({});
        return;
    }
    if (IBDS_zak.state() == ds::DatasetState::Insert && defaultPurchaseDate_ && earliest <= latest) {
        const QDate moved = date < earliest ? earliest : latest;
        showInPicker(moved);
        setPurchaseDate(moved);
        emit purchaseNote({});
        return;
    }
    showInPicker(date);
    emit purchaseNote(IBDS_zak.isEditing() ? outOfRangeText(date) : QString());
}

void Tdm_1::showInPicker(const QDate& date)
{
    purchaseEntry_->shown = date;
    emit purchaseDateShown(date);
}

void Tdm_1::admitInPicker(const QDate& earliest, const QDate& latest)
{
    purchaseEntry_->earliest = earliest;
    purchaseEntry_->latest = latest;
    emit purchaseDaysChanged(earliest, latest);
}

QString Tdm_1::outOfRangeText(const QDate& date) const
{
    const QString vehicle = IBDS_zak.fieldByName(data::col::NR_REJ).asString();
    const DayRange days = purchaseDays(IBDS_zak.fieldByName(data::col::NR_REJ).value());
    const QString range = QStringLiteral("%1 – %2").arg(text::formatDate(days.first), text::formatDate(days.last));
    return vehicle.isEmpty()
               ? QStringLiteral("Data zakupu %1 leży poza okresem rozliczeniowym %2. Popraw datę zakupu.")
                     .arg(text::formatDate(date), range)
               : QStringLiteral("Data zakupu %1 leży poza dniami użytkowania samochodu %2 w okresie rozliczeniowym "
                                "(%3). Popraw datę zakupu.")
                     .arg(text::formatDate(date), vehicle, range);
}

void Tdm_1::IBDS_zakBeforeEdit(ds::Dataset& d)
{
    const ds::Field& day = d.fieldByName(data::col::D_ZAK);
    if (purchaseEntry_ && !day.isNull())
        showInPicker(day.asDate());
}

// Today, or the period's first day while today lies outside the period shown; set here,
// the date is the new row's own and not a change by the user.
void Tdm_1::IBDS_zakNewRecord(ds::Dataset& d)
{
    QDate day = QDate::currentDate();
    if (purchaseEntry_ && (day < purchaseEntry_->period.start || day > purchaseEntry_->period.end))
        day = purchaseEntry_->period.start;
    settingPurchaseDate_ = true;
    d.fieldByName(data::col::D_ZAK).setValue(day);
    settingPurchaseDate_ = false;
    defaultPurchaseDate_ = true;
}

// A purchase is stored only with a date on which its vehicle was in use in the period shown.
void Tdm_1::IBDS_zakBeforePost(ds::Dataset& d)
{
    const ds::Field& day = d.fieldByName(data::col::D_ZAK);
    if (!purchaseEntry_ || day.isNull())
        return;
    const DayRange days = purchaseDays(d.fieldByName(data::col::NR_REJ).value());
    if (day.asDate() < days.first || day.asDate() > days.last)
        throw ds::Error(outOfRangeText(day.asDate()));
}
