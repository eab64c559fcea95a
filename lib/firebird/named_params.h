#pragma once

#include <QString>
#include <QStringList>

namespace fb {

// SQL text with ":name" parameters turned into the positional "?" that the client takes.
struct PositionalSql {
    QString sql;            // the text with every :name replaced by ?
    QStringList positions;  // the parameter name of each ?, in order (a name may repeat)
};

// Names are letters, digits, "_" and "$", starting with a letter or "_"; a colon inside a
// quoted string, a quoted identifier or a comment is left alone.
PositionalSql toPositional(const QString& sql);

} // namespace fb
