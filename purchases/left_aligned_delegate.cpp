#include "purchases/left_aligned_delegate.h"

void LeftAlignedDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    dbw::GridDelegate::initStyleOption(option, index);
    option->displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
}
