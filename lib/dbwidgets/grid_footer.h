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
    // Widens every column whose footer figure would not fit: a total is shown whole or not at
    // all, never with its leading digits cut off.
    void fitColumns();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QFont cellFont(bool bold) const;
    DBGrid* grid_;
};

} // namespace dbw
