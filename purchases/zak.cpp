#include "purchases/zak.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "common/csv_export.h"
#include "common/period_chooser.h"
#include "data/dm1.h"
#include "data/field_names.h"
#include "data/fuel_rules.h"
#include "data/period.h"
#include "dataset/error.h"
#include "dbwidgets/cancel_control.h"
#include "dbwidgets/date_edit.h"
#include "dbwidgets/db_edit.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/db_lookup_list.h"
#include "dbwidgets/db_navigator.h"
#include "dbwidgets/leave_row.h"
#include "desktop/attempt.h"
#include "desktop/help_context.h"
#include "desktop/messages.h"
#include "desktop/quietly.h"
#include "purchases/purchases_help.h"
#include "text/csv.h"
#include "text/formats.h"

Tf_zak* f_zak = nullptr;


Tf_zak::Tf_zak(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::AsIs,
                 Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                     | Qt::WindowCloseButtonHint), dm_(dm)
{
    setObjectName(QStringLiteral("f_zak"));
    setWindowTitle(QStringLiteral("Zakupy paliwa"));
    desktop::setHelpContext(this, purchases_help::purchaseEntry);
    buildControls();

    // A keyed purchase is kept or dropped on purpose before another period shows.
    chooser_->setLeaveCheck([this] { return !isDataOpen() || keepKeyedPurchase(); });
    connect(chooser_, &common::PeriodChooser::chosen, this, &Tf_zak::choiceMade);
    connect(dblb_rodz_pal, &dbw::DBLookupList::clicked, this, &Tf_zak::dblb_rodz_palExit);
    connect(dblb_rodz_pal, &dbw::DBLookupList::exited, this, &Tf_zak::dblb_rodz_palExit);
    connect(dtp_dzak, &dbw::DateEdit::dateEdited, this, &Tf_zak::zm_dzak);
    // The module steers the picker, the fuel list and the note line while purchases are keyed.
    connect(&dm_, &Tdm_1::purchaseDaysChanged, dtp_dzak, &dbw::DateEdit::setDateRange);
    connect(&dm_, &Tdm_1::purchaseDateShown, dtp_dzak, &dbw::DateEdit::setDate);
    connect(&dm_, &Tdm_1::fuelChoiceAllowed, this, &Tf_zak::setFuelListEditable);
    connect(&dm_, &Tdm_1::purchaseNote, e_uwaga, &QLabel::setText);
    connect(&dm_, &Tdm_1::purchaseVehicleRefused, this,
            [this](const QString& message) { desktop::showWarning(message, {}, this); });
    // A date typed but not yet taken goes into the purchase before it is posted, or stops the
    // post when it cannot be taken.
    connect(&dm_.DS_zak, &ds::DataSource::updateRecord, this, [this] {
        if (!dtp_dzak->isModified() || dm_.steeringPurchaseDate())
            return;
        const QString refusal = dtp_dzak->problem();
        if (!refusal.isEmpty())
            throw ds::Error(refusal);
        dtp_dzak->commit();
    });
    connect(ch_wprow, &QCheckBox::clicked, this, &Tf_zak::ch_wprowClick);
    connect(kl_csv, &QPushButton::clicked, this, &Tf_zak::kl_csvClick);
    connect(a_ok, &QAction::triggered, this, &Tf_zak::a_okExecute);
    connect(a_anul, &QAction::triggered, this, &Tf_zak::a_anulExecute);
    connect(PC_zak, &QTabWidget::currentChanged, this, &Tf_zak::pageChanged);
    connect(&dm_.DS_zak, &ds::DataSource::stateChanged, this, &Tf_zak::updateActions);
    // A date typed for one purchase is never taken for another one, nor after a cancel.
    connect(&dm_.DS_zak, &ds::DataSource::scrolled, dtp_dzak, &dbw::DateEdit::revert);
    connect(&dm_.DS_zak, &ds::DataSource::stateChanged, this, [this] {
        if (!zak().isEditing())
            dtp_dzak->revert();
    });
    setFuelListEditable(false); // until a vehicle is chosen, the fuel follows the purchase
    updateActions();
}

Tf_zak::~Tf_zak()
{
    if (isDataOpen())
        desktop::quietly("posting the purchase being keyed", [this] { postIfComplete(); });
    closeDataIfOpen();
}

// The purchases that the screen shows and keys: IBDS_zak of the data module.
ds::Dataset& Tf_zak::zak() const
{
    return dm_.IBDS_zak;
}

int Tf_zak::selectedYear() const
{
    return chooser_->applied().year;
}

QString Tf_zak::selectedTaxpayer() const
{
    return chooser_->applied().taxpayer;
}

QDate Tf_zak::periodStart() const
{
    return chooser_->applied().start;
}

QDate Tf_zak::periodEnd() const
{
    return chooser_->applied().end;
}

QString Tf_zak::periodStartLiteral() const
{
    return text::sqlDateLiteral(periodStart());
}

QString Tf_zak::periodEndLiteral() const
{
    return text::sqlDateLiteral(periodEnd());
}

// Opening and closing --------------------------------------------------------------------

void Tf_zak::FormActivate()
{
    PC_zak->setCurrentWidget(ts_form);

    chooser_->setTaxpayers(dm_.taxpayerShortNames());

    const QDate today = QDate::currentDate();
    chooser_->present({}, today.year(), data::preselectedPart(data::YearParts::HalfYears, today.month()));

    // The lookups of the fuel names need the fuel table.
    fuels_ = dm_.openPurchaseNames();
    entry_.emplace(dm_);
    purchases_ = dm_.openPurchases(chooser_->applied());
    dblb_nrrej->setFocus();
}

void Tf_zak::FormDeactivate()
{
    purchases_.close();
    entry_.reset();
    fuels_.close();
}

// Period and taxpayer --------------------------------------------------------------------

// A new taxpayer, year or half-year; a list left without a change reads nothing again.
void Tf_zak::choiceMade(bool changed)
{
    if (isDataOpen() && changed)
        odswiez_zak();
}

void Tf_zak::odswiez_zak()
{
    purchases_.close();
    purchases_ = dm_.openPurchases(chooser_->applied());
    // Entry-only mode keeps a new purchase offered whatever the period.
    if (ch_wprow->isChecked())
        startNewPurchase();
    if (PC_zak->currentWidget() == ts_form)
        dblb_nrrej->setFocus();
}

// Purchase fields ------------------------------------------------------------------------

void Tf_zak::dblb_rodz_palExit()
{
    // Nothing chosen yet (a new purchase before its vehicle) is nothing to refuse, nor is a
    // purchase being dropped.
    if (checkingFuel_ || dblb_rodz_pal->isReadOnly() || !dblb_rodz_pal->currentItem() || dbw::focusGoesToCancel())
        return;
    if (data::isDieselFuel(dblb_rodz_pal->currentItem()->text()))
        return;
    QStringList fuels;
    for (int i = 0; i < dblb_rodz_pal->count(); ++i)
        fuels << dblb_rodz_pal->item(i)->text();
    checkingFuel_ = true;
    desktop::showInformation(data::wrongDieselFuelMessage(fuels), {}, this);
    checkingFuel_ = false;
    dblb_rodz_pal->setFocus();
}

void Tf_zak::zm_dzak(const QDate& picked)
{
    if (dm_.steeringPurchaseDate() || !zak().isActive())
        return;
    desktop::attempt(this, [&] {
        if (!zak().isEditing())
            zak().edit();
        zak().fieldByName(data::col::D_ZAK).setValue(picked);
    });
}

void Tf_zak::setFuelListEditable(bool editable)
{
    dblb_rodz_pal->setReadOnly(!editable);
    dblb_rodz_pal->setFocusPolicy(editable ? Qt::StrongFocus : Qt::ClickFocus);
}

// Export -------------------------------------------------------------------------------------

bool Tf_zak::eksport_csv(const QString& fileName, QString* error) const
{
    const data::PeriodChoice& choice = chooser_->applied();
    text::CsvLines csv;
    csv.text(QStringLiteral("Zakupy paliwa")).text(choice.taxpayer).text(data::periodName(choice.year, choice.part)).endLine();
    csv.text(QStringLiteral("Nr rejestracyjny")).text(QStringLiteral("Nr rachunku")).text(QStringLiteral("Data zakupu"));
    csv.text(QStringLiteral("Ilość w L")).text(QStringLiteral("Rodzaj paliwa")).endLine();
    const ds::Dataset& d = zak();
    const ds::Field& vehicle = d.fieldByName(data::col::NR_REJ);
    const ds::Field& invoice = d.fieldByName(data::col::NR_RACH);
    const ds::Field& day = d.fieldByName(data::col::D_ZAK);
    const ds::Field& litres = d.fieldByName(data::col::IL_ZAK);
    const ds::Field& fuel = d.fieldByName(data::calc::nazpal);
    double total = 0;
    for (int row = 0; row < d.recordCount(); ++row) {
        csv.text(vehicle.valueAt(row).toString()).code(invoice.valueAt(row).toString()).date(day.valueAt(row).toDate());
        csv.number(litres.valueAt(row).toDouble(), 2).text(fuel.valueAt(row).toString()).endLine();
        total += litres.valueAt(row).toDouble();
    }
    csv.text(QStringLiteral("Razem")).empty().empty().number(total, 2).endLine();
    return text::writeCsvFile(fileName, csv.toString(), error);
}

void Tf_zak::kl_csvClick()
{
    // Only stored purchases go out: the one being keyed is posted or dropped first.
    if (!isDataOpen() || !keepKeyedPurchase())
        return;
    const data::PeriodChoice& choice = chooser_->applied();
    common::exportCsv(this, common::periodCsvName(QStringLiteral("zakupy_") + choice.taxpayer, choice.year, choice.part),
                      [this](const QString& file, QString* error) { return eksport_csv(file, error); });
}

// Entry-only mode ------------------------------------------------------------------------

void Tf_zak::ch_wprowClick()
{
    const bool entryOnly = ch_wprow->isChecked();
    if (!keepKeyedPurchase()) {
        ch_wprow->setChecked(!entryOnly);
        return;
    }
    DBNavigator1->setVisible(!entryOnly);
    kl_ok->setVisible(entryOnly);
    kl_anuluj->setVisible(entryOnly);
    desktop::attempt(this, [&] {
        if (entryOnly)
            startNewPurchase();
        else if (zak().isEditing())
            zak().cancel();
    });
}

void Tf_zak::a_okExecute()
{
    if (!flushEditors() || !desktop::attempt(this, [this] {
            zak().post();
            startNewPurchase();
        }))
        return;
    dblb_nrrej->setFocus();
}

void Tf_zak::a_anulExecute()
{
    if (!desktop::attempt(this, [this] {
            zak().cancel();
            startNewPurchase();
        }))
        return;
    dblb_nrrej->setFocus();
}

// A new purchase, unless the one offered is new and untouched still (on an empty result
// the data module starts one by itself). It starts below the others, as the next one keyed.
void Tf_zak::startNewPurchase()
{
    if (zak().state() == ds::DatasetState::Insert && isUntouched())
        return;
    zak().append();
}

void Tf_zak::updateActions()
{
    const bool editing = zak().isEditing();
    a_ok->setEnabled(editing);
    a_anul->setEnabled(editing);
}

void Tf_zak::pageChanged(int)
{
    if (!isDataOpen())
        return;
    if (PC_zak->currentWidget() == ts_tab) {
        // The grid shows the purchase keyed on the form as stored, when it is complete.
        postIfComplete();
        if (DBGrid1->currentIndex().isValid())
            DBGrid1->scrollTo(DBGrid1->currentIndex(), QAbstractItemView::PositionAtCenter);
        return;
    }
    desktop::attempt(this, [this] {
        if (ch_wprow->isChecked() && zak().state() != ds::DatasetState::Insert)
            startNewPurchase();
    });
    dblb_nrrej->setFocus();
}

// Keeping keyed purchases ----------------------------------------------------------------

// Text typed but not yet written into the fields (a form edit, the date, a grid cell) goes
// in now; false when a field refused it (the refusal has been shown).
bool Tf_zak::flushEditors()
{
    return desktop::attempt(this, [this] { zak().updateRecord(); });
}

// A new purchase that holds nothing the user gave: no vehicle, invoice, fuel or quantity.
bool Tf_zak::isUntouched() const
{
    const ds::Dataset& d = zak();
    if (d.state() != ds::DatasetState::Insert)
        return false;
    for (const char* name : {"NR_REJ", "NR_RACH", "NR_RODZ_PAL", "IL_ZAK"})
        if (!d.fieldByName(QString::fromLatin1(name)).isNull())
            return false;
    return true;
}

// Posts the purchase being keyed or changed when it is complete. False when that failed
// (the error has been shown); an incomplete purchase stays as it is.
bool Tf_zak::postIfComplete()
{
    if (!flushEditors())
        return false;
    ds::Dataset& d = zak();
    if (!d.isActive() || !d.isEditing() || isUntouched() || (d.state() == ds::DatasetState::Edit && !d.isModified())
        || !dbw::missingValues(d).isEmpty())
        return true;
    return desktop::attempt(this, [&d] { d.post(); });
}

// Before the purchases are read again or the screen closes, the one rule for leaving a row.
// False when the user stays with the purchase.
bool Tf_zak::keepKeyedPurchase()
{
    if (dbw::leaveRow(zak(), this, [this] { return isUntouched(); }))
        return true;
    PC_zak->setCurrentWidget(ts_form);
    dblb_nrrej->setFocus();
    return false;
}
