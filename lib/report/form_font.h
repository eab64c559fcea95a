#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace report {

// The forms are laid out for "Arial". Liberation Sans has its metrics (fontconfig gives it for
// Arial), and so has Arial itself; any other family that stands in for it (DejaVu Sans, when
// the Liberation fonts are missing) is wider, and the texts of the forms get clipped.
// Needs a QGuiApplication.

// Empty when `font` resolves to one of `acceptable` (compared without regard to letter case);
// otherwise one line saying which family stands in for it.
QString fontProblem(const QFont& font, const QStringList& acceptable);

// fontProblem() of the forms' font: empty when the printed forms come out as laid out.
QString formFontProblem();

// Logs formFontProblem() as a warning on "brenvald.fonts" when there is one.
void warnOnFormFontProblem();

} // namespace report
