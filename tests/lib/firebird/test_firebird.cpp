#include <QDateTime>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <tuple>

#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/named_params.h"
#include "firebird/numeric.h"
#include "firebird/one_request.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"
#include "test_database.h"
#include "test_main.h"

class TestFirebird : public QObject {
    Q_OBJECT

    fb::Connection connection;
    fb::Transaction transaction{&connection};

    QVariant scalar(const QString& sql, const QVariantMap& params = {})
    {
        fb::Statement st(connection, transaction, sql);
        for (auto it = params.begin(); it != params.end(); ++it)
            st.setParam(it.key(), it.value());
        st.execute();
        if (!st.fetch())
            return {};
        const QVariant v = st.value(0);
        st.closeCursor();
        return v;
    }

    // What isql, a client of the server's own, prints for a script (as UTF-8 with "-ch UTF8").
    static QByteArray isql(const QStringList& arguments, const QString& script)
    {
        QString program = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
        if (program.isEmpty())
            program = QStandardPaths::findExecutable(QStringLiteral("isql"));
        if (program.isEmpty())
            qFatal("isql-fb is missing; the bootstrap script installs it (firebird3.0-utils)");
        QProcess p;
        p.start(program, QStringList{QStringLiteral("-q"), QStringLiteral("-user"), testsupport::user(),
                                     QStringLiteral("-password"), testsupport::password()} + arguments);
        p.write(script.toUtf8());
        p.closeWriteChannel();
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            qFatal("isql failed: %s", p.readAllStandardError().constData());
        return p.readAllStandardOutput();
    }

    // A database made before the program declared its character set, in place of the fresh one.
    void openDatabaseWithoutCharacterSet()
    {
        connection.close();
        const QString path = testsupport::workDir() + QStringLiteral("/old.gdb");
        QFile::remove(path);
        isql({}, QStringLiteral("create database '%1' user '%2' password '%3' default character set NONE;\n"
                                "create table T (ID smallint not null primary key, S varchar(30));\ncommit;\n")
                     .arg(path, testsupport::user(), testsupport::password()));
        connection.open(path, testsupport::user(), testsupport::password());
    }

    QString path_;

private slots:
    void init()
    {
        path_ = testsupport::freshEmptyDatabase();
        connection.open(path_, testsupport::user(), testsupport::password());
        connection.executeImmediate(transaction,
            QStringLiteral("create table T (ID smallint not null primary key, N integer, D double precision, "
                           "K numeric(9,4), P numeric(9,2), DT date, S varchar(30))"));
        transaction.commit();
    }

    void cleanup()
    {
        if (transaction.isActive())
            transaction.rollback();
        connection.close();
        connection.setPageBuffers(0);
    }

    void namedParametersBecomePositional()
    {
        const fb::PositionalSql p = fb::toPositional(QStringLiteral(
            "select ':no' , \"A:B\" from X -- :comment\n where a=:first and b = :Second /* :skip */ or c=:first"));
        QCOMPARE(p.positions, (QStringList{QStringLiteral("first"), QStringLiteral("Second"), QStringLiteral("first")}));
        QCOMPARE(p.sql, QStringLiteral("select ':no' , \"A:B\" from X -- :comment\n where a=? and b = ? /* :skip */ or c=?"));
        QCOMPARE(fb::toPositional(QStringLiteral("select 'it''s :x' from y where z=:OLD_NR")).positions,
                 QStringList{QStringLiteral("OLD_NR")});
    }

    void valuesRoundTripInDialectOne()
    {
        fb::Statement insert(connection, transaction,
            QStringLiteral("insert into T (ID, N, D, K, P, DT, S) values (:ID, :N, :D, :K, :P, :DT, :S)"));
        QCOMPARE(insert.paramNames().size(), 7);
        insert.setParam(QStringLiteral("id"), 1);
        insert.setParam(QStringLiteral("N"), 123456);
        insert.setParam(QStringLiteral("D"), 1234.56);
        insert.setParam(QStringLiteral("K"), QVariant::fromValue(fb::Numeric{8400, -4}));
        insert.setParam(QStringLiteral("P"), QStringLiteral("50.25"));
        insert.setParam(QStringLiteral("DT"), QDate(2012, 4, 20));
        insert.setParam(QStringLiteral("S"), QStringLiteral("Zażółć gęślą jaźń"));
        insert.execute();
        QCOMPARE(insert.affectedRows(), 1);
        insert.setParam(QStringLiteral("id"), 2);
        for (const char* name : {"N", "D", "K", "P", "DT", "S"})
            insert.setParam(QString::fromLatin1(name), QVariant());
        insert.execute();

        fb::Statement select(connection, transaction, QStringLiteral("select ID, N, D, K, P, DT, S from T order by ID"));
        QVERIFY(select.isSelect());
        select.execute();
        QVERIFY(select.fetch());
        QCOMPARE(select.column(0).type, fb::ColumnType::SmallInt);
        QCOMPARE(select.column(5).type, fb::ColumnType::Timestamp); // DATE carries a time in dialect 1
        QCOMPARE(select.value(1).toInt(), 123456);
        QCOMPARE(select.value(2).toDouble(), 1234.56);
        QCOMPARE(select.value(3).value<fb::Numeric>(), (fb::Numeric{8400, -4}));
        QCOMPARE(select.value(4).value<fb::Numeric>(), (fb::Numeric{5025, -2}));
        QCOMPARE(select.value(5).toDateTime().date(), QDate(2012, 4, 20));
        QCOMPARE(select.value(5).toDateTime().time(), QTime(0, 0));
        QCOMPARE(select.value(6).toString(), QStringLiteral("Zażółć gęślą jaźń"));
        QCOMPARE(select.columnIndex(QStringLiteral("dt")), 5);
        QVERIFY(select.fetch());
        for (int c = 1; c < 7; ++c)
            QVERIFY2(!select.value(c).isValid(), qPrintable(select.column(c).name));
        QVERIFY(!select.fetch());

        // A write that gives its row back gives none when it found no row, after one that did.
        fb::Statement update(connection, transaction, QStringLiteral("update T set N = :N where ID = :ID returning ID, N"));
        update.setParam(QStringLiteral("N"), 7);
        update.setParam(QStringLiteral("ID"), 1);
        update.execute();
        QVERIFY(update.returnedRow());
        QCOMPARE(update.value(1).toInt(), 7);
        update.setParam(QStringLiteral("ID"), 99);
        update.execute();
        QVERIFY(!update.returnedRow());
        QVERIFY(!update.value(0).isValid());
    }

    // A statement run in one request: parameters typed by their values and converted by the
    // server, the row in the types asked for, no row told apart from a row of nulls, a block's
    // own ":variables" left alone, a second row and a refused write reported.
    void oneRequestStatementsRunAndConvert()
    {
        using T = fb::ColumnType;
        QVERIFY(!fb::runOnce(connection, transaction, QStringLiteral("insert into T (ID, N, D, K, P, DT, S) values (?, ?, ?, ?, ?, ?, ?)"),
                             {1, qlonglong(123456), 1234.56, QVariant::fromValue(fb::Numeric{8400, -4}), QStringLiteral("50.25"),
                              QDate(2012, 4, 20), QStringLiteral("O'Brien — Zażółć")}));
        QVERIFY(!fb::runOnce(connection, transaction, QStringLiteral("insert into T (ID, S) values (?, ?)"), {2, QVariant()}));
        const auto row = fb::runOnce(connection, transaction, QStringLiteral("select N, D, K * 10000, DT, S, DT from T where ID = ?"), {1},
                                     {T::Integer, T::Double, T::BigInt, T::Date, T::VarChar, T::Timestamp});
        QVERIFY(row);
        QCOMPARE(*row, (QVariantList{qlonglong(123456), 1234.56, qlonglong(8400), QDate(2012, 4, 20), QStringLiteral("O'Brien — Zażółć"),
                                     QDateTime(QDate(2012, 4, 20), QTime(0, 0), Qt::UTC)}));
        QCOMPARE(scalar(QStringLiteral("select P from T where ID = 1")).value<fb::Numeric>(), (fb::Numeric{5025, -2}));

        const auto nulls = fb::runOnce(connection, transaction, QStringLiteral("select S, N from T where ID = ?"), {2}, {T::VarChar, T::BigInt});
        QVERIFY(nulls);
        QCOMPARE(*nulls, (QVariantList{QVariant(), QVariant()}));
        QVERIFY(!fb::runOnce(connection, transaction, QStringLiteral("select S from T where ID = ?"), {3}, {T::VarChar}));

        const auto block = fb::runOnce(connection, transaction,
                                       QStringLiteral("execute block (a integer = ?, b varchar(10) = ?) returns (c integer, d varchar(20)) as "
                                                      "declare n integer; begin n = :a * 2; c = :n + 1; d = :b || '!'; suspend; end"),
                                       {20, QStringLiteral("ŁĄKA")}, {T::Integer, T::VarChar});
        QVERIFY(block);
        QCOMPARE(*block, (QVariantList{qlonglong(41), QStringLiteral("ŁĄKA!")}));

        QVERIFY_THROWS_EXCEPTION(fb::Error, fb::runOnce(connection, transaction, QStringLiteral("select ID from T"), {}, {T::Integer}));
        try {
            fb::runOnce(connection, transaction, QStringLiteral("insert into T (ID) values (?)"), {1});
            QFAIL("a duplicate key was accepted");
        } catch (const fb::Error& e) {
            QVERIFY2(e.isDuplicateKey(), qPrintable(e.message()));
        }
        QCOMPARE(scalar(QStringLiteral("select count(*) from T")).toInt(), 2);
    }

    void textIsStoredAsWindows1250Bytes_data()
    {
        QTest::addColumn<QString>("declared");
        QTest::newRow("new database") << QStringLiteral("WIN1250");
        QTest::newRow("database of an earlier version") << QStringLiteral("NONE");
    }

    void textIsStoredAsWindows1250Bytes()
    {
        QFETCH(QString, declared);
        if (declared == QLatin1String("NONE"))
            openDatabaseWithoutCharacterSet();
        QCOMPARE(connection.characterSet(), declared);
        fb::Statement insert(connection, transaction, QStringLiteral("insert into T (ID, S) values (1, :S)"));
        insert.setParam(QStringLiteral("S"), QStringLiteral("łŁżŻ€"));
        insert.execute();
        QCOMPARE(scalar(QStringLiteral("select char_length(S) from T")).toInt(), 5); // one byte each
        QCOMPARE(scalar(QStringLiteral("select ascii_val(substring(S from 1 for 1)) from T")).toInt(), 0xB3);
        QCOMPARE(scalar(QStringLiteral("select ascii_val(substring(S from 4 for 1)) from T")).toInt(), 0xAF);
        QCOMPARE(scalar(QStringLiteral("select ascii_val(substring(S from 5 for 1)) from T")).toInt(), 0x80);
        // A typed text takes part in comparisons byte for byte.
        QCOMPARE(scalar(QStringLiteral("select count(*) from T where S = :s"), {{QStringLiteral("s"), QStringLiteral("łŁżŻ€")}}).toInt(), 1);

        QVERIFY_THROWS_EXCEPTION(fb::Error, insert.setParam(QStringLiteral("S"), QStringLiteral("中")));

        // A text longer than its column is refused before it is sent, also where the client
        // would cut its length to 16 bits and send another text.
        fb::Statement find(connection, transaction, QStringLiteral("select count(*) from T where S = :s"));
        for (const QString& tooLong : {QString(31, u'x'), QString(40000, u'x'), QStringLiteral("łŁżŻ€") + QString(65536, u'x')}) {
            try {
                find.setParam(QStringLiteral("s"), tooLong);
                QFAIL("a text longer than its column was taken");
            } catch (const fb::Error& e) {
                QVERIFY2(e.message().contains(QStringLiteral("mieści najwyżej 30")), qPrintable(e.message()));
            }
        }
        find.setParam(QStringLiteral("s"), QString(30, u'x'));
        find.execute();
    }

    // A client in UTF-8 (isql, a reporting tool) reads what the program wrote and writes what
    // the program reads, Polish letters included; the stored bytes stay Windows-1250.
    void clientsInUtf8ShareThePolishLetters()
    {
        fb::Statement insert(connection, transaction, QStringLiteral("insert into T (ID, S) values (1, :S)"));
        insert.setParam(QStringLiteral("S"), QStringLiteral("ŻÓŁW"));
        insert.execute();
        transaction.commit();
        connection.close();
        const QString shown = QString::fromUtf8(
            isql({QStringLiteral("-ch"), QStringLiteral("UTF8"), path_},
                 QStringLiteral("insert into T (ID, S) values (2, 'ŁĄKA');\ncommit;\nselect S from T where ID = 1;\n")));
        QVERIFY2(shown.contains(QStringLiteral("ŻÓŁW")), qPrintable(shown));
        connection.open(path_, testsupport::user(), testsupport::password());
        QCOMPARE(scalar(QStringLiteral("select S from T where ID = 2")).toString(), QStringLiteral("ŁĄKA"));
        QCOMPARE(scalar(QStringLiteral("select octet_length(S) from T where ID = 2")).toInt(), 4);
    }

    void refusesValuesOutOfRangeAndReportsServerErrors()
    {
        fb::Statement insert(connection, transaction, QStringLiteral("insert into T (ID) values (:ID)"));
        QVERIFY_THROWS_EXCEPTION(fb::Error, insert.setParam(QStringLiteral("ID"), 40000));
        insert.setParam(QStringLiteral("ID"), 7);
        insert.execute();
        try {
            insert.execute();
            QFAIL("a duplicate key was accepted");
        } catch (const fb::Error& e) {
            QVERIFY2(e.message().contains(QStringLiteral("PRIMARY or UNIQUE KEY")), qPrintable(e.message()));
            QVERIFY(e.sqlCode() < 0);
        }
        try {
            fb::Statement bad(connection, transaction, QStringLiteral("select NOPE from T"));
            QFAIL("an unknown column was accepted");
        } catch (const fb::Error& e) {
            QVERIFY2(e.message().contains(QStringLiteral("NOPE")), qPrintable(e.message()));
        }
        QVERIFY_THROWS_EXCEPTION(fb::Error, insert.setParam(QStringLiteral("missing"), 1));
        fb::Connection none;
        try {
            none.open(testsupport::workDir() + QStringLiteral("/no-such.gdb"), testsupport::user(), testsupport::password());
            QFAIL("a missing database opened");
        } catch (const fb::Error& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Nie można otworzyć pliku bazy danych:")), qPrintable(e.message()));
            QVERIFY(!none.isOpen());
        }
    }

    void generatorsCountUp()
    {
        connection.executeImmediate(transaction, QStringLiteral("create generator G_TEST"));
        transaction.commit();
        QCOMPARE(connection.nextGeneratorValue(transaction, QStringLiteral("G_TEST")), 1);
        QCOMPARE(connection.nextGeneratorValue(transaction, QStringLiteral("G_TEST")), 2);
        connection.setGenerator(transaction, QStringLiteral("G_TEST"), 44);
        QCOMPARE(connection.nextGeneratorValue(transaction, QStringLiteral("G_TEST")), 45);
        QVERIFY_THROWS_EXCEPTION(fb::Error, connection.nextGeneratorValue(transaction, QStringLiteral("G; drop table T")));
    }

    // The cache of a database larger than the engine's default holds it whole within the
    // limit asked for; a small one keeps the default.
    void pageCacheFollowsTheDatabasesSize()
    {
        QCOMPARE(fb::Connection::pageBuffersFor(path_, qint64(64) << 20), 0);
        connection.executeImmediate(transaction, QStringLiteral("create table BIG (S varchar(7000))"));
        transaction.commit();
        connection.executeImmediate(transaction, QStringLiteral(
            "execute block as declare i integer = 0; begin while (i < 3000) do begin "
            "insert into BIG values (rpad('', 7000, uuid_to_char(gen_uuid()))); i = i + 1; end end"));
        transaction.commit();
        connection.close();
        for (const auto& [limit, atLeast, atMost] : {std::tuple{qint64(64) << 20, 3000, 8192}, std::tuple{qint64(20) << 20, 2560, 2560}}) {
            const int wanted = fb::Connection::pageBuffersFor(path_, limit);
            QVERIFY2(wanted >= atLeast && wanted <= atMost, qPrintable(QString::number(wanted)));
            connection.setPageBuffers(wanted);
            connection.open(path_, testsupport::user(), testsupport::password());
            QCOMPARE(connection.pageBuffers(), wanted);
            connection.close();
        }
        QCOMPARE(fb::Connection::pageBuffersFor(path_ + QStringLiteral("-none"), qint64(64) << 20), 0);
        connection.open(path_, testsupport::user(), testsupport::password());
    }

    void commitRetainingMakesWorkVisibleToOthers()
    {
        connection.executeImmediate(transaction, QStringLiteral("insert into T (ID) values (1)"));
        transaction.commitRetaining();
        QVERIFY(transaction.isActive());

        fb::Connection other;
        other.open(connection.databaseName(), testsupport::user(), testsupport::password());
        fb::Transaction otherTr(&other);
        fb::Statement count(other, otherTr, QStringLiteral("select count(*) from T"));
        count.execute();
        QVERIFY(count.fetch());
        QCOMPARE(count.value(0).toInt(), 1);
        count.closeCursor();
        otherTr.commit();
        other.close();
    }
};

TEST_MAIN(QCoreApplication, TestFirebird)
#include "test_firebird.moc"
