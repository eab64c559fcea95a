#pragma once

#include <QWidget>

namespace dbw {

class DBGrid;

// The totals footer drawn under a DBGrid's rows, column by column, following the grid's
// horizontal scrolling.
class GridFooter : public QWidget {
    Q_OBJECT
public:
    explicit GridFooter(DBGrid* grid);
    int lineHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    DBGrid* grid_;
};

} // namespace dbw
