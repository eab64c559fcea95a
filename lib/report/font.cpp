#include "report/font.h"

namespace report {

QFont Font::toQFont(double points) const
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikeOut);
    // Kerning would make a text measured at one resolution wider at another.
    f.setKerning(false);
    return f;
}

} // namespace report
