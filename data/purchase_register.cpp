#include "data/purchase_register.h"

#include "data/dm1.h"
#include "data/fee_arithmetic.h"
#include "data/field_names.h"
#include "data/report_reads.h"
#include "data/report_snapshot.h"
#include "data/settlement_queries.h"
#include "firebird/statement.h"

namespace data {

PurchaseRegister::PurchaseRegister(Tdm_1& dm, const QString& taxpayer, const Period& period)
    : snapshot_(dm.readReportsFromSnapshot()), taxpayer_(taxpayer), period_(period)
{
    fb::Transaction& tr = snapshot_->transaction();
    const QHash<int, QString> types = namesOf(dm.db_opl, tr, QStringLiteral("RODZ_SILNIKA"));
    const QHash<int, QString> fuels = namesOf(dm.db_opl, tr, QStringLiteral("RODZ_PALIWA"));
    const PurchaseAccess access = dm.purchaseAccessFor(taxpayer);
    fb::Statement sums(dm.db_opl, tr, registerLinesSql(access));
    bindTaxpayerPeriod(sums, taxpayer, period);
    sums.execute();
    qint64 purchases = 0, ofFirstLine = 0;
    while (sums.fetch()) {
        const qint64 count = sums.value(5).toLongLong();
        purchases += count;
        if (lines_.empty())
            ofFirstLine = count;
        RegisterLine line;
        line.vehicleType = sums.value(0).toInt();
        line.fuel = sums.value(1).toInt();
        line.vehicleTypeName = types.value(line.vehicleType);
        line.fuelName = fuels.value(line.fuel);
        line.litres = sums.value(4).isNull() ? 0.0 : sums.value(4).toDouble();
        line.tonnes = tonnesShown(line.litres, moneyOfColumn(sums.value(3)));
        lines_.push_back(std::move(line));
    }
    if (lines_.empty())
        return;
    purchases_ = std::make_unique<fb::Statement>(dm.db_opl, tr, registerPurchasesSql(access));
    // In a long register, a first line of at most a quarter of the purchases is read apart
    // sooner than all of them are ordered.
    if (purchases >= 2000 && ofFirstLine * 4 <= purchases) {
        firstLine_ = std::make_unique<fb::Statement>(dm.db_opl, tr, registerLinePurchasesSql());
        bindTaxpayerPeriod(*firstLine_, taxpayer, period);
        firstLine_->setParam(par::nr_rodz_siln, lines_.front().vehicleType);
        firstLine_->setParam(par::nr_rodz_pal, lines_.front().fuel);
    }
}

PurchaseRegister::~PurchaseRegister() = default;

void PurchaseRegister::startLine(size_t line)
{
    started_ = line;
    if (given_ && line <= *given_) {
        // Read again from the start: the queries run anew when their rows are asked for.
        executed_ = false;
        firstExecuted_ = false;
        given_.reset();
    }
}

std::optional<RegisterPurchase> PurchaseRegister::nextOfFirstLine()
{
    if (!firstExecuted_) {
        firstLine_->execute();
        firstExecuted_ = true;
        firstExhausted_ = false;
    }
    if (firstExhausted_ || !firstLine_->fetch()) {
        firstExhausted_ = true;
        return std::nullopt;
    }
    given_ = 0;
    return RegisterPurchase{firstLine_->value(2).toString(), firstLine_->value(3).toString(), firstLine_->value(4).toDate(),
                            firstLine_->value(5).toDouble()};
}

std::optional<PurchaseRegister::Ahead> PurchaseRegister::fetch()
{
    while (!exhausted_ && purchases_->fetch()) {
        const int type = purchases_->value(0).toInt();
        const int fuel = purchases_->value(1).toInt();
        auto before = [&](const RegisterLine& l) { return l.vehicleType < type || (l.vehicleType == type && l.fuel < fuel); };
        while (lineOfFetched_ < lines_.size() && before(lines_[lineOfFetched_]))
            ++lineOfFetched_;
        if (lineOfFetched_ == lines_.size())
            break;
        const RegisterLine& l = lines_[lineOfFetched_];
        if (l.vehicleType != type || l.fuel != fuel)
            continue; // a purchase of no line: the two queries read one snapshot, so none comes
        return Ahead{lineOfFetched_, {purchases_->value(2).toString(), purchases_->value(3).toString(),
                                      purchases_->value(4).toDate(), purchases_->value(5).toDouble()}};
    }
    exhausted_ = true;
    return std::nullopt;
}

std::optional<RegisterPurchase> PurchaseRegister::nextPurchase()
{
    if (!purchases_)
        return std::nullopt;
    if (started_ == 0 && firstLine_)
        return nextOfFirstLine();
    if (!executed_) {
        bindTaxpayerPeriod(*purchases_, taxpayer_, period_);
        purchases_->execute();
        executed_ = true;
        exhausted_ = false;
        ahead_.reset();
        lineOfFetched_ = 0;
    }
    // Purchases of lines before the one started were passed over (or read apart).
    while (!ahead_ || ahead_->line < started_) {
        ahead_ = fetch();
        if (!ahead_)
            return std::nullopt;
    }
    if (ahead_->line != started_)
        return std::nullopt;
    given_ = started_;
    RegisterPurchase p = std::move(ahead_->purchase);
    ahead_.reset();
    return p;
}

} // namespace data
