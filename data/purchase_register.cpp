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
    : snapshot_(dm.readReportsFromSnapshot())
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
    auto all = std::make_unique<fb::Statement>(dm.db_opl, tr, registerPurchasesSql(access));
    bindTaxpayerPeriod(*all, taxpayer, period);
    purchases_ = std::make_unique<Rows>(std::move(all));
    // In a long register, a first line of at most a quarter of the purchases is read apart
    // sooner than all of them are ordered.
    if (purchases >= 2000 && ofFirstLine * 4 <= purchases) {
        auto first = std::make_unique<fb::Statement>(dm.db_opl, tr, registerLinePurchasesSql());
        bindTaxpayerPeriod(*first, taxpayer, period);
        first->setParam(par::nr_rodz_siln, lines_.front().vehicleType);
        first->setParam(par::nr_rodz_pal, lines_.front().fuel);
        firstLine_ = std::make_unique<Rows>(std::move(first));
    }
}

PurchaseRegister::~PurchaseRegister() = default;

PurchaseRegister::Rows::Rows(std::unique_ptr<fb::Statement> query) : query_(std::move(query)) {}

PurchaseRegister::Rows::~Rows() = default;

bool PurchaseRegister::Rows::next()
{
    if (!running_) {
        query_->execute();
        running_ = true;
        ended_ = false;
    }
    if (!ended_ && !query_->fetch())
        ended_ = true;
    return !ended_;
}

void PurchaseRegister::startLine(size_t line)
{
    started_ = line;
    if (given_ && line <= *given_) {
        purchases_->restart();
        if (firstLine_)
            firstLine_->restart();
        ahead_.reset();
        lineOfFetched_ = 0;
        given_.reset();
    }
}

namespace {

RegisterPurchase purchaseOf(const fb::Statement& row)
{
    return {row.value(2).toString(), row.value(3).toString(), row.value(4).toDate(), row.value(5).toDouble()};
}

} // namespace

std::optional<PurchaseRegister::Ahead> PurchaseRegister::fetch()
{
    while (purchases_->next()) {
        const fb::Statement& row = purchases_->row();
        const int type = row.value(0).toInt();
        const int fuel = row.value(1).toInt();
        auto before = [&](const RegisterLine& l) { return l.vehicleType < type || (l.vehicleType == type && l.fuel < fuel); };
        while (lineOfFetched_ < lines_.size() && before(lines_[lineOfFetched_]))
            ++lineOfFetched_;
        if (lineOfFetched_ == lines_.size())
            return std::nullopt;
        const RegisterLine& l = lines_[lineOfFetched_];
        if (l.vehicleType != type || l.fuel != fuel)
            continue; // a purchase of no line: the two queries read one snapshot, so none comes
        return Ahead{lineOfFetched_, purchaseOf(row)};
    }
    return std::nullopt;
}

std::optional<RegisterPurchase> PurchaseRegister::nextPurchase()
{
    if (!purchases_)
        return std::nullopt;
    if (started_ == 0 && firstLine_) {
        if (!firstLine_->next())
            return std::nullopt;
        given_ = 0;
        return purchaseOf(firstLine_->row());
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
