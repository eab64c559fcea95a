#include "data/reference_data.h"

#include "firebird/index_statistics.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include "data/connection_settings.h"
#include "desktop/file_in_making.h"
#include "data/schema.h"
#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

void initDataResources();

namespace data {

namespace {

// One record of a comma-separated file: quoted fields may hold commas and doubled quotes.
QStringList csvFields(const QString& line)
{
    QStringList fields;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    current += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                current += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << current;
            current.clear();
        } else {
            current += c;
        }
    }
    fields << current;
    return fields;
}

// The rows of a built-in table as maps from the header's column names to the values.
QList<QHash<QString, QString>> readTable(const QString& name)
{
    initDataResources();
    QFile file(QStringLiteral(":/data/reference/%1").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        throw fb::Error(QStringLiteral("Brak danych wzorcowych %1 w programie.").arg(name));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QList<QHash<QString, QString>> rows;
    const QStringList header = csvFields(lines.value(0).trimmed());
    for (int i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        const QStringList values = csvFields(line);
        if (values.size() != header.size())
            throw fb::Error(QStringLiteral("Dane wzorcowe %1, wiersz %2: zła liczba pól.").arg(name).arg(i + 1));
        QHash<QString, QString> row;
        for (int c = 0; c < header.size(); ++c)
            row.insert(header[c], values[c]);
        rows << row;
    }
    return rows;
}

// Inserts the given columns of every row; numbers go as text so that the server reads
// them exactly as written.
int loadTable(fb::Connection& connection, fb::Transaction& transaction, const QString& file, const QString& table,
              const QStringList& columns, const QString& numberColumn)
{
    QStringList params;
    for (const QString& c : columns)
        params << QLatin1Char(':') + c;
    fb::Statement insert(connection, transaction,
                         QStringLiteral("insert into %1 (%2) values (%3)")
                             .arg(table, columns.join(QLatin1String(", ")).toUpper(), params.join(QLatin1String(", "))));
    int highest = 0;
    for (const auto& row : readTable(file)) {
        for (const QString& c : columns)
            insert.setParam(c, row.value(c));
        insert.execute();
        if (!numberColumn.isEmpty())
            highest = std::max(highest, row.value(numberColumn).toInt());
    }
    return highest;
}

} // namespace

void loadReferenceData(fb::Connection& connection, fb::Transaction& transaction)
{
    const int lastFuel = loadTable(connection, transaction, QStringLiteral("fuels.csv"), QStringLiteral("RODZ_PALIWA"),
                                   {QStringLiteral("nr"), QStringLiteral("nazwa"), QStringLiteral("przel_l_kg")},
                                   QStringLiteral("nr"));
    const int lastType = loadTable(connection, transaction, QStringLiteral("vehicle_types.csv"), QStringLiteral("RODZ_SILNIKA"),
                                   {QStringLiteral("nr"), QStringLiteral("nazwa")}, QStringLiteral("nr"));
    loadTable(connection, transaction, QStringLiteral("rates.csv"), QStringLiteral("TAB_OPL_SILN"),
              {QStringLiteral("rok"), QStringLiteral("nr_siln"), QStringLiteral("nr_paliwa"), QStringLiteral("opl_za_tone")}, {});
    loadTable(connection, transaction, QStringLiteral("params.csv"), QStringLiteral("PARAM"),
              {QStringLiteral("rok"), QStringLiteral("plac_min"), QStringLiteral("wsk_proc")}, {});
    connection.setGenerator(transaction, QStringLiteral("G_NRPAL"), lastFuel);
    connection.setGenerator(transaction, QStringLiteral("G_NRSIL"), lastType);
    transaction.commit();
}

void createDeliveredDatabase(const QString& path, const desktop::StopRequest& stop)
{
    if (QFileInfo::exists(path))
        throw fb::Error(desktop::existingFileRefusal(path));
    desktop::FileInMaking made(path);
    {
        fb::Connection connection;
        connection.create(made.path(), defaultUser(), defaultPassword());
        fb::Transaction transaction(&connection);
        createSchema(connection, transaction);
        loadReferenceData(connection, transaction);
        fb::recomputeIndexStatistics(connection);
        connection.close();
    }
    if (desktop::stopAsked(stop))
        throw desktop::WorkStopped{};
    made.finish();
}

} // namespace data
