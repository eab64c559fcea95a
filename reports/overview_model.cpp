#include "reports/overview_model.h"

#include <QBrush>
#include <QColor>

#include "text/formats.h"
#include "text/polish_order.h"

namespace reports {

namespace {

const QColor aboveThreshold(Qt::red);
const QColor belowThreshold(0, 128, 0);

} // namespace

void OverviewModel::setOverview(data::Overview overview)
{
    beginResetModel();
    overview_ = std::move(overview);
    endResetModel();
}

int OverviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(overview_.rows.size());
}

int OverviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant OverviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const data::OverviewRow& r = rowAt(index.row());
    const bool within = overview_.withinThreshold(r);
    const auto filing = overview_.filing(r);
    if (role == SortRole) {
        switch (index.column()) {
        case Number: return r.number;
        case ShortName: return r.shortName.toLower();
        case Nip: return r.nip;
        case Vehicles: return r.vehicles;
        case Litres: return r.litres;
        case Tonnes: return r.tonnes;
        case Fee: return r.amountOutOfRange ? std::numeric_limits<double>::max() : r.amount.toDouble();
        case Threshold: return overview_.threshold.toDouble();
        case Status: return within ? 0 : 1;
        case Filing: return filing ? static_cast<int>(*filing) : -1;
        case MissingRate: return r.linesWithoutRate;
        default: return {};
        }
    }
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Number: return r.number;
        case ShortName: return r.shortName;
        case Nip: return r.nip;
        case Vehicles: return r.vehicles;
        case Litres: return text::formatFloat(QStringLiteral("#,##0.00"), r.litres);
        case Tonnes: return text::formatFloat(QStringLiteral("#,##0.000"), r.tonnes);
        case Fee: return r.amountOutOfRange ? QStringLiteral("poza zakresem") : text::formatMoney(r.amount);
        case Threshold: return text::formatMoney(overview_.threshold);
        case Status: return overview_.status(r);
        case Filing: return filing ? data::filingShort(*filing) : QString();
        case MissingRate: return r.linesWithoutRate > 0 ? QStringLiteral("brak stawki") : QString();
        default: return {};
        }
    }
    if (role == Qt::ForegroundRole && (index.column() == Status || index.column() == Fee))
        return QBrush(within ? belowThreshold : aboveThreshold);
    if (role == Qt::ForegroundRole && index.column() == MissingRate)
        return QBrush(aboveThreshold);
    if (role == Qt::TextAlignmentRole) {
        switch (index.column()) {
        case Number: case Vehicles: case Litres: case Tonnes: case Fee: case Threshold:
            return int(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    if (role == Qt::ToolTipRole && index.column() == Filing && filing)
        return data::filingSentence(*filing, overview_.threshold);
    if (role == Qt::ToolTipRole && index.column() == MissingRate && r.linesWithoutRate > 0)
        return QStringLiteral("Linii bez stawki opłaty: %1 (liczone jako 0,00 zł)").arg(r.linesWithoutRate);
    return {};
}

QVariant OverviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Number: return QStringLiteral("Nr");
    case ShortName: return QStringLiteral("Nazwa skrócona");
    case Nip: return QStringLiteral("NIP");
    case Vehicles: return QStringLiteral("Pojazdy");
    case Litres: return QStringLiteral("Zakup w L");
    case Tonnes: return QStringLiteral("Zakup w Mg");
    case Fee: return QStringLiteral("Opłata");
    case Threshold: return QStringLiteral("Próg");
    case Status: return QStringLiteral("Stan");
    case Filing: return QStringLiteral("Obowiązek");
    case MissingRate: return QStringLiteral("Stawki");
    default: return {};
    }
}

bool OverviewSorting::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const QVariant a = left.data(sortRole());
    const QVariant b = right.data(sortRole());
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
        return text::comparePolish(a.toString(), b.toString()) < 0;
    return QSortFilterProxyModel::lessThan(left, right);
}

} // namespace reports
