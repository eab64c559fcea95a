#pragma once

#include "dbwidgets/grid_delegate.h"

// The grid's cells of one column shown left-aligned, numbers included (the running number
// of a purchase reads as a label, not as an amount); editing stays the grid's own.
class LeftAlignedDelegate : public dbw::GridDelegate {
    Q_OBJECT
public:
    using dbw::GridDelegate::GridDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
