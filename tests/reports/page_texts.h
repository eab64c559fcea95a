#pragma once

#include <QRegularExpression>
#include <QStringList>

#include "report/page.h"
#include "report/report_printer.h"

// Reading the computed pages of a report in tests.
namespace page_texts {

// Every page of the report, made now.
inline std::vector<report::Page> pagesOf(report::ReportPrinter& printer)
{
    printer.generateAll();
    std::vector<report::Page> pages;
    for (int n = 1; n <= printer.pageCount(); ++n)
        pages.push_back(printer.page(n));
    return pages;
}

// The texts of the page, one line of text per entry, in placing order.
inline QString joined(const report::Page& page)
{
    return page.texts().join(QLatin1Char('\n'));
}

// Where `expected` stands in `text` at or after `from`, or -1: a text that the page broke
// over lines counts with a line break for any of its blanks.
inline qsizetype find(const QString& text, const QString& expected, qsizetype from)
{
    QString pattern;
    for (const QChar c : expected)
        pattern += c == QLatin1Char(' ') ? QStringLiteral("[ \\n]") : QRegularExpression::escape(QString(c));
    // A whole line or lines: not a piece of a longer line.
    const QRegularExpression re(QStringLiteral("(?:^|\\n)(") + pattern + QStringLiteral(")(?=\\n|$)"));
    const QRegularExpressionMatch m = re.match(text, from);
    return m.hasMatch() ? m.capturedStart(1) : -1;
}

// The first of `expected` that is not on the page after the ones before it, or "" when
// they all are, in this order.
inline QString firstMissing(const report::Page& page, const QStringList& expected)
{
    const QString text = joined(page);
    qsizetype at = 0;
    for (const QString& e : expected) {
        const qsizetype found = find(text, e, at);
        if (found < 0)
            return e;
        at = found + e.size();
    }
    return {};
}

} // namespace page_texts
