#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

class QPaintDevice;

namespace report {

// Texts shaped once and drawn again as glyphs: a long register prints the same dates,
// quantities and registrations on page after page, and shaping a text costs more than
// drawing it. One font on one kind of device at one resolution; the glyphs are those the
// painter would draw for the text.
class ShapedTexts {
public:
    struct Shaped {
        QList<QGlyphRun> runs; // placed with their baseline at `ascent` below the text's top
        double ascent = 0;
        double width = 0; // the text's advance
    };

    ShapedTexts(const QFont& font, const QPaintDevice& device);

    bool isFor(const QFont& font, const QPaintDevice& device) const;
    const QFontMetricsF& metrics() const { return metrics_; }
    // The text's glyphs from its second drawing on; nothing the first time (most invoice
    // numbers are drawn once, and shaping them for the cache would cost more than drawing).
    const Shaped* of(const QString& text, QPaintDevice& device);

private:
    QFont font_;
    int deviceType_;
    int dpiX_;
    int dpiY_;
    QFontMetricsF metrics_;
    QHash<QString, Shaped> known_;
    QSet<QString> seenOnce_;
};

// The shaped texts of a font on a device, kept for the pages drawn after this one.
ShapedTexts& shapedTexts(const QFont& font, QPaintDevice& device);

} // namespace report
