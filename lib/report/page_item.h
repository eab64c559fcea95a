#pragma once

#include <QLineF>
#include <QRectF>
#include <QString>

#include "report/font.h"
#include "report/kinds.h"

namespace report {

// One positioned thing of a computed page, in millimetres from the paper's top-left corner.
// Text: one line of text, drawn from the top of `rect` and aligned within its width (never
// clipped, never wrapped again). Line: from rect's top-left to its bottom-right corner
// (a horizontal or vertical rule). Rectangle: the outline of `rect`.
struct PageItem {
    enum class Kind { Text, Line, Rectangle };

    Kind kind = Kind::Text;
    QRectF rect;
    QString text;
    Font font;
    Align align = Align::Left;
    double lineWidth = 0.25; // mm

    QLineF line() const { return QLineF(rect.topLeft(), rect.bottomRight()); }
};

} // namespace report
