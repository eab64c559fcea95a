// What screens, report windows and the command line ask of the data module by what it does:
// each returns its answer, or a handle that keeps open what it opened until it goes.

#include "data/dm1.h"

#include "data/field_names.h"
#include "data/settlement.h"
#include "data/taxpayers.h"
#include "firebird/statement.h"
#include "text/polish_order.h"

#include <algorithm>

ds::OpenedDatasets Tdm_1::openStatement(const QString& taxpayer, int year, const data::Period& period,
                                        const data::Settlement* computed)
{
    chooseStatementLines(taxpayer, period);
    IBQ_sil_w.setParam(data::par::wybrok, year);
    IBQ_opl_w.setParam(data::par::wybrok, year);
    ds::OpenedDatasets opened;
    opened.open(IBQ_sil_w);
    // Taken after the master is open: opening IBQ_opl_w computes its fields from them.
    if (computed && computed->taxpayer == taxpayer && computed->period == period)
        takeStatementLines(*computed);
    opened.open(IBQ_opl_w);
    return opened;
}

ds::OpenedDatasets Tdm_1::openAggregateStatement(const QString& taxpayer)
{
    IBQ_zbior_w.setParam(data::par::naz, taxpayer);
    ds::OpenedDatasets opened;
    opened.open(IBQ_zbior_w);
    return opened;
}

ds::OpenedDatasets Tdm_1::openPurchaseRegister(const QString& taxpayer, const data::Period& period)
{
    chooseStatementLines(taxpayer, period);
    IBQ_rozl_w1.setParam(data::par::dpocz, period.start);
    IBQ_rozl_w1.setParam(data::par::dkon, period.end);
    IBQ_rozl_w1.setParam(data::par::naz, taxpayer);
    ds::OpenedDatasets opened;
    opened.open(IBQ_rozl_w);
    opened.open(IBQ_rozl_w1);
    return opened;
}

std::shared_ptr<ds::OpenedDatasets> Tdm_1::openNameLookups(NamesRead read)
{
    auto opened = nameLookups_.lock();
    if (!opened) {
        opened = std::make_shared<ds::OpenedDatasets>();
        nameLookups_ = opened;
    }
    // A row being edited is never read over.
    for (ds::Dataset* d : {&IBDS_siln, &ibds_pal}) {
        if (read == NamesRead::Again && d->isActive() && !d->isEditing())
            d->refresh();
        opened->open(*d);
    }
    return opened;
}

bool Tdm_1::taxpayerExists(const QString& shortName)
{
    return data::Taxpayers(*this).holderOfShortName(shortName).has_value();
}

QStringList Tdm_1::taxpayerShortNames()
{
    IBQ_pod_zak.close();
    ds::OpenedDatasets opened;
    opened.open(IBQ_pod_zak);
    QStringList names;
    const ds::Field& name = IBQ_pod_zak.fieldByName(data::col::NAZSKR);
    for (int row = 0; row < IBQ_pod_zak.recordCount(); ++row)
        names << name.valueAt(row).toString();
    opened.close();
    // The query's order is that of the stored bytes, which puts Ć after Ż.
    std::stable_sort(names.begin(), names.end(), text::beforeInNameOrder);
    return names;
}
