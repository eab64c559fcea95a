#include "report/text_measure.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTextLayout>
#include <utility>
#include <vector>

namespace report {

namespace {

constexpr double dotsPerInch = 1200.0;
constexpr double mmPerDot = 25.4 / dotsPerInch;

// The paint device whose resolution the measures are taken at.
const QImage& device()
{
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
        i.setDotsPerMeterX(dotsPerMeter);
        i.setDotsPerMeterY(dotsPerMeter);
        return i;
    }();
    return image;
}

QStringList wrapParagraph(const QString& paragraph, const QFont& font, double widthDots)
{
    QTextLayout layout(paragraph, font, &device());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList result;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(widthDots);
        QString piece = paragraph.mid(line.textStart(), line.textLength());
        // The blanks at which a line broke would push right-aligned and centred text left.
        while (!piece.isEmpty() && piece.back().isSpace() && line.textStart() + line.textLength() < paragraph.size())
            piece.chop(1);
        result << piece;
    }
    layout.endLayout();
    return result;
}

} // namespace

double TextMeasure::lineHeight(const Font& font)
{
    // Asked for every text of every band; a report has a handful of fonts.
    static std::vector<std::pair<Font, double>> known;
    for (const auto& [f, height] : known)
        if (f == font)
            return height;
    const double height = QFontMetricsF(font.toQFont(), &device()).lineSpacing() * mmPerDot;
    known.emplace_back(font, height);
    return height;
}

double TextMeasure::width(const QString& text, const Font& font)
{
    return QFontMetricsF(font.toQFont(), &device()).horizontalAdvance(text) * mmPerDot;
}

QStringList TextMeasure::lines(const QString& text, const Font& font, double wrapWidth)
{
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    if (wrapWidth <= 0)
        return paragraphs;
    const QFont f = font.toQFont();
    QStringList result;
    for (const QString& p : paragraphs) {
        if (p.isEmpty())
            result << p;
        else
            result << wrapParagraph(p, f, wrapWidth / mmPerDot);
    }
    return result;
}

} // namespace report
