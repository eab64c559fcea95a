// What the dataset tests share: a database file of their own per test case, rows of the
// program's tables to work on, and datasets defined the way the data module defines them.
#pragma once

#include <QtTest>

#include <functional>

#include "dataset/data_source.h"
#include "dataset/dataset.h"
#include "dataset/error.h"
#include "dataset/field.h"
#include "dataset/write_back.h"
#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/numeric.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"
#include "test_database.h"
#include "text/money.h"

using namespace Qt::StringLiterals;
using ds::FieldType;

namespace dstest {

// A fresh database with the program's tables, empty: the schema script alone, no reference data.
inline QString freshSampleDatabase()
{
    return testsupport::freshDatabaseFromScript(QStringLiteral(SAMPLE_SCHEMA));
}

// One database file with the connection and transaction that the datasets of a test case use.
class TestDb {
public:
    fb::Connection connection;
    fb::Transaction transaction{&connection};

    void open(const QString& path)
    {
        connection.open(path, testsupport::user(), testsupport::password());
    }

    void close()
    {
        if (transaction.isActive())
            transaction.rollback();
        if (connection.isOpen())
            connection.close();
    }

    void exec(const QString& sql) { connection.executeImmediate(transaction, sql); }

    // Reads with a statement of its own (in the shared transaction), not through a dataset.
    QList<QVariantList> rows(const QString& sql, const QVariantMap& params = {})
    {
        return testsupport::queryRows(connection, transaction, sql, params);
    }

    QVariant scalar(const QString& sql, const QVariantMap& params = {})
    {
        const QList<QVariantList> r = rows(sql, params);
        return r.isEmpty() ? QVariant() : r.first().value(0);
    }

    int count(const QString& table, const QString& where = u"1=1"_s, const QVariantMap& params = {})
    {
        return scalar(u"select count(*) from %1 where %2"_s.arg(table, where), params).toInt();
    }

    // Fuels 1..3, an engine type, taxpayers 1..4 (4 without vehicles), three vehicles and
    // two purchases; committed, so that other connections see them too.
    void addSampleRows()
    {
        for (const QString& sql : {
                 u"insert into RODZ_PALIWA values (1, 'benzyna', 0.755)"_s,
                 u"insert into RODZ_PALIWA values (2, 'gaz LPG', 0.5)"_s,
                 u"insert into RODZ_PALIWA values (3, 'olej napędowy', 0.84)"_s,
                 u"insert into RODZ_SILNIKA values (1, 'osobowy')"_s,
                 u"insert into PODAT (NR_PODAT, NAZWA, NIP, NAZSKR) values (1, 'Alfa sp. z o.o.', '111', 'ALFA')"_s,
                 u"insert into PODAT (NR_PODAT, NAZWA, NIP, NAZSKR) values (2, 'Łódka s.c.', '222', 'ŁÓDKA')"_s,
                 u"insert into PODAT (NR_PODAT, NAZWA, NIP, NAZSKR) values (3, 'Łódź SA', '333', 'ŁÓDŹ SA')"_s,
                 u"insert into PODAT (NR_PODAT, NAZWA, NIP, NAZSKR) values (4, 'Beta', '444', 'BETA')"_s,
                 u"insert into SAM values ('WB222', 1, 1, 3, '2004-01-01', null)"_s,
                 u"insert into SAM values ('WA111', 1, 1, 1, '2003-05-01', '2005-12-31')"_s,
                 u"insert into SAM values ('EL333', 2, 1, 2, '2004-02-01', null)"_s,
                 u"insert into SAM values ('EL444', 3, 1, 1, '2004-03-01', null)"_s,
                 u"insert into ZAK_PAL values (1, 'WA111', 'R/1', '2004-11-05', 1, 1234.5)"_s,
                 u"insert into ZAK_PAL values (2, 'WB222', 'R/2', '2004-12-01', 3, 40)"_s,
             })
            exec(sql);
        connection.setGenerator(transaction, u"G_ZAK"_s, 2);
        transaction.commitRetaining();
    }
};

// A test class whose every test case starts on a fresh database with the sample rows.
class SampleDatabaseTest : public QObject {
    Q_OBJECT

protected:
    TestDb db;

private slots:
    void init()
    {
        db.open(freshSampleDatabase());
        db.addSampleRows();
    }

    void cleanup() { db.close(); }
};

// The fuels: a generator-less key, a name and a four-place conversion factor.
inline void defineFuels(ds::Dataset& d, TestDb& db)
{
    d.setDatabase(&db.connection, &db.transaction);
    d.setSelectSql(u"select * from RODZ_PALIWA order by NR"_s);
    d.setWriteStatements(ds::writeStatementsFor(u"RODZ_PALIWA"_s, {u"NR"_s, u"NAZWA"_s, u"PRZEL_L_KG"_s}, {u"NR"_s}));
    d.addField(u"NR"_s, FieldType::SmallInt).setRequired();
    d.addField(u"NAZWA"_s, FieldType::String, 30);
    d.addField(u"PRZEL_L_KG"_s, FieldType::Decimal, 0, 4)
        .setDisplayLabel(u"PRZEL. L->KG"_s).setDisplayFormat(u"#0.###"_s);
}

inline void defineTaxpayers(ds::Dataset& d, TestDb& db, const QString& select = u"select * from PODAT order by NR_PODAT"_s)
{
    d.setDatabase(&db.connection, &db.transaction);
    d.setSelectSql(select);
    d.setWriteStatements(ds::writeStatementsFor(u"PODAT"_s,
        {u"NR_PODAT"_s, u"NAZWA"_s, u"ADRES"_s, u"REGON"_s, u"TEL"_s, u"NIP"_s, u"NAZSKR"_s}, {u"NR_PODAT"_s}));
    d.addField(u"NR_PODAT"_s, FieldType::SmallInt).setRequired().setDisplayLabel(u"Nr podatnika"_s);
    d.addField(u"NAZWA"_s, FieldType::String, 125);
    d.addField(u"ADRES"_s, FieldType::String, 160);
    d.addField(u"REGON"_s, FieldType::String, 20);
    d.addField(u"TEL"_s, FieldType::String, 65);
    d.addField(u"NIP"_s, FieldType::String, 20).setRequired().setDisplayLabel(u"NIP podatnika"_s);
    d.addField(u"NAZSKR"_s, FieldType::String, 15).setRequired();
}

// The vehicles of the taxpayer that parameter NR_PODAT names.
inline void defineVehicles(ds::Dataset& d, TestDb& db)
{
    d.setDatabase(&db.connection, &db.transaction);
    d.setSelectSql(u"select * from SAM where NR_POD=:NR_PODAT order by NR_REJ"_s);
    d.setWriteStatements(ds::writeStatementsFor(u"SAM"_s,
        {u"NR_REJ"_s, u"NR_POD"_s, u"NR_RODZ_SILN"_s, u"NR_RODZ_PAL"_s, u"D_ROZP_U"_s, u"D_ZAK_U"_s}, {u"NR_REJ"_s}));
    d.addField(u"NR_REJ"_s, FieldType::String, 10).setRequired().setDisplayLabel(u"Nr rejestracyjny"_s);
    for (const QString& hidden : {u"NR_POD"_s, u"NR_RODZ_SILN"_s, u"NR_RODZ_PAL"_s})
        d.addField(hidden, FieldType::SmallInt).setRequired().setVisible(false);
    d.addField(u"D_ROZP_U"_s, FieldType::Date).setRequired().setDisplayLabel(u"Data rozp. użytkow."_s);
    d.addField(u"D_ZAK_U"_s, FieldType::Date).setDisplayLabel(u"Data zak. użytkow."_s);
}

inline void definePurchases(ds::Dataset& d, TestDb& db)
{
    d.setDatabase(&db.connection, &db.transaction);
    d.setSelectSql(u"select * from ZAK_PAL order by NR_KOL"_s);
    d.setWriteStatements(ds::writeStatementsFor(u"ZAK_PAL"_s,
        {u"NR_KOL"_s, u"NR_REJ"_s, u"NR_RACH"_s, u"D_ZAK"_s, u"NR_RODZ_PAL"_s, u"IL_ZAK"_s}, {u"NR_KOL"_s}));
    d.setGeneratorField(u"NR_KOL"_s, u"G_ZAK"_s);
    d.addField(u"NR_KOL"_s, FieldType::Integer).setRequired().setDisplayLabel(u"Nr kolejny"_s);
    d.addField(u"NR_REJ"_s, FieldType::String, 10).setRequired().setVisible(false);
    d.addField(u"NR_RACH"_s, FieldType::String, 20).setRequired();
    d.addField(u"D_ZAK"_s, FieldType::Date).setRequired().setDisplayLabel(u"Data zakupu"_s);
    d.addField(u"NR_RODZ_PAL"_s, FieldType::SmallInt).setRequired().setVisible(false);
    d.addField(u"IL_ZAK"_s, FieldType::Float).setRequired().setDisplayLabel(u"Ilość (w l)"_s)
        .setDisplayFormat(u"######0.00"_s).setEditFormat(u"######0.00"_s);
}

// The message of the ds::Error that `action` throws, or a null string when it throws none.
inline QString dsErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ds::Error& e) {
        return e.message();
    }
    return {};
}

// The values of one field over all buffered rows.
inline QVariantList columnValues(const ds::Dataset& d, const QString& field)
{
    QVariantList values;
    for (int row = 0; row < d.recordCount(); ++row)
        values << d.fieldByName(field).valueAt(row);
    return values;
}

inline QVariant money(const char* decimal)
{
    text::Money m;
    if (!text::Money::fromDecimalString(QString::fromLatin1(decimal), m))
        qFatal("bad amount in a test");
    return QVariant::fromValue(m);
}

} // namespace dstest

// Test classes of the dataset executable: each file adds a runner, main() runs them all.
int runDatasetEditingTests(int argc, char** argv);
int runDatasetFieldTests(int argc, char** argv);
int runDatasetLinkTests(int argc, char** argv);
// The other half of the process-death test: run in a child process, never returns.
[[noreturn]] void postRowAndWaitToBeKilled(const QString& databasePath);
