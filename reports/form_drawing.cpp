#include "reports/form_drawing.h"

#include "report/text_measure.h"

namespace reports::form {

using report::TextMeasure;

void verticalRules(report::Band& band, std::initializer_list<double> xs)
{
    for (double x : xs)
        band.addVerticalRule(x, 0, band.height());
}

double textWidth(const QString& text, const report::Font& font)
{
    return TextMeasure::width(text, font);
}

report::BandItem& markAfter(report::Band& band, const report::BandItem& textItem, const report::Font& textFont,
                            const QString& mark, const report::Font& markFont)
{
    const QRectF r = textItem.rect();
    const QStringList lines = TextMeasure::lines(textItem.text(), textFont, textItem.wordWrap() ? r.width() : 0);
    const double x = r.left() + TextMeasure::width(lines.last(), textFont) + 0.6;
    const double y = r.top() + (lines.size() - 1) * TextMeasure::lineHeight(textFont);
    const double width = TextMeasure::width(mark, markFont) + 1;
    return band.addText({x, y, width, TextMeasure::lineHeight(markFont)}, mark).setFont(markFont);
}

void signatureLine(report::Band& band, double x, double y, double width, const QString& caption,
                   const report::Font& font)
{
    band.addHorizontalRule(x, y, width).setLineWidth(0.2);
    band.addText({x, y + 0.5, width, TextMeasure::lineHeight(font)}, caption).setFont(font);
}

} // namespace reports::form
