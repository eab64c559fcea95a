#include "data/conversion.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "data/connection_settings.h"
#include "data/schema_check.h"
#include "desktop/file_in_making.h"
#include "firebird/index_statistics.h"
#include "data/schema.h"
#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

namespace data {

namespace {

// Referenced tables before the tables that refer to them.
const QStringList tablesInOrder{QStringLiteral("RODZ_PALIWA"), QStringLiteral("RODZ_SILNIKA"), QStringLiteral("TAB_OPL_SILN"),
                                QStringLiteral("PARAM"),       QStringLiteral("PODAT"),        QStringLiteral("SAM"),
                                QStringLiteral("ZAK_PAL")};
// A table of a later version whose rows are the office's: the e-invoice lines taken over, without
// which every invoice would be taken over again. A database the program never opened lacks it.
const QString invoiceLines = QStringLiteral("WIERSZE_EFAKTUR");
const QStringList generators{QStringLiteral("G_NRPAL"), QStringLiteral("G_NRSIL"), QStringLiteral("G_ZAK")};

void copyTable(fb::Connection& from, fb::Transaction& reading, fb::Connection& to, fb::Transaction& writing, const QString& table,
               const desktop::StopRequest& stop)
{
    fb::Statement rows(from, reading, QStringLiteral("select * from %1").arg(table));
    rows.execute();
    QStringList columns, marks;
    for (int i = 0; i < rows.columnCount(); ++i) {
        columns << rows.column(i).name;
        marks << QStringLiteral(":p%1").arg(i);
    }
    fb::Statement insert(to, writing, QStringLiteral("insert into %1 (%2) values (%3)")
                                          .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    for (qint64 n = 1; rows.fetch(); ++n) {
        for (int i = 0; i < rows.columnCount(); ++i)
            insert.setParam(i, rows.value(i));
        insert.execute();
        if (n % 1000 == 0 && desktop::stopAsked(stop))
            throw desktop::WorkStopped{};
    }
}

bool hasTable(fb::Connection& connection, fb::Transaction& tr, const QString& table)
{
    fb::Statement q(connection, tr, QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = :name"));
    q.setParam(QStringLiteral("name"), table);
    q.execute();
    const bool found = q.fetch() && q.value(0).toInt() > 0;
    q.closeCursor();
    return found;
}

} // namespace

void copyToWindows1250Database(const QString& source, const QString& target, const desktop::StopRequest& stop)
{
    if (QFileInfo::exists(target))
        throw fb::Error(desktop::existingFileRefusal(target));
    fb::Connection from;
    from.open(source, defaultUser(), defaultPassword());
    requireProgramDatabase(from);
    if (from.characterSet() != QLatin1String("NONE"))
        throw fb::Error(QStringLiteral("Baza danych %1 deklaruje już stronę kodową %2; nie trzeba jej przenosić.")
                            .arg(source, from.characterSet()));
    fb::Transaction reading(&from, fb::Isolation::Snapshot);
    desktop::FileInMaking made(target);
    {
        fb::Connection to;
        to.create(made.path(), defaultUser(), defaultPassword());
        fb::Transaction writing(&to);
        createSchema(to, writing);
        for (const QString& table : tablesInOrder)
            copyTable(from, reading, to, writing, table, stop);
        if (hasTable(from, reading, invoiceLines))
            copyTable(from, reading, to, writing, invoiceLines, stop);
        for (const QString& generator : generators) {
            fb::Statement value(from, reading, QStringLiteral("select gen_id(%1, 0) from rdb$database").arg(generator));
            value.execute();
            value.fetch();
            to.setGenerator(writing, generator, value.value(0).toLongLong());
            value.closeCursor();
        }
        writing.commit();
        fb::recomputeIndexStatistics(to);
        to.close();
    }
    if (desktop::stopAsked(stop))
        throw desktop::WorkStopped{};
    made.finish();
    reading.commit();
    from.close();
}

} // namespace data
