#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include "data/connection_settings.h"
#include "data/dm1.h"
#include "desktop/messages.h"
#include "backup_actions.h"
#include "desktop/open_file_dialog.h"
#include "desktop/save_file_dialog.h"
#include "ok_gl.h"
#include "program_database.h"
#include "purchases/zak.h"
#include "registers/pod.h"
#include "registers/sam.h"
#include "reports/rozl.h"
#include "startup.h"
#include "tables/opl.h"
#include "tables/pal.h"
#include "tables/par.h"
#include "tables/siln.h"
#include "text/formats.h"
#include "test_main.h"

#include <sys/stat.h>

class TestStartup : public QObject {
    Q_OBJECT

    QList<desktop::Message> shown;
    QString previousDir;

private slots:
    void init()
    {
        shown.clear();
        desktop::setMessageHandler([this](const desktop::Message& m) {
            shown << m;
            return desktop::Answer::Ok;
        });
        previousDir = QDir::currentPath();
    }

    void cleanup()
    {
        QDir::setCurrent(previousDir);
        desktop::setMessageHandler({});
    }

    void withoutADatabaseTheMainWindowStillOpens()
    {
        QTemporaryDir empty;
        QDir::setCurrent(empty.path());
        Tdm_1 dm;
        QVERIFY(!connectDataModule(dm)); // the user closes the first-start question
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, desktop::MessageKind::Choice);
        QVERIFY(!dm.isConnected());

        Tf_ok_gl window(dm);
        window.show();
        QVERIFY(window.isVisible());
        QCOMPARE(shown.size(), 1);
        // After start-up a typed date and number follow the program's formats.
        text::formats() = text::Formats{QStringLiteral("yyyy/MM/dd"), QLatin1Char('/'), QLatin1Char('.'), QLatin1Char(',')};
        Tf_ok_gl again(dm);
        QCOMPARE(text::parseDate(QStringLiteral("5-11-2004")), QDate(2004, 11, 5));
        QCOMPARE(*text::parseFloat(QStringLiteral("1234,5")), 1234.5L);
        QCOMPARE(text::formatNumber(1234.56), QStringLiteral("1.234,56"));
    }

    // No database where the program looks: the user creates one in the data folder or picks
    // a file, and the choice is remembered in the configuration folder; a database that is
    // there but cannot be opened says why in Polish; the caption names the database open.
    void aFirstStartOffersADatabase()
    {
        QTemporaryDir home;
        QDir::setCurrent(home.path());
        QDir(data::configurationDirectory()).removeRecursively();
        QDir(data::dataDirectory()).removeRecursively();
        desktop::Answer answer = desktop::Answer::First;
        desktop::setMessageHandler([&](const desktop::Message& m) {
            shown << m;
            return m.kind == desktop::MessageKind::Choice ? answer : desktop::Answer::Ok;
        });
        {
            Tdm_1 dm;
            Tf_ok_gl window(dm);
            QVERIFY(connectDataModule(dm));
            const QString created = QDir(data::dataDirectory()).filePath(QStringLiteral("brenvald.gdb"));
            QCOMPARE(dm.db_opl.databaseName(), created);
            QCOMPARE(shown[0].choices, (QStringList{QStringLiteral("Utwórz nową bazę"), QStringLiteral("Wskaż plik bazy…"),
                                                    QStringLiteral("Baza na serwerze…"), QStringLiteral("Anuluj")}));
            QCOMPARE(shown[1].text, QStringLiteral("Utworzono nową bazę danych %1.").arg(created));
            QCOMPARE(data::resolveDatabaseName(), created);
            QVERIFY(window.windowTitle().endsWith(QStringLiteral(" — brenvald.gdb")));
            dm.ibds_pal.open();
            QCOMPARE(dm.ibds_pal.recordCount(), 6); // the delivered reference data
        }
        // The file named is gone: the same question names it; a file is picked instead.
        QVERIFY(QFile::rename(QDir(data::dataDirectory()).filePath(QStringLiteral("brenvald.gdb")),
                              QDir(data::dataDirectory()).filePath(QStringLiteral("kopia.gdb"))));
        shown.clear();
        answer = desktop::Answer::Second;
        desktop::setOpenFileHandler([](const desktop::OpenFileRequest&) {
            return QDir(data::dataDirectory()).filePath(QStringLiteral("kopia.gdb"));
        });
        {
            Tdm_1 dm;
            QVERIFY(connectDataModule(dm));
            QVERIFY(shown[0].text.startsWith(QStringLiteral("Nie ma pliku bazy danych %1.")
                                                 .arg(QDir(data::dataDirectory()).filePath(QStringLiteral("brenvald.gdb")))));
            QCOMPARE(data::resolveDatabaseName(), QDir(data::dataDirectory()).filePath(QStringLiteral("kopia.gdb")));
        }
        desktop::setOpenFileHandler({});
        // A file that is no database: the error says so in Polish.
        QFile bad(QDir(data::dataDirectory()).filePath(QStringLiteral("kopia.gdb")));
        QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
        bad.write(QByteArray(8192, 'x'));
        bad.close();
        shown.clear();
        {
            Tdm_1 dm;
            QVERIFY(!connectDataModule(dm));
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].text.startsWith(QStringLiteral("Ten plik nie jest bazą danych")), qPrintable(shown[0].text));
        }
        QDir(data::configurationDirectory()).removeRecursively();
        QDir(data::dataDirectory()).removeRecursively();
    }

    void connectsToTheDatabaseOfTheLocationFile()
    {
        QTemporaryDir dir;
        const QString file = QDir(dir.path()).filePath(QStringLiteral("firma.gdb"));
        QVERIFY(QFile::copy(testsupport::freshDeliveredDatabase(), file));
        QFile location(QDir(dir.path()).filePath(QStringLiteral("db_na.txt")));
        QVERIFY(location.open(QIODevice::WriteOnly));
        location.write("firma.gdb\r\n");
        location.close();
        QDir::setCurrent(dir.path());
        Tdm_1 dm;
        QVERIFY(connectDataModule(dm));
        QVERIFY(shown.isEmpty());
        dm.ibds_pal.open();
        QCOMPARE(dm.ibds_pal.recordCount(), 6);
        dm.ibds_pal.close();

        // Each built screen opens modally from its action, reachable through its instance
        // pointer while open, and is freed when it closes.
        Tf_ok_gl window(dm);
        window.show();
        const QList<QPair<QAction*, std::function<QWidget*()>>> screens{
            {window.a_pod, [] { return static_cast<QWidget*>(f_pod); }},
            {window.a_sam, [] { return static_cast<QWidget*>(f_sam); }},
            {window.a_pal, [] { return static_cast<QWidget*>(f_pal); }},
            {window.a_sil, [] { return static_cast<QWidget*>(f_siln); }},
            {window.a_opl, [] { return static_cast<QWidget*>(f_opl); }},
            {window.a_par, [] { return static_cast<QWidget*>(f_par); }},
            {window.a_rozl, [] { return static_cast<QWidget*>(f_rozl); }},
            {window.a_zak, [] { return static_cast<QWidget*>(f_zak); }},
        };
        for (const auto& [action, instance] : screens) {
            QPointer<QWidget> seen;
            bool modalWasTheScreen = false;
            QTimer::singleShot(0, this, [&] {
                seen = instance();
                QWidget* modal = QApplication::activeModalWidget();
                modalWasTheScreen = modal && modal == seen;
                if (modal)
                    modal->close();
            });
            action->trigger();
            QVERIFY2(modalWasTheScreen, qPrintable(action->objectName()));
            QVERIFY2(!instance(), qPrintable(action->objectName()));
            QVERIFY2(!seen, qPrintable(action->objectName())); // freed
        }
        QVERIFY(shown.isEmpty());
    }

    // The menu's backup is offered by name in the user's own folder (not beside the database
    // it protects) and is the user's alone; a cut copy of it restores nothing and says why.
    void backupAndRestoreFromTheMenu()
    {
        QTemporaryDir dir;
        const QString database = QDir(dir.path()).filePath(QStringLiteral("firma.gdb"));
        QVERIFY(QFile::copy(testsupport::freshDeliveredDatabase(), database));
        Tdm_1 dm;
        dm.connectTo(database);
        const QString backup = QDir(dir.path()).filePath(QStringLiteral("kopie/firma.fbk"));
        QVERIFY(QDir().mkpath(QFileInfo(backup).path()));
        QString offered;
        desktop::setSaveFileHandler([&](const desktop::SaveFileRequest& r) {
            offered = r.suggestedName;
            return backup;
        });
        makeBackup(dm, nullptr);
        QCOMPARE(offered, QStringLiteral("firma_%1.fbk").arg(QDate::currentDate().toString(Qt::ISODate)));
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.startsWith(QStringLiteral("Zapisano kopię zapasową")), qPrintable(shown[0].text));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(backup).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0600));

        QFile whole(backup);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QString cut = QDir(dir.path()).filePath(QStringLiteral("kopie/ucieta.fbk"));
        QFile out(cut);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(whole.readAll().left(whole.size() / 2));
        out.close();
        const QString restored = QDir(dir.path()).filePath(QStringLiteral("odtworzona.gdb"));
        desktop::setOpenFileHandler([&](const desktop::OpenFileRequest&) { return cut; });
        desktop::setSaveFileHandler([&](const desktop::SaveFileRequest&) { return restored; });
        shown.clear();
        restoreBackup(dm, nullptr);
        desktop::setOpenFileHandler({});
        desktop::setSaveFileHandler({});
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, desktop::MessageKind::Error);
        QVERIFY2(shown[0].text.contains(QStringLiteral("jest niepełna albo uszkodzona")), qPrintable(shown[0].text));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("firma.gdb")});
        QCOMPARE(dm.db_opl.databaseName(), database);
    }
};

TEST_MAIN(QApplication, TestStartup)
#include "test_startup.moc"
