#pragma once

#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "report/band_item.h"
#include "report/font.h"
#include "report/frame.h"
#include "report/kinds.h"

namespace report {

// A horizontal strip of the page, as wide as the space between the margins, that prints
// its items as often as its kind says (BandKind). Heights and positions in millimetres.
class Band {
public:
    Band(BandKind kind, double height);
    Band(const Band&) = delete;
    Band& operator=(const Band&) = delete;

    BandKind kind() const { return kind_; }
    double height() const { return height_; }
    bool stretches() const { return stretch_; }
    const Frame& frame() const { return frame_; }
    const std::optional<Font>& font() const { return font_; }

    Band& setHeight(double mm) { height_ = mm; return *this; }
    // The band grows to hold every line of its word-wrapped and multi-line texts; vertical
    // rules and rectangles that reach its bottom grow with it.
    Band& setStretch(bool on = true) { stretch_ = on; return *this; }
    Band& setFrame(const Frame& frame) { frame_ = frame; return *this; }
    // The font of the band's items that name none (else the report's).
    Band& setFont(const Font& font) { font_ = font; return *this; }

    BandItem& addText(const QRectF& rect, const QString& text);
    // A field of the band's dataset: the master for the detail band, the page header, the
    // title, the column header and the summary (and their children); the detail dataset
    // for the sub-detail band and its children.
    BandItem& addField(const QRectF& rect, const QString& field);
    BandItem& addComputed(const QRectF& rect, std::function<QString()> compute);
    BandItem& addHorizontalRule(double x, double y, double length);
    BandItem& addVerticalRule(double x, double y, double length);

    // A band printed right after this one, each time this one prints.
    Band& addChild(double height);

    const std::vector<std::unique_ptr<BandItem>>& items() const { return items_; }
    const std::vector<std::unique_ptr<Band>>& children() const { return children_; }
    // The item of that name, or nullptr.
    BandItem* item(const QString& name) const;

    // Runs once each time the band is about to print; it may change the band's items.
    // Returning false leaves the band, and its children, out this time.
    std::function<bool(Band&)> beforePrint;

private:
    BandItem& add(BandItem::Kind kind, const QRectF& rect);

    BandKind kind_;
    double height_;
    bool stretch_ = false;
    Frame frame_;
    std::optional<Font> font_;
    std::vector<std::unique_ptr<BandItem>> items_;
    std::vector<std::unique_ptr<Band>> children_;
};

} // namespace report
