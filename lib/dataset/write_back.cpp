#include "dataset/write_back.h"

namespace ds {

WriteStatements writeStatementsFor(const QString& table, const QStringList& columns, const QStringList& keyColumns)
{
    QStringList params, assignments, oldKeys, keys;
    for (const QString& c : columns) {
        params << QLatin1Char(':') + c;
        assignments << QStringLiteral("%1 = :%1").arg(c);
    }
    for (const QString& k : keyColumns) {
        oldKeys << QStringLiteral("%1 = :OLD_%1").arg(k);
        keys << QStringLiteral("%1 = :%1").arg(k);
    }
    const QString where = oldKeys.join(QLatin1String(" and "));
    WriteStatements w;
    // Insert and modify give the row as stored: a save needs no request of its own to read it back.
    const QString returning = QStringLiteral(" returning %1").arg(columns.join(QLatin1String(", ")));
    w.insertSql = QStringLiteral("insert into %1 (%2) values (%3)").arg(table, columns.join(QLatin1String(", ")),
                                                                         params.join(QLatin1String(", ")))
                  + returning;
    w.modifySql = QStringLiteral("update %1 set %2 where %3").arg(table, assignments.join(QLatin1String(", ")), where) + returning;
    w.deleteSql = QStringLiteral("delete from %1 where %2").arg(table, where);
    w.refreshSql = QStringLiteral("select %1 from %2 where %3").arg(columns.join(QLatin1String(", ")), table,
                                                                    keys.join(QLatin1String(" and ")));
    return w;
}

} // namespace ds
