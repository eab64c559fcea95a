#include "data/schema_check.h"

#include <QDir>
#include <QRegularExpression>

#include "data/schema.h"
#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

namespace data {

QStringList programRelations()
{
    static const QRegularExpression relation(QStringLiteral("^CREATE\\s+(?:TABLE|VIEW)\\s+(\\w+)"),
                                             QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    const QStringList later = laterTables();
    for (const QString& statement : schemaStatements()) {
        const QString name = relation.match(statement).captured(1).toUpper();
        if (!name.isEmpty() && !later.contains(name))
            names << name;
    }
    return names;
}

QStringList missingProgramRelations(fb::Connection& connection)
{
    const QStringList wanted = programRelations();
    fb::Transaction tr(&connection, fb::Isolation::ReadCommitted);
    fb::Statement present(connection, tr,
                          QStringLiteral("select trim(RDB$RELATION_NAME) from RDB$RELATIONS where RDB$RELATION_NAME in ('%1')")
                              .arg(wanted.join(QStringLiteral("','"))));
    present.execute();
    QStringList missing = wanted;
    while (present.fetch())
        missing.removeAll(present.value(0).toString());
    tr.commit();
    return missing;
}

void requireProgramDatabase(fb::Connection& connection)
{
    const QStringList missing = missingProgramRelations(connection);
    if (missing.isEmpty())
        return;
    const QString what = missing.size() == programRelations().size()
                             ? QStringLiteral("nie ma w niej żadnej z tabel programu")
                             : QStringLiteral("brak w niej tabel: %1").arg(missing.join(QStringLiteral(", ")));
    throw fb::Error(QStringLiteral("Baza danych %1 nie jest bazą tego programu (%2): może to baza innego programu albo "
                                   "baza niedokończona. Program niczego w niej nie zmienił.")
                        .arg(QDir::toNativeSeparators(connection.databaseName()), what),
                    QStringLiteral("schema check"));
}

QMap<QString, qint64> rowCounts(fb::Connection& connection, const QStringList& tables)
{
    QMap<QString, qint64> counts;
    fb::Transaction tr(&connection, fb::Isolation::Snapshot);
    for (const QString& table : tables) {
        fb::Statement count(connection, tr, QStringLiteral("select count(*) from %1").arg(table));
        count.execute();
        counts.insert(table, count.fetch() ? count.value(0).toLongLong() : 0);
        count.closeCursor();
    }
    tr.commit();
    return counts;
}

} // namespace data
