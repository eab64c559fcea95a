#include "data/schema.h"

#include <QFile>
#include <QRegularExpression>

#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/transaction.h"

// The script and the reference tables are built into this static library; its resources
// must be registered by hand before the first read.
void initDataResources()
{
    Q_INIT_RESOURCE(data);
}

namespace data {

QStringList schemaStatements()
{
    initDataResources();
    QFile file(QStringLiteral(":/data/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw fb::Error(QStringLiteral("Brak skryptu schematu bazy danych w programie."));
    QString script = QString::fromUtf8(file.readAll());
    script.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"), QRegularExpression::DotMatchesEverythingOption));
    QStringList statements;
    for (const QString& part : script.split(QLatin1Char(';'))) {
        const QString s = part.trimmed();
        if (!s.isEmpty())
            statements << s;
    }
    return statements;
}

QStringList laterTables()
{
    return {QStringLiteral("BLOKADY"), QStringLiteral("POSIADACZE_BLOKAD"), QStringLiteral("WIERSZE_EFAKTUR")};
}

void createSchema(fb::Connection& connection, fb::Transaction& transaction)
{
    for (const QString& statement : schemaStatements()) {
        connection.executeImmediate(transaction, statement);
        // Later statements refer to what the earlier ones defined.
        transaction.commitRetaining();
    }
    transaction.commit();
}

} // namespace data
