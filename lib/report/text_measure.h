#pragma once

#include <QStringList>

#include "report/font.h"

namespace report {

// Measures texts in millimetres on one fixed fine resolution, so that where a line breaks
// and how high a band grows do not depend on the screen or printer that shows the page.
// Needs a QGuiApplication (fonts).
class TextMeasure {
public:
    static double lineHeight(const Font& font);
    static double width(const QString& text, const Font& font);
    // The lines of `text`: broken at its line feeds and, when `wrapWidth` > 0, at word
    // boundaries (inside a word only when it is wider than the line) so that each line fits
    // `wrapWidth` mm. Blanks at the break are dropped; leading blanks of a line are kept.
    static QStringList lines(const QString& text, const Font& font, double wrapWidth);
};

} // namespace report
