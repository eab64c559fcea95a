#include "report/shaped_texts.h"

#include <QPaintDevice>
#include <QTextLayout>
#include <deque>

namespace report {

namespace {

// Past this many texts a font's cache starts again.
constexpr qsizetype mostTexts = 5000;
// A report uses a handful of fonts; the preview and the PDF each their own devices.
constexpr size_t mostFonts = 8;

} // namespace

ShapedTexts::ShapedTexts(const QFont& font, const QPaintDevice& device)
    : font_(font), deviceType_(device.devType()), dpiX_(device.logicalDpiX()), dpiY_(device.logicalDpiY()),
      metrics_(font, &device)
{
}

bool ShapedTexts::isFor(const QFont& font, const QPaintDevice& device) const
{
    return device.devType() == deviceType_ && device.logicalDpiX() == dpiX_ && device.logicalDpiY() == dpiY_ && font == font_;
}

const ShapedTexts::Shaped* ShapedTexts::of(const QString& text, QPaintDevice& device)
{
    if (auto found = known_.constFind(text); found != known_.cend())
        return &*found;
    if (seenOnce_.size() >= mostTexts)
        seenOnce_.clear();
    if (!seenOnce_.contains(text)) {
        seenOnce_.insert(text);
        return nullptr;
    }
    seenOnce_.remove(text);
    if (known_.size() >= mostTexts)
        known_.clear();
    Shaped s;
    s.width = metrics_.horizontalAdvance(text);
    QTextLayout layout(text, font_, &device);
    QTextOption oneLine;
    oneLine.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(oneLine);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(s.width + 1);
        line.setPosition(QPointF(0, 0));
        s.ascent = line.ascent();
    }
    layout.endLayout();
    s.runs = layout.glyphRuns();
    return &*known_.insert(text, std::move(s));
}

ShapedTexts& shapedTexts(const QFont& font, QPaintDevice& device)
{
    // Drawing happens on the GUI thread; each thread would keep its own.
    thread_local std::deque<ShapedTexts> fonts;
    for (ShapedTexts& f : fonts)
        if (f.isFor(font, device))
            return f;
    if (fonts.size() >= mostFonts)
        fonts.pop_front();
    return fonts.emplace_back(font, device);
}

} // namespace report
