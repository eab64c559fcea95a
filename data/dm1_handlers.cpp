// The data module's reactions: calculated fee fields, new-row defaults, and keeping the
// lists of the open fee-rate and taxpayer screens in step with the rows.
#include "data/dm1.h"

#include "data/fee_arithmetic.h"

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

    IBDS_opl.onNewRecord = [this](ds::Dataset& d) { IBDS_oplNewRecord(d); };
    IBDS_opl.afterPost = [this](ds::Dataset& d) { IBDS_oplAfterPost(d); };
    IBDS_opl.beforeDelete = [this](ds::Dataset& d) { deletedRateYear_ = d.fieldByName(QStringLiteral("ROK")).asInteger(); };
    IBDS_opl.afterDelete = [this](ds::Dataset& d) { IBDS_oplAfterDelete(d); };

    IBDS_podat.beforePost = [this](ds::Dataset& d) { IBDS_podatBeforePost(d); };
    IBDS_podat.afterPost = [this](ds::Dataset& d) { IBDS_podatAfterPost(d); };
    IBDS_podat.beforeDelete = [this](ds::Dataset& d) { IBDS_podatBeforeDelete(d); };
    IBDS_podat.afterDelete = [this](ds::Dataset& d) { IBDS_podatAfterDelete(d); };

    IBDS_sam.onNewRecord = [this](ds::Dataset& d) { IBDS_samNewRecord(d); };
}

// Calculated fields ----------------------------------------------------------------------

void Tdm_1::calcSettlementLine(ds::Dataset& d)
{
    const double litres = floatOrZero(d.fieldByName(QStringLiteral("ZAKKW")));
    const text::Money kgPerLitre = d.fieldByName(QStringLiteral("PRZEL_L_KG")).asMoney();
    const double rate = floatOrZero(d.fieldByName(QStringLiteral("OPL_ZA_TONE")));
    d.fieldByName(QStringLiteral("opl")).setValue(QVariant::fromValue(data::lineFee(litres, kgPerLitre, rate)));
}

void Tdm_1::calcStatementLine(ds::Dataset& d)
{
    const double litres = floatOrZero(d.fieldByName(QStringLiteral("ZAKKW")));
    const text::Money kgPerLitre = d.fieldByName(QStringLiteral("PRZEL_L_KG")).asMoney();
    const double rate = floatOrZero(d.fieldByName(QStringLiteral("OPL_ZA_TONE")));
    d.fieldByName(QStringLiteral("zakkw_t")).setValue(data::tonnesShown(litres, kgPerLitre));
    d.fieldByName(QStringLiteral("opl")).setValue(QVariant::fromValue(data::lineFee(litres, kgPerLitre, rate)));
}

void Tdm_1::calcRateOfYear(ds::Dataset& d)
{
    const int type = d.fieldByName(QStringLiteral("NR_SILN")).asInteger();
    const int fuel = d.fieldByName(QStringLiteral("NR_PALIWA")).asInteger();
    IBQ_rozl_w.open();
    QVariant tonnes = 0.0;
    QVariant rate = QVariant::fromValue(text::Money());
    QVariant fee = QVariant::fromValue(text::Money());
    for (int row = 0; row < IBQ_rozl_w.recordCount(); ++row) {
        if (IBQ_rozl_w.fieldByName(QStringLiteral("NR_RODZ_SILN")).valueAt(row) == type
            && IBQ_rozl_w.fieldByName(QStringLiteral("NR_RODZ_PAL")).valueAt(row) == fuel) {
            tonnes = IBQ_rozl_w.fieldByName(QStringLiteral("zakkw_t")).valueAt(row);
            rate = IBQ_rozl_w.fieldByName(QStringLiteral("OPL_ZA_TONE")).valueAt(row);
            fee = IBQ_rozl_w.fieldByName(QStringLiteral("opl")).valueAt(row);
            break;
        }
    }
    IBQ_rozl_w.close();
    d.fieldByName(QStringLiteral("zuz")).setValue(tonnes);
    d.fieldByName(QStringLiteral("staw")).setValue(rate.isValid() ? rate : QVariant::fromValue(text::Money()));
    d.fieldByName(QStringLiteral("wart")).setValue(fee);
}

// Fee rates ------------------------------------------------------------------------------

void Tdm_1::IBDS_oplNewRecord(ds::Dataset& d)
{
    ds::Field& year = d.fieldByName(QStringLiteral("ROK"));
    const QString shown = feeRateScreen ? feeRateScreen->shownYear().trimmed() : QString();
    year.setReadOnly(false);
    if (!shown.isEmpty()) {
        year.setValue(shown);
        year.setReadOnly(true);
    }
    ds::Field& type = d.fieldByName(QStringLiteral("NR_SILN"));
    type.setReadOnly(false);
    type.setValue(IBQ_siln1.fieldByName(QStringLiteral("NR")).value());
    type.setReadOnly(true);
}

void Tdm_1::IBDS_oplAfterPost(ds::Dataset& d)
{
    const int year = d.fieldByName(QStringLiteral("ROK")).asInteger();
    if (feeRateScreen && !feeRateScreen->hasYear(year))
        feeRateScreen->addYear(year);
}

void Tdm_1::IBDS_oplAfterDelete(ds::Dataset& d)
{
    const int year = deletedRateYear_;
    for (int row = 0; row < d.recordCount(); ++row)
        if (d.fieldByName(QStringLiteral("ROK")).valueAt(row).toInt() == year)
            return;
    if (!feeRateScreen)
        return;
    feeRateScreen->removeYear(year);
    feeRateScreen->selectLastYear();
    d.close();
    feeRateScreen->rebuildRateQuery();
    d.open();
}

// Taxpayers ------------------------------------------------------------------------------

void Tdm_1::IBDS_podatBeforePost(ds::Dataset& d)
{
    stan_podat = d.state();
    oldShortName_ = d.fieldByName(QStringLiteral("NAZSKR")).oldValue().toString();
}

void Tdm_1::IBDS_podatAfterPost(ds::Dataset& d)
{
    if (!taxpayerScreen)
        return;
    const QString name = d.fieldByName(QStringLiteral("NAZSKR")).asString();
    if (stan_podat == ds::DatasetState::Edit && name != oldShortName_) {
        taxpayerScreen->removeShortName(oldShortName_);
        taxpayerScreen->addShortName(name);
    } else if (stan_podat == ds::DatasetState::Insert) {
        taxpayerScreen->addShortName(name);
    }
}

void Tdm_1::IBDS_podatBeforeDelete(ds::Dataset& d)
{
    nazskr_usun = d.fieldByName(QStringLiteral("NAZSKR")).asString();
}

void Tdm_1::IBDS_podatAfterDelete(ds::Dataset&)
{
    if (taxpayerScreen)
        taxpayerScreen->removeShortName(nazskr_usun);
}

// Vehicles -------------------------------------------------------------------------------

void Tdm_1::IBDS_samNewRecord(ds::Dataset& d)
{
    ds::Field& owner = d.fieldByName(QStringLiteral("NR_POD"));
    owner.setReadOnly(false);
    owner.setValue(IBQ_pod.fieldByName(QStringLiteral("NR_PODAT")).value());
    owner.setReadOnly(true);
}
