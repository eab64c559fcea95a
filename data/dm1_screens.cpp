// What each screen works on: the datasets it shows, opened for the time it is open and closed
// again when its handle goes. A screen never opens or closes a module dataset itself.
#include "data/dm1.h"

#include <initializer_list>

#include "data/field_names.h"

namespace {

// A lookup list another screen left open is read again, so that the names of rows written
// since then (here or on another desk) resolve too; one that was closed is opened.
void openFresh(ds::OpenedDatasets& opened, ds::Dataset& d)
{
    if (d.isActive() && !d.isEditing())
        d.refresh();
    opened.open(d);
}

// The taxpayer list in the order of their numbers while the handle lives; afterwards in the
// query's own order, which the purchase import relies on.
void openTaxpayerNumbers(ds::OpenedDatasets& opened, ds::Dataset& list)
{
    list.sortBy({{data::col::NR_PODAT, true}});
    opened.whenClosed([&list] { list.sortBy({}); });
    opened.own(list);
}

// A lookup list read fresh and left open after the screen: the vehicle screen's lookups stay
// for the screens that follow.
void openFreshAndKeep(ds::Dataset& d)
{
    if (d.isActive() && !d.isEditing())
        d.refresh();
    else if (!d.isActive())
        d.open();
}

// The datasets a screen owns, opened in this order and closed the last first.
ds::OpenedDatasets owning(std::initializer_list<ds::Dataset*> datasets)
{
    ds::OpenedDatasets opened;
    for (ds::Dataset* d : datasets)
        opened.own(*d);
    return opened;
}

} // namespace

ds::OpenedDatasets Tdm_1::openFuels()
{
    return owning({&ibds_pal});
}

ds::OpenedDatasets Tdm_1::openVehicleTypes()
{
    return owning({&IBDS_siln});
}

ds::OpenedDatasets Tdm_1::openParameters()
{
    return owning({&IBT_param});
}

ds::OpenedDatasets Tdm_1::openRates()
{
    readRateYears();
    ds::OpenedDatasets opened;
    opened.open(ibds_pal);
    opened.own(IBQ_siln1);
    // Closed first: an unposted rate is dropped before its master, the vehicle types, moves.
    opened.own(IBDS_opl);
    return opened;
}

void Tdm_1::showRatesOfYear(const QString& yearText)
{
    const bool open = IBDS_opl.isActive();
    IBDS_opl.close();
    chooseRates(yearText);
    if (open)
        IBDS_opl.open();
}

ds::OpenedDatasets Tdm_1::openTaxpayers()
{
    ds::OpenedDatasets opened;
    // Left open by another screen it may miss taxpayers written since by the import.
    if (IBDS_podat.isActive() && !IBDS_podat.isEditing())
        IBDS_podat.refresh();
    opened.own(IBDS_podat);
    return opened;
}

ds::OpenedDatasets Tdm_1::openVehicles()
{
    ds::OpenedDatasets opened;
    openTaxpayerNumbers(opened, IBQ_pod);
    openFreshAndKeep(IBDS_podat);
    openFreshAndKeep(IBDS_siln);
    openFreshAndKeep(ibds_pal);
    // Closed first, an unposted vehicle dropped: closing the taxpayer list first would make
    // the vehicles post it.
    opened.own(IBDS_sam);
    return opened;
}

ds::OpenedDatasets Tdm_1::openTaxpayerList()
{
    ds::OpenedDatasets opened;
    openTaxpayerNumbers(opened, IBQ_pod);
    return opened;
}

ds::OpenedDatasets Tdm_1::openPurchaseNames()
{
    ds::OpenedDatasets opened;
    openFresh(opened, ibds_pal);
    return opened;
}

ds::OpenedDatasets Tdm_1::openPurchases(const data::PeriodChoice& choice)
{
    choosePurchases(choice.period(), choice.taxpayer);
    chooseVehicles(choice.period(), choice.taxpayer);
    ds::OpenedDatasets opened;
    // The order chosen by a title click belongs to one showing of the purchases.
    opened.whenClosed([this] { IBDS_zak.sortBy({}); });
    opened.own(IBQ_sam_pod);
    opened.own(IBDS_zak);
    return opened;
}

ds::OpenedDatasets Tdm_1::openSettlementLines()
{
    // The settlement leaves its lines open for this window. The purchases are closed first:
    // closing the lines first would query them once more.
    return owning({&IBQ_rozl, &IBQ_rozl_d});
}

ds::OpenedDatasets Tdm_1::openLedgerTaxpayers()
{
    return owning({&IBDS_pod_kp});
}
