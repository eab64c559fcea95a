#pragma once

#include <QString>
#include <initializer_list>

#include "report/band.h"
#include "report/font.h"

// Drawing helpers shared by the printed forms: ruled table cells, note marks after a text,
// signature lines. Measures in millimetres from the band's top-left corner.
namespace reports::form {

// Vertical rules at each x, from the band's top to its bottom (they grow with the band).
void verticalRules(report::Band& band, std::initializer_list<double> xs);

// The width of a one-line text in a font.
double textWidth(const QString& text, const report::Font& font);

// A note mark ("1)", "*") printed right after the last line of a static text item, as the
// item's text breaks within its width in `textFont`.
report::BandItem& markAfter(report::Band& band, const report::BandItem& textItem, const report::Font& textFont,
                            const QString& mark, const report::Font& markFont);

// A signature line: a rule `width` mm long at (x, y) and under it the caption.
void signatureLine(report::Band& band, double x, double y, double width, const QString& caption,
                   const report::Font& font);

} // namespace reports::form
