#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "data/connection_settings.h"
#include "data/dm1.h"
#include "test_database.h"
#include "data/schema.h"
#include "data/reference_data.h"
#include "data/conversion.h"
#include "dataset/error.h"
#include "firebird/error.h"
#include "firebird/statement.h"
#include "sql_testing.h"
#include "module_fixture.h"
#include "test_main.h"

using screentest::count;
using screentest::exec;
using namespace Qt::StringLiterals;


class TestDataModule : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

private slots:
    void init()
    {
        start();
    }

    void cleanup() { stop(); }

    // The database's refusals by the program's constraints begin with a Polish sentence that
    // names the row; the server's own text follows.
    void refusalsSaySoInPolish_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("taxpayer number") << u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (7, '1', 'INNY')"_s
                                         << u"Podatnik o numerze 7 już istnieje."_s;
        QTest::newRow("short name") << u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (8, '1', 'O''Brien')"_s
                                    << u"Podatnik o nazwie skróconej „O'Brien” już istnieje."_s;
        QTest::newRow("registration") << u"insert into SAM values ('WA 1', 7, 1, 1, '2020-01-01', null)"_s
                                      << u"Samochód o numerze rejestracyjnym WA 1 już jest w bazie."_s;
        QTest::newRow("rate") << u"insert into TAB_OPL_SILN select NR_SILN, NR_PALIWA, 1, ROK from TAB_OPL_SILN rows 1"_s
                              << u"Stawka dla tego rodzaju pojazdu, paliwa i roku już istnieje."_s;
        QTest::newRow("no such taxpayer") << u"insert into SAM values ('WA 2', 99, 1, 1, '2020-01-01', null)"_s
                                          << u"Nie ma podatnika o numerze 99."_s;
        QTest::newRow("taxpayer with vehicles") << u"delete from PODAT where NR_PODAT = 7"_s
                                                << u"Podatnik ma samochody w bazie: nie można go usunąć."_s;
    }

    void refusalsSaySoInPolish()
    {
        QFETCH(QString, sql);
        QFETCH(QString, sentence);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (7, '7', 'O''Brien')"_s);
        exec(u"insert into SAM values ('WA 1', 7, 1, 1, '2020-01-01', null)"_s);
        try {
            exec(sql);
            QFAIL("the database took it");
        } catch (const fb::Error& e) {
            QVERIFY2(e.message().startsWith(sentence + u"\n\n"_s), qPrintable(e.message()));
            QVERIFY2(e.message().contains(u"violation of"_s), qPrintable(e.message()));
        }
    }

    void locationFileGivesTheDatabaseName()
    {
        QTemporaryDir dir;
        QCOMPARE(data::resolveDatabaseName(dir.path()), QStringLiteral("Brenvald.gdb"));
        QFile file(QDir(dir.path()).filePath(QStringLiteral("db_na.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("  serwer:/dane/brenvald.gdb\r\n\r\n \n\t");
        file.close();
        QCOMPARE(data::resolveDatabaseName(dir.path()), QStringLiteral("serwer:/dane/brenvald.gdb"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("/dane/ksi\xea gowo\x9c\xe6.gdb\r\n"); // Windows-1250 bytes
        file.close();
        QCOMPARE(data::resolveDatabaseName(dir.path()), QStringLiteral("/dane/księ gowość.gdb"));
        QCOMPARE(data::databaseNameFromText(QStringLiteral("a\nb\r\n")), QStringLiteral("a b"));

        QVERIFY(data::isRemoteName(QStringLiteral("serwer:/dane/brenvald.gdb")));
        QVERIFY(data::isRemoteName(QStringLiteral("serwer:\\dane\\brenvald.gdb")));
        QVERIFY(!data::isRemoteName(QStringLiteral("C:\\dane\\brenvald.gdb")));
        QVERIFY(!data::isRemoteName(QStringLiteral("brenvald.gdb")));
        QCOMPARE(data::clientDatabaseName(QStringLiteral("serwer:/x.gdb"), dir.path()), QStringLiteral("serwer:/x.gdb"));
    }

    // Where the location file is read and written: the start folder first, then the user's
    // configuration folder; a database beside the program without a file keeps its place.
    void theLocationFileLivesWhereTheUserCanKeepIt()
    {
        QTemporaryDir start;
        QDir(data::configurationDirectory()).removeRecursively();
        QVERIFY(!data::hasLocationFile(start.path()));
        QCOMPARE(data::locationDirectoryForWriting(start.path()), start.path());
        // A start folder the program cannot write to (here: one that is not there).
        QCOMPARE(data::locationDirectoryForWriting(start.filePath(u"nie-ma"_s)), data::configurationDirectory());

        data::writeLocationFile(u"serwer:/biuro.gdb"_s, data::configurationDirectory());
        QCOMPARE(data::resolveDatabaseName(start.path()), u"serwer:/biuro.gdb"_s);
        QCOMPARE(data::locationDirectoryForWriting(start.path()), data::configurationDirectory());
        QFile beside(start.filePath(u"brenvald.gdb"_s)); // the program's database in the start folder
        QVERIFY(beside.open(QIODevice::WriteOnly));
        beside.close();
        QCOMPARE(data::resolveDatabaseName(start.path()), u"Brenvald.gdb"_s);
        data::writeLocationFile(u"firma.gdb"_s, start.path());
        QCOMPARE(data::resolveDatabaseName(start.path()), u"firma.gdb"_s);
        QCOMPARE(data::locationDirectoryForWriting(start.path()), start.path());
        QDir(data::configurationDirectory()).removeRecursively();

        QCOMPARE(data::shownDatabaseName(u"/dane/biuro/firma.gdb"_s), u"firma.gdb"_s);
        QCOMPARE(data::shownDatabaseName(u"serwer:/dane/firma.gdb"_s), u"serwer:/dane/firma.gdb"_s);
    }

    void connectsToTheDefaultNameInTheCurrentFolder()
    {
        // The default name differs in letter case from the delivered file: it is still found.
        QTemporaryDir dir;
        QVERIFY(QFile::copy(testsupport::freshDeliveredDatabase(), QDir(dir.path()).filePath(QStringLiteral("brenvald.gdb"))));
        QCOMPARE(data::clientDatabaseName(QStringLiteral("Brenvald.gdb"), dir.path()),
                 QDir(dir.path()).filePath(QStringLiteral("brenvald.gdb")));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        Tdm_1 local;
        local.connectFromLocationFile();
        QDir::setCurrent(previous);
        QVERIFY(local.isConnected());
        QVERIFY(local.db_opl.databaseName().endsWith(QStringLiteral("/brenvald.gdb")));
        local.disconnectDatabase();

        Tdm_1 missing;
        QVERIFY_THROWS_EXCEPTION(std::exception, missing.connectTo(dir.filePath(QStringLiteral("nie-ma.gdb"))));
        QVERIFY(!missing.isConnected());
    }

    void everyDatasetOpensOnTheDeliveredDatabase()
    {
        const QDate from(2024, 1, 1), to(2024, 12, 31);
        for (const char* d : {"IBQ_rozl_w", "IBQ_rozl_w1"}) {
            dm->dataset(QString::fromLatin1(d))->setParam(QStringLiteral("naz"), QStringLiteral("X"));
            dm->dataset(QString::fromLatin1(d))->setParam(QStringLiteral("dpocz"), from);
            dm->dataset(QString::fromLatin1(d))->setParam(QStringLiteral("dkon"), to);
        }
        dm->IBQ_rozl_d.setParam(QStringLiteral("dpocz"), from);
        dm->IBQ_rozl_d.setParam(QStringLiteral("dkon"), to);
        dm->IBQ_sil_w.setParam(QStringLiteral("wybrok"), 2024);
        dm->IBQ_opl_w.setParam(QStringLiteral("wybrok"), 2024);
        dm->IBQ_zbior_w.setParam(QStringLiteral("naz"), QStringLiteral("X"));
        dm->IBQ_sam_kp.setParam(QStringLiteral("NRPOD"), 1);
        const QStringList order{"ibds_pal", "IBDS_siln", "IBQ_siln1", "IBDS_opl", "IBQ_rokopl", "IBDS_podat", "IBQ_pod",
                                "IBDS_sam", "IBT_param", "IBQ_pod_zak", "IBQ_sam_pod", "IBDS_zak", "IBDS_zak_kp",
                                "IBDS_pod_kp", "IBQ_rozl", "IBQ_rozl_d", "IBQ_sil_w", "IBQ_opl_w", "IBQ_rozl_w",
                                "IBQ_rozl_w1", "IBQ_zbior_w", "IBQ_sam_kp"};
        for (const QString& name : order) {
            ds::Dataset* d = dm->dataset(name);
            QVERIFY2(d, qPrintable(name));
            d->open();
            QVERIFY2(d->isActive(), qPrintable(name));
        }
        QCOMPARE(dm->ibds_pal.recordCount(), 6);
        QCOMPARE(dm->IBDS_siln.recordCount(), 44);
        QCOMPARE(dm->IBT_param.recordCount(), 22);
        // Rates of vehicle type 1 (the first row of IBQ_siln1) through the master link.
        QVERIFY(dm->IBDS_opl.recordCount() > 0);
        QCOMPARE(dm->IBDS_opl.fieldByName(QStringLiteral("NR_SILN")).asInteger(), 1);
        // Vehicle types that have rates in 2024, and the fuels of the first.
        QCOMPARE(dm->IBQ_sil_w.fieldByName(QStringLiteral("NR")).asInteger(), 1);
        QVERIFY(dm->IBQ_opl_w.recordCount() >= 3);
        QCOMPARE(dm->IBQ_opl_w.fieldByName(QStringLiteral("zuz")).displayText(), QString()); // no purchases: empty
        dm->disconnectDatabase();
        QVERIFY(!dm->IBDS_opl.isActive());
    }

    void referenceDataIsShippedExactly()
    {
        dm->ibds_pal.open();
        QVERIFY(dm->ibds_pal.locate(QStringLiteral("NR"), 5));
        QCOMPARE(dm->ibds_pal.fieldByName(QStringLiteral("NAZWA")).asString(), QStringLiteral("olej napędowy"));
        QCOMPARE(dm->ibds_pal.fieldByName(QStringLiteral("PRZEL_L_KG")).asMoney().units(), 8400);
        QCOMPARE(dm->ibds_pal.fieldByName(QStringLiteral("PRZEL_L_KG")).displayText(), QStringLiteral("0,84"));
        QVERIFY(dm->ibds_pal.locate(QStringLiteral("NR"), 1));
        QCOMPARE(dm->ibds_pal.fieldByName(QStringLiteral("PRZEL_L_KG")).displayText(), QStringLiteral("0,755"));

        QFile rates(QStringLiteral(":/data/reference/rates.csv"));
        QVERIFY(rates.open(QIODevice::ReadOnly));
        const int rateLines = QString::fromUtf8(rates.readAll()).trimmed().split(QLatin1Char('\n')).size() - 1;
        QCOMPARE(count(QStringLiteral("select count(*) from TAB_OPL_SILN")), rateLines);
        QCOMPARE(count(QStringLiteral("select count(*) from TAB_OPL_SILN where ROK = 2021 and NR_SILN = 32 and NR_PALIWA = 5")), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_SILNIKA where NAZWA = '(2006-2008) Ciągniki rolnicze'")), 1);

        dm->IBT_param.open();
        QVERIFY(dm->IBT_param.locate(QStringLiteral("ROK"), 2013));
        QCOMPARE(dm->IBT_param.fieldByName(QStringLiteral("PLAC_MIN")).displayText(), QStringLiteral("1.600,00 zł"));
        QCOMPARE(dm->IBT_param.fieldByName(QStringLiteral("WSK_PROC")).asMoney().units(), 500000);

        // The generators continue after the shipped numbers.
        dm->ibds_pal.append();
        QCOMPARE(dm->ibds_pal.fieldByName(QStringLiteral("NR")).asInteger(), 7);
        dm->ibds_pal.cancel();
        dm->IBDS_siln.open();
        dm->IBDS_siln.append();
        QCOMPARE(dm->IBDS_siln.fieldByName(QStringLiteral("NR")).asInteger(), 45);
        dm->IBDS_siln.cancel();
    }

    void yearlyPercentageIsLimited()
    {
        dm->IBT_param.open();
        QVERIFY(dm->IBT_param.locate(QStringLiteral("ROK"), 2024));
        dm->IBT_param.edit();
        try {
            dm->IBT_param.fieldByName(QStringLiteral("WSK_PROC")).setText(QStringLiteral("50,5"));
            QFAIL("50,5 was accepted");
        } catch (const ds::Error& e) {
            QCOMPARE(e.message(), QStringLiteral("50,5 is not a valid value for field 'Wskaźnik procentowy'. The allowed range is 25 to 50"));
        }
        dm->IBT_param.fieldByName(QStringLiteral("WSK_PROC")).setText(QStringLiteral("25"));
        dm->IBT_param.fieldByName(QStringLiteral("PLAC_MIN")).setText(QStringLiteral("1.234,5"));
        dm->IBT_param.post();
        QCOMPARE(count(QStringLiteral("select count(*) from PARAM where ROK = 2024 and WSK_PROC = 25 and PLAC_MIN = 1234.5")), 1);
    }

    void feeRateRowsKeepTheYearListInStep()
    {
        QStringList years;
        QString shown;
        connect(dm.get(), &Tdm_1::rateYearsChanged, this, [&](const QStringList& y, const QString& s) {
            years = y;
            shown = s;
        });
        dm->readRateYears();
        const QStringList delivered = years;
        QVERIFY(delivered.contains(u"2025"_s));
        QCOMPARE(shown, delivered.last());
        QCOMPARE(dm->rateYear(), delivered.last());
        dm->chooseRates(u"2025"_s);
        dm->ibds_pal.open();
        dm->IBQ_siln1.open();
        QVERIFY(dm->IBQ_siln1.locate(QStringLiteral("NR"), 3));
        dm->IBDS_opl.open();

        // A new rate takes the shown year and the chosen vehicle type, both fixed.
        dm->IBDS_opl.append();
        QCOMPARE(dm->IBDS_opl.fieldByName(QStringLiteral("ROK")).asInteger(), 2025);
        QCOMPARE(dm->IBDS_opl.fieldByName(QStringLiteral("NR_SILN")).asInteger(), 3);
        QVERIFY_THROWS_EXCEPTION(ds::Error, dm->IBDS_opl.fieldByName(QStringLiteral("ROK")).setValue(2030));
        dm->IBDS_opl.cancel();

        // With no year shown the user types it; a new year joins the list once posted.
        dm->IBDS_opl.close();
        dm->chooseRates({});
        dm->IBDS_opl.open();
        dm->IBDS_opl.append();
        QVERIFY(dm->IBDS_opl.fieldByName(QStringLiteral("ROK")).isNull());
        dm->IBDS_opl.fieldByName(QStringLiteral("ROK")).setValue(2031);
        dm->IBDS_opl.fieldByName(QStringLiteral("NR_PALIWA")).setValue(1);
        dm->IBDS_opl.fieldByName(QStringLiteral("OPL_ZA_TONE")).setText(QStringLiteral("12,34"));
        dm->IBDS_opl.post();
        QCOMPARE(years, delivered + QStringList{u"2031"_s});
        QCOMPARE(shown, QString());

        // Deleting the last rate of a year drops the year and shows the last one left.
        QVERIFY(dm->IBDS_opl.locate(QStringList{QStringLiteral("ROK")}, QVariantList{2031}));
        dm->IBDS_opl.remove();
        QCOMPARE(years, delivered);
        QCOMPARE(shown, delivered.last());
        QCOMPARE(dm->rateYear(), delivered.last());
        QVERIFY(dm->IBDS_opl.isActive());
        QCOMPARE(dm->IBDS_opl.value(u"ROK"_s).toString(), delivered.last());
        // Deleting one of several rates of a year keeps the year.
        QVERIFY(dm->IBDS_opl.recordCount() > 1);
        dm->IBDS_opl.remove();
        QCOMPARE(years, delivered);
    }

    void taxpayerRowsKeepTheSearchListInStep()
    {
        QStringList names;
        connect(dm.get(), &Tdm_1::shortNameAdded, this, [&](const QString& name) { names << name; });
        connect(dm.get(), &Tdm_1::shortNameRemoved, this, [&](const QString& name) { names.removeAll(name); });
        dm->IBDS_podat.open();
        dm->IBDS_podat.append();
        dm->IBDS_podat.fieldByName(QStringLiteral("NR_PODAT")).setValue(1);
        dm->IBDS_podat.fieldByName(QStringLiteral("NIP")).setValue(QStringLiteral("123-456-32-18"));
        dm->IBDS_podat.fieldByName(QStringLiteral("NAZSKR")).setValue(QStringLiteral("ŁĄKA"));
        dm->IBDS_podat.post();
        QCOMPARE(names, QStringList{QStringLiteral("ŁĄKA")});

        dm->IBDS_podat.edit();
        dm->IBDS_podat.fieldByName(QStringLiteral("NAZSKR")).setValue(QStringLiteral("BŁONIE"));
        dm->IBDS_podat.post();
        QCOMPARE(names, QStringList{QStringLiteral("BŁONIE")});

        dm->IBDS_podat.edit();
        dm->IBDS_podat.fieldByName(QStringLiteral("NAZWA")).setValue(QStringLiteral("Błonie Sp. z o.o."));
        dm->IBDS_podat.post();
        QCOMPARE(names, QStringList{QStringLiteral("BŁONIE")});

        dm->IBDS_podat.remove();
        QVERIFY(names.isEmpty());
    }

    // Quantities and litre masses that no invoice has are refused as they are typed.
    void quantityAndLitreMassLimits()
    {
        dm->ibds_pal.open();
        dm->ibds_pal.edit();
        ds::Field& mass = dm->ibds_pal.fieldByName(QStringLiteral("PRZEL_L_KG"));
        for (const char* refused : {"10,0001", "-0,0001", "214748,3647"})
            QVERIFY_THROWS_EXCEPTION(ds::Error, mass.setText(QString::fromLatin1(refused)));
        mass.setText(QStringLiteral("10"));
        dm->ibds_pal.cancel();
        for (ds::Dataset* purchases : {&dm->IBDS_zak, &dm->IBDS_zak_kp}) {
            ds::Field& litres = purchases->fieldByName(QStringLiteral("IL_ZAK"));
            purchases->open();
            purchases->append();
            for (const char* refused : {"10000000,01", "99999999", "-100000,01", "1e18"})
                QVERIFY_THROWS_EXCEPTION(ds::Error, litres.setText(QString::fromLatin1(refused)));
            for (const char* accepted : {"10000000", "-100000", "0,01"})
                litres.setText(QString::fromLatin1(accepted));
            purchases->cancel();
            purchases->close();
        }
    }

    void shortNamesAreUnique()
    {
        exec(QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '1', 'KOWALSKI')"));
        dm->IBDS_podat.open();
        dm->IBDS_podat.append();
        dm->IBDS_podat.fieldByName(QStringLiteral("NR_PODAT")).setValue(2);
        dm->IBDS_podat.fieldByName(QStringLiteral("NIP")).setValue(QStringLiteral("2"));
        dm->IBDS_podat.fieldByName(QStringLiteral("NAZSKR")).setValue(QStringLiteral("KOWALSKI"));
        try {
            dm->IBDS_podat.post();
            QFAIL("a second taxpayer of the same short name was posted");
        } catch (const ds::Error& e) {
            QCOMPARE(e.message(), QStringLiteral("Nazwa skrócona „KOWALSKI” należy już do podatnika nr 1. Nazwa skrócona musi być niepowtarzalna."));
        }
        QCOMPARE(dm->IBDS_podat.state(), ds::DatasetState::Insert);
        dm->IBDS_podat.fieldByName(QStringLiteral("NAZSKR")).setValue(QStringLiteral("KOWALSKA"));
        dm->IBDS_podat.post();
        // Renumbering a taxpayer keeps its own name; the database refuses a duplicate too.
        dm->IBDS_podat.edit();
        dm->IBDS_podat.fieldByName(QStringLiteral("NR_PODAT")).setValue(3);
        dm->IBDS_podat.post();
        QVERIFY_THROWS_EXCEPTION(fb::Error, exec(QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (9, '9', 'KOWALSKA')")));
    }

    void newVehicleBelongsToTheChosenTaxpayer()
    {
        exec(QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '1', 'A')"));
        exec(QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (2, '2', 'B')"));
        exec(QStringLiteral("insert into SAM values ('WA1', 1, 5, 1, '2020-01-01', null)"));
        dm->IBQ_pod.open();
        dm->IBDS_sam.open();
        QVERIFY(dm->IBQ_pod.locate(QStringLiteral("NR_PODAT"), 1));
        QCOMPARE(dm->IBDS_sam.recordCount(), 1);
        QVERIFY(dm->IBQ_pod.locate(QStringLiteral("NR_PODAT"), 2));
        QCOMPARE(dm->IBDS_sam.recordCount(), 0);
        dm->IBDS_sam.append();
        QCOMPARE(dm->IBDS_sam.fieldByName(QStringLiteral("NR_POD")).asInteger(), 2);
        QVERIFY(dm->IBDS_sam.fieldByName(QStringLiteral("NR_POD")).isReadOnly());
        dm->IBDS_sam.fieldByName(QStringLiteral("NR_REJ")).setValue(QStringLiteral("KR 2"));
        dm->IBDS_sam.fieldByName(QStringLiteral("NR_RODZ_SILN")).setValue(5);
        dm->IBDS_sam.fieldByName(QStringLiteral("NR_RODZ_PAL")).setValue(1);
        try {
            dm->IBDS_sam.post();
            QFAIL("a vehicle without its first day of use was posted");
        } catch (const ds::Error& e) {
            QCOMPARE(e.message(), QStringLiteral("Field 'Data rozp. użytkow.' must have a value"));
        }
        dm->IBDS_sam.fieldByName(QStringLiteral("D_ROZP_U")).setText(QStringLiteral("5-11-2004"));
        dm->IBDS_sam.post();
        QCOMPARE(count(QStringLiteral("select count(*) from SAM where NR_POD = 2 and D_ROZP_U = '2004-11-05'")), 1);
    }

    // The module's operations answer by the stored rows and close only what they opened:
    // a list a screen holds open stays open, shared name lookups stay while any holder lives.
    void operationsCloseWhatTheyOpened()
    {
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '1', 'O''HARA')"_s);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (2, '2', 'ĆWIK')"_s);
        exec(u"insert into SAM values ('WA1', 1, 5, 1, '2020-01-01', null)"_s);
        QVERIFY(dm->taxpayerExists(u"O'HARA"_s));
        QVERIFY(dm->taxpayerExists(u"ĆWIK"_s));
        QVERIFY(!dm->taxpayerExists(u"O'HAR"_s));
        QCOMPARE(dm->taxpayerShortNames(), QStringList{u"O'HARA"_s}); // only who has vehicles
        // The lists people choose from follow the Polish alphabet, not the stored bytes.
        const QStringList others{u"ŻÓŁW"_s, u"Zenit"_s, u"CYNK"_s, u"ĆWIK"_s};
        for (int i = 0; i < others.size(); ++i) {
            if (i < 3)
                exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (%1, '%1', '%2')"_s.arg(i + 3).arg(others[i]));
            exec(u"insert into SAM values ('W%1', (select NR_PODAT from PODAT where NAZSKR = '%2'), 5, 1, '2020-01-01', null)"_s
                     .arg(i).arg(others[i]));
        }
        QCOMPARE(dm->taxpayerShortNames(), (QStringList{u"CYNK"_s, u"ĆWIK"_s, u"O'HARA"_s, u"Zenit"_s, u"ŻÓŁW"_s}));

        dm->ibds_pal.open(); // as the fuel screen holds it
        auto first = dm->openNameLookups();
        auto second = dm->openNameLookups();
        QVERIFY(dm->IBDS_siln.isActive());
        first.reset();
        QVERIFY(dm->IBDS_siln.isActive());
        second.reset();
        QVERIFY(!dm->IBDS_siln.isActive());
        QVERIFY(dm->ibds_pal.isActive());
        dm->ibds_pal.close();

        const data::Period year = data::settlementPeriod(2024, 0);
        {
            const ds::OpenedDatasets statement = dm->openStatement(u"O'HARA"_s, 2024, year);
            const ds::OpenedDatasets aggregate = dm->openAggregateStatement(u"O'HARA"_s);
            const ds::OpenedDatasets register_ = dm->openPurchaseRegister(u"O'HARA"_s, year);
            QCOMPARE(dm->IBQ_zbior_w.value(u"NR_PODAT"_s).toInt(), 1);
            for (ds::Dataset* d : {&dm->IBQ_sil_w, &dm->IBQ_opl_w, &dm->IBQ_zbior_w, &dm->IBQ_rozl_w, &dm->IBQ_rozl_w1})
                QVERIFY(d->isActive());
        }
        for (ds::Dataset* d : {&dm->IBQ_sil_w, &dm->IBQ_opl_w, &dm->IBQ_zbior_w, &dm->IBQ_rozl_w, &dm->IBQ_rozl_w1})
            QVERIFY(!d->isActive());
    }

    // A database of an earlier version (no character set) moves into a new file that declares
    // Windows-1250: every row and counter as it was, Polish letters included; nothing is
    // overwritten, and a database that declares its character set needs no move.
    void oldDatabaseMovesToWindows1250()
    {
        const QString old = testsupport::workDir() + u"/stara.gdb"_s;
        const QString moved = testsupport::workDir() + u"/nowa.gdb"_s;
        QFile::remove(old);
        QFile::remove(moved);
        {
            fb::Connection c;
            c.create(old, data::defaultUser(), data::defaultPassword(), 8192, fb::Connection::Declared::Nothing);
            fb::Transaction t(&c);
            data::createSchema(c, t);
            data::loadReferenceData(c, t);
            for (const QString& sql :
                 {u"insert into PODAT (NR_PODAT, NIP, NAZSKR, NAZWA) values (1, '1', 'ŻÓŁW', 'Łąka \"Źródło\"')"_s,
                  u"insert into SAM values ('WA1', 1, 5, 1, '2020-01-01', null)"_s,
                  u"insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) values (7, 'WA1', 'Ś/1', '2024-03-01', 1, 12.34)"_s,
                  u"insert into WIERSZE_EFAKTUR values ('5260250274', 'Ś/1/2024/bardzo długi numer faktury', 1, 1, 7, 'WA1', "
                  "'2024-03-01', 1, 12.34, '2024-03-05 10:00:00')"_s})
                c.executeImmediate(t, sql);
            c.setGenerator(t, u"G_ZAK"_s, 7);
            t.commit();
            QCOMPARE(c.characterSet(), u"NONE"_s);
        }
        data::copyToWindows1250Database(old, moved);
        const auto everything = [](const QString& path) {
            fb::Connection c;
            c.open(path, data::defaultUser(), data::defaultPassword());
            fb::Transaction t(&c);
            QList<QList<QVariantList>> tables;
            for (const char* table : {"RODZ_PALIWA", "RODZ_SILNIKA", "TAB_OPL_SILN", "PARAM", "PODAT", "SAM", "ZAK_PAL", "WIERSZE_EFAKTUR"}) {
                auto rows = testsupport::queryRows(c, t, u"select * from %1"_s.arg(QLatin1String(table)));
                std::sort(rows.begin(), rows.end(), [](const QVariantList& a, const QVariantList& b) {
                    return QVariant(a).toStringList().join(u'|') < QVariant(b).toStringList().join(u'|');
                });
                tables << rows;
            }
            tables << testsupport::queryRows(c, t, u"select gen_id(G_ZAK, 0), gen_id(G_NRPAL, 0), gen_id(G_NRSIL, 0) from rdb$database"_s);
            return std::pair{c.characterSet(), tables};
        };
        const auto [oldSet, oldRows] = everything(old);
        const auto [newSet, newRows] = everything(moved);
        QCOMPARE(oldSet, u"NONE"_s);
        QCOMPARE(newSet, u"WIN1250"_s);
        QCOMPARE(newRows, oldRows);
        QVERIFY(newRows[4][0].contains(u"ŻÓŁW"_s));
        QCOMPARE(newRows[7].size(), 1); // the e-invoice lines taken over, without which they would be taken again
        {
            // The program's module attaches such a database without a character set, as it
            // declares none, and reads its Polish letters as they were written.
            Tdm_1 module;
            module.connectTo(old);
            QCOMPARE(module.db_opl.characterSet(), u"NONE"_s);
            QCOMPARE(testsupport::queryRows(module.db_opl, module.tr_opl, u"select NAZSKR from PODAT"_s).value(0).value(0).toString(),
                     u"ŻÓŁW"_s);
            module.disconnectDatabase();
        }
        QVERIFY_THROWS_EXCEPTION(fb::Error, data::copyToWindows1250Database(old, moved)); // exists
        QFile::remove(old);
        QVERIFY_THROWS_EXCEPTION(fb::Error, data::copyToWindows1250Database(moved, old)); // declares one
        QVERIFY(!QFile::exists(old));
    }

    void deletingReferencedRowsIsRefused()
    {
        exec(QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '1', 'A')"));
        exec(QStringLiteral("insert into SAM values ('WA1', 1, 5, 1, '2020-01-01', null)"));
        dm->IBDS_podat.open();
        QVERIFY_THROWS_EXCEPTION(std::exception, dm->IBDS_podat.remove());
        QCOMPARE(dm->IBDS_podat.recordCount(), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from PODAT")), 1);
        // Renumbering a taxpayer carries its vehicles along.
        dm->IBDS_podat.edit();
        dm->IBDS_podat.fieldByName(QStringLiteral("NR_PODAT")).setValue(9);
        dm->IBDS_podat.post();
        QCOMPARE(count(QStringLiteral("select count(*) from SAM where NR_POD = 9")), 1);
    }
};

TEST_MAIN(QCoreApplication, TestDataModule)
#include "test_data_module.moc"
