#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include "data/office_overview.h"

namespace reports {

// The rows of the office overview for a table view: number, short name, NIP, vehicles,
// litres, tonnes, fee, threshold, status, what the taxpayer files (from 2013) and a mark for
// lines without a rate. Texts in the program's formats; the sort role gives numbers as
// numbers. The status is red when the fee is to be paid and green below the threshold.
class OverviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, ShortName, Nip, Vehicles, Litres, Tonnes, Fee, Threshold, Status, Filing, MissingRate, ColumnCount };
    static constexpr int SortRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setOverview(data::Overview overview);
    const data::Overview& overview() const { return overview_; }
    const data::OverviewRow& rowAt(int row) const { return overview_.rows.at(static_cast<std::size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    data::Overview overview_;
};

// The overview's rows in the order of a column: numbers by value, texts in the Polish
// alphabet whatever the machine's language settings.
class OverviewSorting : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

} // namespace reports
