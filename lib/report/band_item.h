#pragma once

#include <QRectF>
#include <QString>
#include <functional>
#include <optional>

#include "report/font.h"
#include "report/kinds.h"

namespace report {

class RowSource;

// One thing placed on a band, at a position in millimetres from the band's top-left corner
// (the left margin, the band's top): a static text, a field of the band's dataset, a text
// computed at print time, a horizontal or vertical rule, or a rectangle.
// Setters return the item, so that a definition reads as one statement.
class BandItem {
public:
    enum class Kind { Text, Field, Computed, HorizontalRule, VerticalRule, Rectangle };

    BandItem(Kind kind, const QRectF& rect);

    Kind kind() const { return kind_; }
    bool isText() const { return kind_ == Kind::Text || kind_ == Kind::Field || kind_ == Kind::Computed; }
    const QRectF& rect() const { return rect_; }
    const QString& name() const { return name_; }
    const QString& text() const { return text_; }
    const QString& mask() const { return mask_; }
    const std::optional<Font>& font() const { return font_; }
    Align align() const { return align_; }
    bool wordWrap() const { return wordWrap_; }
    double lineWidth() const { return lineWidth_; }

    BandItem& setRect(const QRectF& rect) { rect_ = rect; return *this; }
    // A name by which a band's before-print hook finds the item (Band::item).
    BandItem& setName(const QString& name) { name_ = name; return *this; }
    // The text of a static text item, or the field name of a field item.
    BandItem& setText(const QString& text) { text_ = text; return *this; }
    BandItem& setCompute(std::function<QString()> compute) { compute_ = std::move(compute); return *this; }
    BandItem& setFont(const Font& font) { font_ = font; return *this; }
    BandItem& setAlign(Align align) { align_ = align; return *this; }
    // Breaks the text at word boundaries within the item's width; a stretching band grows
    // to hold all lines, another keeps the lines that fit the item's height.
    BandItem& setWordWrap(bool on = true) { wordWrap_ = on; return *this; }
    // A field's number mask (or date format); without one the field shows as the dataset
    // shows it.
    BandItem& setMask(const QString& mask) { mask_ = mask; return *this; }
    BandItem& setLineWidth(double mm) { lineWidth_ = mm; return *this; }

    // Last word on the text as it prints, after it has been made (for example to print
    // nothing in a cell that only carries rules).
    std::function<void(QString& text)> onPrint;

    // The text to print, with the band's dataset at `row` (`rows` may be null: then fields
    // print nothing). Computed texts may be asked more than once per band, when a page
    // break makes the engine lay the band out again: keep them free of side effects.
    QString printedText(const RowSource* rows, int row) const;

private:
    Kind kind_;
    QRectF rect_;
    QString name_;
    QString text_;
    QString mask_;
    std::function<QString()> compute_;
    std::optional<Font> font_;
    Align align_ = Align::Left;
    bool wordWrap_ = false;
    double lineWidth_ = 0.25;
};

} // namespace report
