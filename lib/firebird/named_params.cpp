#include "firebird/named_params.h"

namespace fb {

namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

// Index just past a quoted run that starts at i with the quote character q; a doubled
// quote inside stays in the run.
qsizetype skipQuoted(const QString& s, qsizetype i, QChar q)
{
    ++i;
    while (i < s.size()) {
        if (s[i] == q) {
            if (i + 1 < s.size() && s[i + 1] == q) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

} // namespace

PositionalSql toPositional(const QString& sql)
{
    PositionalSql out;
    out.sql.reserve(sql.size());
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        qsizetype next = i + 1;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            next = skipQuoted(sql, i, c);
        } else if (c == QLatin1Char('-') && i + 1 < sql.size() && sql[i + 1] == QLatin1Char('-')) {
            next = sql.indexOf(QLatin1Char('\n'), i);
            if (next < 0)
                next = sql.size();
        } else if (c == QLatin1Char('/') && i + 1 < sql.size() && sql[i + 1] == QLatin1Char('*')) {
            next = sql.indexOf(QStringLiteral("*/"), i + 2);
            next = next < 0 ? sql.size() : next + 2;
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() && isNameStart(sql[i + 1])) {
            qsizetype end = i + 1;
            while (end < sql.size() && isNameChar(sql[end]))
                ++end;
            out.positions << sql.mid(i + 1, end - i - 1);
            out.sql += QLatin1Char('?');
            i = end;
            continue;
        }
        out.sql += QStringView(sql).mid(i, next - i);
        i = next;
    }
    return out;
}

} // namespace fb
