#pragma once

#include <QPointF>

class QPainter;

namespace report {

class Page;

// Draws a computed page: the one drawing code of the page view, of printing and of PDF.
// `pixelsPerMm` device pixels per millimetre; the paper's top-left corner at `origin`
// (device pixels). Only the page's items are drawn, not the paper.
void paintPage(QPainter& painter, const Page& page, double pixelsPerMm, const QPointF& origin = {});

} // namespace report
