#pragma once

#include <QHash>
#include <QPointer>
#include <QTableView>
#include <functional>

#include "dbwidgets/grid_column.h"

#include "dataset/data_source.h"

namespace ds {
class Dataset;
class Field;
}

namespace dbw {

class GridFooter;
class GridModel;

// A grid on a data source. Its current row is the dataset's current row: moving to another
// row posts a changed row (and drops a new row left unchanged). Cells are edited in place;
// Insert adds a row, Ctrl+Delete deletes one after asking, Down on the last row appends,
// Escape cancels the edit, Tab moves between cells, Ctrl+Enter presses the ellipsis button.
// Optional: whole-row or multi-row selection, bold titles, sort markers with sorting by a
// title click, and a totals footer.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    using FooterProvider = std::function<FooterCell(const QString& field)>;

    explicit DBGrid(QWidget* parent = nullptr);

    void setDataSource(ds::DataSource* source);
    ds::DataSource* dataSource() const { return source_; }
    ds::Dataset* dataset() const;
    GridModel* gridModel() const { return model_; }

    // The columns shown, in order; without them every visible field is a column.
    void setColumns(const QList<GridColumn>& columns);
    void setGridReadOnly(bool on);
    bool isGridReadOnly() const { return readOnly_; }
    void setRowSelect(bool on);
    void setMultiSelect(bool on);
    void setConfirmDelete(bool on) { confirmDelete_ = on; }
    void setBoldTitles(bool on);
    // Markers shown after the titles; with title sorting on, a click on a title sorts the
    // rows by that column (ascending, then descending on the next click).
    void setSortMarkers(const QList<QPair<QString, bool>>& markers);
    void setTitleSorting(bool on) { titleSorting_ = on; }

    ds::Field* currentField() const;
    QList<int> selectedRows() const;
    // The width that shows every column whole, with the row marker, a vertical scroll bar and
    // the frame.
    int widthForAllColumns() const;

    // Totals footer of `lines` lines under the grid; the provider gives each column's cell.
    void setFooter(int lines, FooterProvider provider);
    FooterCell footerCell(const QString& field) const;
    double columnSum(const QString& field, bool selectedOnly) const;
    void refreshFooter();

    // Deletes the current row after asking (when asking is on).
    void deleteCurrentRow();
    void pressEditButton();
    // A cell's editor was changed by the user: the current row goes into edit.
    void beginRowEdit();

signals:
    // The ellipsis button of the current cell was pressed.
    void editButtonClicked();
    void titleClicked(const QString& field);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int widestValue(const ds::Field& f) const;
    // widestValue, measured over all rows once per load of the dataset; between loads (a row
    // added, saved or deleted here) only the current row is measured again.
    int widestKnownValue(const ds::Field& f);
    void syncCurrent();
    // Writes the text of an open cell editor into its field before the row is posted.
    void commitOpenEditor();
    void dropEditorOfCancelledRow();
    void resizeColumnsFromFields();
    void titleClick(int section);
    bool canEditRows() const;

    QPointer<ds::DataSource> source_;
    GridModel* model_ = nullptr;
    GridFooter* footer_;
    QList<GridColumn> columns_;
    QHash<const ds::Field*, int> widest_;
    quint64 widestLoads_ = 0;
    const ds::Dataset* widestOf_ = nullptr;
    FooterProvider footerProvider_;
    int footerLines_ = 0;
    bool footerPending_ = false;
    bool readOnly_ = false;
    bool confirmDelete_ = true;
    bool titleSorting_ = false;
    bool syncing_ = false;
    bool reloading_ = false;
};

} // namespace dbw
