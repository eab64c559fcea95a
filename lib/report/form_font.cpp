#include "report/form_font.h"

#include <QFontInfo>
#include <QLoggingCategory>

#include "report/font.h"

namespace report {

namespace {

Q_LOGGING_CATEGORY(lcFonts, "brenvald.fonts")

} // namespace

QString fontProblem(const QFont& font, const QStringList& acceptable)
{
    // QFont keeps the family it was asked for; QFontInfo tells the one the font database chose.
    const QString resolved = QFontInfo(font).family();
    if (acceptable.contains(resolved, Qt::CaseInsensitive))
        return {};
    return QStringLiteral("font \"%1\" resolves to \"%2\", not to %3")
        .arg(font.family(), resolved, acceptable.join(QStringLiteral(" or ")));
}

QString formFontProblem()
{
    const QString problem = fontProblem(Font{}.toQFont(), {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    if (problem.isEmpty())
        return {};
    return problem + QStringLiteral(": the texts of the printed forms may be clipped (install fonts-liberation2)");
}

void warnOnFormFontProblem()
{
    if (const QString problem = formFontProblem(); !problem.isEmpty())
        qCWarning(lcFonts).noquote() << problem;
}

} // namespace report
