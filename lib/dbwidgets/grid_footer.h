#pragma once

#include <QHash>
#include <QWidget>

#include "dbwidgets/grid_column.h"

namespace dbw {

class DBGrid;

// The totals footer drawn under a DBGrid's rows, column by column, following the grid's
// horizontal scrolling.
class GridFooter : public QWidget {
    Q_OBJECT
public:
    explicit GridFooter(DBGrid* grid);
    int lineHeight() const;
    // Reads every column's cell again (kept for painting: a paint does not sum the rows) and
    // widens every column whose figure would not fit: a total is shown whole or not at all,
    // never with its leading digits cut off.
    void fitColumns();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QFont cellFont(bool bold) const;
    // The cell as last read, read now when it was not yet.
    const FooterCell& cellOf(const QString& field);
    DBGrid* grid_;
    QHash<QString, FooterCell> cells_;
};

} // namespace dbw
