#pragma once

#include <QFont>
#include <QString>

namespace report {

// A font of a printed statement. "Arial" is what the forms name; on Linux fontconfig gives
// the metric-compatible Liberation Sans for it, so line breaks match the forms' widths.
// Written with designated initialisers: report::Font{.pointSize = 8, .bold = true}.
struct Font {
    QString family = QStringLiteral("Arial");
    double pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    // The QFont at `points` points (the painter asks for a size of its own scale).
    QFont toQFont(double points) const;
    QFont toQFont() const { return toQFont(pointSize); }

    bool operator==(const Font&) const = default;
};

} // namespace report
