#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "application.h"
#include "test_main.h"
#include "data/connection_settings.h"
#include "desktop/help_system.h"
#include "desktop/network_drive.h"
#include "desktop/open_file_dialog.h"
#include "module_fixture.h"
#include "serw_op.h"
#include "sql_testing.h"
#include "text/cp1250.h"
#include "text/formats.h"
#include "widget_testing.h"

// The database location dialog: what it reads, writes and connects to.
class TestSerwOp : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder; // the program's start folder
    QString previousDir;
    QString offeredFile;
    QList<desktop::OpenFileRequest> fileRequests;
    QList<int> helpAsked;

    QByteArray locationFile() const
    {
        QFile f(QDir(folder->path()).filePath(QStringLiteral("db_na.txt")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    void writeLocationFile(const QByteArray& bytes)
    {
        QFile f(QDir(folder->path()).filePath(QStringLiteral("db_na.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // A copy of the delivered database in `subfolder` of the start folder, named brenvald.gdb.
    QString copyDatabase(const QString& subfolder)
    {
        const QString target = QDir(folder->path()).filePath(subfolder);
        QDir().mkpath(target);
        const QString file = QDir(target).filePath(QStringLiteral("brenvald.gdb"));
        QFile::copy(testsupport::freshDeliveredDatabase(), file);
        return file;
    }
private slots:
    void initTestCase()
    {
        text::applyProgramFormats();
        desktop::setOpenFileHandler([this](const desktop::OpenFileRequest& r) {
            fileRequests << r;
            return offeredFile;
        });
        desktop::HelpSystem::setHandler([this](int context) { helpAsked << context; });
    }
    void init()
    {
        start();
        folder = std::make_unique<QTemporaryDir>();
        previousDir = QDir::currentPath();
        QDir::setCurrent(folder->path());
        fileRequests.clear();
        helpAsked.clear();
    }
    void cleanup()
    {
        QDir::setCurrent(previousDir);
        desktop::setDriveLookup({});
        stop();
        folder.reset();
    }

    void pathRule_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lookedUp");
        QTest::newRow("network path") << "\\\\serwer\\dane\\brenvald.gdb" << "serwer:\\dane\\brenvald.gdb" << "";
        QTest::newRow("server alone") << "\\\\serwer" << "serwer" << "";
        QTest::newRow("mapped drive") << "g:\\firma\\brenvald.gdb" << "serwer:\\dane\\firma\\brenvald.gdb" << "G";
        QTest::newRow("local drive F or later") << "H:\\brenvald.gdb" << "H:\\brenvald.gdb" << "H";
        QTest::newRow("drives A to E never looked up") << "C:\\dane\\brenvald.gdb" << "C:\\dane\\brenvald.gdb" << "";
        QTest::newRow("no drive letter") << "/home/biuro/brenvald.gdb" << "/home/biuro/brenvald.gdb" << "";
    }
    void pathRule()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, lookedUp);
        QString asked;
        desktop::setDriveLookup([&](QChar drive) {
            asked += drive;
            return drive == QLatin1Char('G') ? QStringLiteral("\\\\serwer\\dane") : QString();
        });
        QCOMPARE(data::databaseNameFromNetworkPath(desktop::networkFormOfPath(path)), name);
        QCOMPARE(asked, lookedUp);

        // The same through the browse button, which lists only the database file.
        TF_serw_op dialog(*dm);
        dialog.setServerMode(1);
        offeredFile = path;
        testsupport::control<QToolButton>(&dialog, "SB_bd")->click();
        QCOMPARE(testsupport::control<QLineEdit>(&dialog, "LE_bd")->text(), name);
        QCOMPARE(fileRequests.last().filters, QStringList{QStringLiteral("Plik bazy danych (brenvald.gdb)")});
        QCOMPARE(fileRequests.last().caption, QStringLiteral("Wskaż plik bazy danych (brenvald.gdb)"));
        // Cancelling the file dialog keeps the name.
        offeredFile.clear();
        testsupport::control<QToolButton>(&dialog, "SB_bd")->click();
        QCOMPARE(testsupport::control<QLineEdit>(&dialog, "LE_bd")->text(), name);
    }

    void opensInTheModeOfTheStoredName_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("name");
        QTest::newRow("no file") << QByteArray("<none>") << 0 << "brenvald.gdb";
        QTest::newRow("server path, blank lines after") << QByteArray("  serwer:/dane/brenvald.gdb \r\n\r\n") << 1
                                                        << "serwer:/dane/brenvald.gdb";
        QTest::newRow("drive letter") << QByteArray("C:\\dane\\brenvald.gdb\r\n") << 0 << "C:\\dane\\brenvald.gdb";
        QTest::newRow("port and Polish letters") << QByteArray("biuro/3051:c:\\dane\\\xBF\xF3\xB3w.gdb\r\n") << 1
                                                 << QStringLiteral("biuro/3051:c:\\dane\\żółw.gdb");
    }
    void opensInTheModeOfTheStoredName()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, mode);
        QFETCH(QString, name);
        if (file != "<none>")
            writeLocationFile(file);
        TF_serw_op dialog(*dm);
        dialog.show();
        QCOMPARE(dialog.serverMode(), mode);
        QCOMPARE(testsupport::control<QLineEdit>(&dialog, "LE_bd")->text(), name);
        for (const char* remoteOnly : {"LE_bd", "SB_bd", "kl_test"})
            QCOMPARE(testsupport::control<QWidget>(&dialog, remoteOnly)->isVisible(), mode == 1);
        QCOMPARE(dialog.windowTitle(),
                 QStringLiteral("Połozenie pliku z bazą danych -naliczanie opłat za korzystanie ze środowiska"));
        testsupport::control<QPushButton>(&dialog, "kl_pom")->click();
        QCOMPARE(helpAsked, QList<int>{2100});
    }

    void savingSwitchesTheDatabase()
    {
        // Work of this run in the old database.
        screentest::exec(QStringLiteral("insert into PODAT (NR_PODAT, NAZSKR, NIP) values (901, 'STARA', '1')"));
        const QString old = path;

        // Local mode writes the local name whatever the edit holds, and the module follows.
        copyDatabase(QStringLiteral("."));
        {
            TF_serw_op dialog(*dm);
            dialog.show();
            testsupport::control<QLineEdit>(&dialog, "LE_bd")->setText(QStringLiteral("serwer:/dane/brenvald.gdb"));
            testsupport::control<QPushButton>(&dialog, "kl_zap")->click();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(locationFile(), QByteArray("brenvald.gdb\r\n"));
        QVERIFY(dm->isConnected());
        QCOMPARE(dm->db_opl.databaseName(), QDir(folder->path()).filePath(QStringLiteral("brenvald.gdb")));
        QCOMPARE(screentest::count(QStringLiteral("select count(*) from PODAT where NR_PODAT=901")), 0);
        QVERIFY(shown.isEmpty());

        // The old database kept its work.
        {
            fb::Connection c;
            c.open(old, data::defaultUser(), data::defaultPassword());
            fb::Transaction t(&c);
            fb::Statement st(c, t, QStringLiteral("select NAZSKR from PODAT where NR_PODAT=901"));
            st.execute();
            QVERIFY(st.fetch());
            QCOMPARE(st.value(0).toString(), QStringLiteral("STARA"));
        }

        // Remote mode: the trimmed name, in Windows-1250 with CR LF; a folder with Polish
        // letters is opened as it is named.
        const QString polish = copyDatabase(QStringLiteral("żółw"));
        screentest::exec(QStringLiteral("insert into PODAT (NR_PODAT, NAZSKR, NIP) values (902, 'NOWA', '2')"));
        {
            TF_serw_op dialog(*dm);
            dialog.show();
            dialog.setServerMode(1);
            testsupport::control<QLineEdit>(&dialog, "LE_bd")->setText(QStringLiteral("  ") + polish + QStringLiteral("  "));
            testsupport::control<QPushButton>(&dialog, "kl_test")->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(shownTexts(), QStringList{QStringLiteral("Połączono z bazą danych")});
            QCOMPARE(locationFile(), QByteArray("brenvald.gdb\r\n")); // a test writes nothing
            testsupport::control<QPushButton>(&dialog, "kl_zap")->click();
        }
        QCOMPARE(locationFile(), *text::toCp1250(polish) + "\r\n");
        QCOMPARE(dm->db_opl.databaseName(), polish);
        QCOMPARE(screentest::count(QStringLiteral("select count(*) from PODAT where NR_PODAT in (901, 902)")), 0);
    }

    void failuresKeepWhatTheUserTyped()
    {
        const QString missing = QDir(folder->path()).filePath(QStringLiteral("nie-ma-żółwia/brenvald.gdb"));
        // A failed test: nothing stored, the dialog stays, the module has no connection.
        {
            TF_serw_op dialog(*dm);
            dialog.show();
            dialog.setServerMode(1);
            testsupport::control<QLineEdit>(&dialog, "LE_bd")->setText(missing);
            testsupport::control<QPushButton>(&dialog, "kl_test")->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.first().kind, desktop::MessageKind::Error);
            // The server's text names the file as it is named.
            QVERIFY2(shown.first().text.contains(QStringLiteral("żółwia")), qPrintable(shown.first().text));
            QVERIFY(!dm->isConnected());
            QCOMPARE(locationFile(), QByteArray("<none>"));
            // A failed save stores the name and closes the dialog all the same.
            testsupport::control<QPushButton>(&dialog, "kl_zap")->click();
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(locationFile(), *text::toCp1250(missing) + "\r\n");

        // A name the file cannot hold, or a file that cannot be written: the dialog stays,
        // the file and the connection are as they were.
        dm->connectTo(path);
        shown.clear();
        for (const QString& name : {QStringLiteral("serwer:/данные.gdb"), QStringLiteral("serwer:/dane.gdb")}) {
            if (name.endsWith(QStringLiteral("dane.gdb"))) {
                QFile::remove(QStringLiteral("db_na.txt"));
                QDir().mkdir(QStringLiteral("db_na.txt"));
            }
            TF_serw_op dialog(*dm);
            dialog.show();
            dialog.setServerMode(1);
            testsupport::control<QLineEdit>(&dialog, "LE_bd")->setText(name);
            testsupport::control<QPushButton>(&dialog, "kl_zap")->click();
            QVERIFY(dialog.isVisible());
            QVERIFY(dm->isConnected());
            QCOMPARE(dm->db_opl.databaseName(), path);
        }
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown.at(0).text.contains(QStringLiteral("Windows-1250")));
        QVERIFY(shown.at(1).text.startsWith(QStringLiteral("Nie można zapisać pliku")));
    }
};

TEST_MAIN(Application, TestSerwOp)
#include "test_serw_op.moc"
