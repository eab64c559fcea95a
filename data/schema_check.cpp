#include "data/schema_check.h"

#include <QDir>
#include <QLoggingCategory>
#include <QPair>
#include <QRegularExpression>
#include <QSet>

#include <memory>
#include <optional>
#include <utility>

#include "data/index_statistics.h"
#include "data/schema.h"
#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/one_request.h"
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

namespace {

Q_LOGGING_CATEGORY(lcSchema, "brenvald.schema")

// Constraints the program got after its first version. Short names unique: where two taxpayers
// share one already, the constraint cannot be added (logged), and the taxpayer import keeps
// them apart itself.
const QList<QPair<QString, QString>>& laterConstraints()
{
    static const QList<QPair<QString, QString>> constraints{
        {QStringLiteral("UQ_PODAT_NAZSKR"), QStringLiteral("ALTER TABLE PODAT ADD CONSTRAINT UQ_PODAT_NAZSKR UNIQUE (NAZSKR)")}};
    return constraints;
}

QString quotedList(const QStringList& names)
{
    return QStringLiteral("'%1'").arg(names.join(QStringLiteral("','")));
}

// Which of the names (the schema's own, never a user's text) the catalogue holds as relations,
// indexes or constraints: one query.
QString presentNamesSql(const QStringList& relations, const QStringList& indexes, const QStringList& constraints)
{
    QStringList parts;
    if (!relations.isEmpty())
        parts << QStringLiteral("select trim(RDB$RELATION_NAME) as N from RDB$RELATIONS where RDB$RELATION_NAME in (%1)").arg(quotedList(relations));
    if (!indexes.isEmpty())
        parts << QStringLiteral("select trim(RDB$INDEX_NAME) from RDB$INDICES where RDB$INDEX_NAME in (%1)").arg(quotedList(indexes));
    if (!constraints.isEmpty())
        parts << QStringLiteral("select trim(RDB$CONSTRAINT_NAME) from RDB$RELATION_CONSTRAINTS where RDB$CONSTRAINT_NAME in (%1)")
                     .arg(quotedList(constraints));
    return parts.join(QStringLiteral(" union all "));
}

QSet<QString> presentInCatalogue(fb::Connection& connection, const QStringList& relations, const QStringList& indexes,
                                 const QStringList& constraints)
{
    fb::Transaction tr(&connection, fb::Isolation::ReadCommitted);
    fb::Statement present(connection, tr, presentNamesSql(relations, indexes, constraints));
    present.execute();
    QSet<QString> names;
    while (present.fetch())
        names.insert(present.value(0).toString());
    tr.commit();
    return names;
}

// The declared character set (told to the connection), the names present and the statistics'
// figures in one query of one request, as a start asks them (over a network each request is a
// round trip), in the start's transaction; none when the database lacks a table the figures are
// read from (not the program's: the catalogue alone then tells what it lacks). The transaction
// goes on unless the connection attaches again (a database of an earlier version) or the
// query failed.
std::optional<std::pair<QSet<QString>, StatisticsFigures>> presentWithFigures(fb::Connection& connection, fb::Transaction& tr,
                                                                              const QStringList& relations,
                                                                              const QStringList& indexes,
                                                                              const QStringList& constraints)
{
    std::vector<fb::ColumnType> columns{fb::ColumnType::VarChar, fb::ColumnType::VarChar};
    columns.insert(columns.end(), StatisticsFigures::columns, fb::ColumnType::Double);
    std::optional<QVariantList> row;
    try {
        row = fb::runOnce(connection, tr,
                          QStringLiteral("select RDB$CHARACTER_SET_NAME, cast((select list(N, ',') from (%1) T) as varchar(8000)), %2 "
                                         "from RDB$DATABASE")
                              .arg(presentNamesSql(relations, indexes, constraints), StatisticsFigures::columnsSql()),
                          {}, columns);
    } catch (const fb::Error& e) {
        if (e.isConnectionLost())
            throw;
        tr.rollback();
        return std::nullopt;
    }
    std::pair<QSet<QString>, StatisticsFigures> found;
    QString declared;
    if (row) {
        declared = row->at(0).toString();
        for (const QString& name : row->at(1).toString().split(QLatin1Char(','), Qt::SkipEmptyParts))
            found.first.insert(name);
        found.second = StatisticsFigures::read(*row, 2);
    }
    if (connection.attachesAgainFor(declared))
        tr.commit();
    connection.characterSetDeclared(declared);
    return found;
}

QStringList missingOf(const QStringList& wanted, const QSet<QString>& present)
{
    QStringList missing;
    for (const QString& name : wanted)
        if (!present.contains(name))
            missing << name;
    return missing;
}

void refuseUnlessProgramDatabase(fb::Connection& connection, const QStringList& missing)
{
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

} // namespace

QStringList missingProgramRelations(fb::Connection& connection)
{
    return missingOf(programRelations(), presentInCatalogue(connection, programRelations(), {}, {}));
}

void requireProgramDatabase(fb::Connection& connection)
{
    refuseUnlessProgramDatabase(connection, missingProgramRelations(connection));
}

std::optional<StatisticsFigures> prepareProgramDatabase(fb::Connection& connection, fb::Transaction& tr)
{
    static const QRegularExpression created(QStringLiteral("^CREATE\\s+(TABLE|INDEX)\\s+(\\w+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QStringList later = laterTables();
    QStringList constraintNames;
    for (const auto& [name, statement] : laterConstraints())
        constraintNames << name;
    QStringList indexes;
    QMap<QString, QString> creating; // what makes each later table or index
    for (const QString& statement : schemaStatements()) {
        const auto m = created.match(statement);
        const QString name = m.captured(2).toUpper();
        if (m.captured(1).compare(QLatin1String("INDEX"), Qt::CaseInsensitive) == 0)
            indexes << name;
        else if (!later.contains(name))
            continue;
        creating.insert(name, statement);
    }
    const QStringList relations = programRelations() + later;
    const auto probed = presentWithFigures(connection, tr, relations, indexes, constraintNames);
    if (!probed)
        connection.readDeclaredCharacterSet();
    const QSet<QString> present = probed ? probed->first : presentInCatalogue(connection, relations, indexes, constraintNames);
    refuseUnlessProgramDatabase(connection, missingOf(programRelations(), present));

    QStringList missing;
    for (const QString& statement : schemaStatements()) { // in the schema's order
        const QString name = created.match(statement).captured(2).toUpper();
        if (creating.value(name) == statement && !present.contains(name))
            missing << statement;
    }
    for (const auto& [name, statement] : laterConstraints())
        if (!present.contains(name))
            missing << statement;
    // The catalogue is changed with nothing else of this connection under way.
    if (!missing.isEmpty() && tr.isActive())
        tr.commit();
    for (const QString& statement : missing) {
        qCInfo(lcSchema) << "adding to" << connection.databaseName() << ":" << statement;
        try {
            fb::Transaction ddl(&connection);
            connection.executeImmediate(ddl, statement);
            ddl.commit();
        } catch (const fb::Error& e) {
            if (e.isConnectionLost())
                throw;
            fb::logFailure(e);
        }
    }
    // An index made just now changes what the figures would say: they are read again then.
    if (!probed || !missing.isEmpty())
        return std::nullopt;
    return probed->second;
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
