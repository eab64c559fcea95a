#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "data/dm1.h"
#include "desktop/messages.h"
#include "ok_gl.h"
#include "startup.h"
#include "test_database.h"
#include "text/formats.h"

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
        QVERIFY(!connectDataModule(dm));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, desktop::MessageKind::Error);
        QVERIFY(!shown[0].text.isEmpty());
        QVERIFY(!dm.isConnected());

        Tf_ok_gl window;
        window.show();
        QVERIFY(window.isVisible());
        QCOMPARE(shown.size(), 1);
        // After start-up a typed date and number follow the program's formats.
        text::formats() = text::Formats{QStringLiteral("yyyy/MM/dd"), QLatin1Char('/'), QLatin1Char('.'), QLatin1Char(',')};
        Tf_ok_gl again;
        QCOMPARE(text::parseDate(QStringLiteral("5-11-2004")), QDate(2004, 11, 5));
        QCOMPARE(*text::parseFloat(QStringLiteral("1234,5")), 1234.5L);
        QCOMPARE(text::formatNumber(1234.56), QStringLiteral("1.234,56"));
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
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
