#include "report/band_item.h"

#include "report/row_source.h"
#include "report/values.h"

namespace report {

BandItem::BandItem(Kind kind, const QRectF& rect) : kind_(kind), rect_(rect) {}

QString BandItem::printedText(const RowSource* rows, int row) const
{
    QString s;
    switch (kind_) {
    case Kind::Text:
        s = text_;
        break;
    case Kind::Field:
        if (rows && row >= 0 && row < rows->rowCount())
            s = mask_.isEmpty() ? rows->displayText(text_, row) : formatValue(rows->value(text_, row), mask_);
        break;
    case Kind::Computed:
        if (compute_)
            s = compute_();
        break;
    default:
        return {};
    }
    if (onPrint)
        onPrint(s);
    return s;
}

} // namespace report
