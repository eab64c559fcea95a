// The program against a real database server: reached through the location dialog, and a
// server that stops while a screen and a preview are open and starts again.
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "application.h"
#include "test_main.h"
#include "data/connection_settings.h"
#include "data/settlement.h"
#include "dbwidgets/db_navigator.h"
#include "firebird/error.h"
#include "desktop/messages.h"
#include "program_database.h"
#include "registers/pod.h"
#include "report/report_printer.h"
#include "reports/report_subject.h"
#include "reports/pod_wydr.h"
#include "reports/report_set.h"
#include "reports/report_window.h"
#include "ok_gl.h"
#include "serw_op.h"
#include "settlement_rows.h"
#include "test_server.h"
#include "widget_testing.h"
#include "text/formats.h"

using namespace settlement_rows;

namespace {

// The box after the server went away: in Polish, nothing of the engine's English.
const QString lostConnection = QStringLiteral("Utracono połączenie z serwerem bazy danych. Dane zapisane do tej pory są w bazie; "
                                              "gdy serwer znów działa, połącz się z bazą ponownie.");

} // namespace

class TestServerConnection : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    QString previousDir;
    std::unique_ptr<Tdm_1> dm;
    QStringList shown;

    // Saves or tests `name` through the dialog, as the user does.
    void throughDialog(const QString& name, const char* button)
    {
        TF_serw_op dialog(*dm);
        dialog.show();
        dialog.setServerMode(1);
        dialog.findChild<QLineEdit*>(QStringLiteral("LE_bd"))->setText(name);
        dialog.findChild<QPushButton*>(QLatin1String(button))->click();
    }

    static int taxpayersNamed(const QString& database, const QString& shortName)
    {
        fb::Connection c;
        c.open(database, data::defaultUser(), data::defaultPassword());
        fb::Transaction t(&c);
        fb::Statement st(c, t, QStringLiteral("select count(*) from PODAT where NAZSKR = :n"));
        st.setParam(QStringLiteral("n"), shortName);
        st.execute();
        st.fetch();
        return st.value(0).toInt();
    }

private slots:
    void initTestCase() { text::applyProgramFormats(); }
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        previousDir = QDir::currentPath();
        QDir::setCurrent(folder->path());
        dm = std::make_unique<Tdm_1>();
        shown.clear();
        desktop::setMessageHandler([this](const desktop::Message& m) {
            shown << m.text;
            return m.kind == desktop::MessageKind::Question ? desktop::Answer::Yes : desktop::Answer::Ok;
        });
    }
    void cleanup()
    {
        desktop::setMessageHandler({});
        dm.reset();
        QDir::setCurrent(previousDir);
    }

    void theDialogReachesTheServer()
    {
        const QString first = testsupport::throughServer(testsupport::freshDeliveredDatabase());
        const QString second = testsupport::throughServer(testsupport::freshDeliveredDatabase());
        QVERIFY(first.startsWith(testsupport::testServerAddress() + QLatin1Char(':')));

        throughDialog(first, "kl_test");
        QCOMPARE(shown, QStringList{QStringLiteral("Połączono z bazą danych")});
        QCOMPARE(dm->db_opl.databaseName(), first);
        addTaxpayer(*dm, 901, QStringLiteral("SERWER"), QStringLiteral("Z serwera"));

        throughDialog(second, "kl_zap");
        QCOMPARE(dm->db_opl.databaseName(), second);
        QCOMPARE(data::resolveDatabaseName(), second);
        dm->IBQ_pod.open();
        QVERIFY(!dm->IBQ_pod.locate(QStringLiteral("NAZSKR"), QStringLiteral("SERWER")));
        dm->IBQ_pod.close();
        QCOMPARE(taxpayersNamed(first, QStringLiteral("SERWER")), 1);
        // A server that is not there: the server's text, nothing else broken.
        shown.clear();
        throughDialog(QStringLiteral("localhost/1:/nie/ma.gdb"), "kl_test");
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(QStringLiteral("Nie można połączyć się z serwerem bazy danych:")), qPrintable(shown[0]));
        QVERIFY(!dm->isConnected());
        // A file the server does not have, and a password it does not take: said in Polish
        // first, the server's text below.
        const QList<QPair<QString, QString>> refused{
            {testsupport::testServerAddress() + QStringLiteral(":/nie/ma/takiej.gdb"), QStringLiteral("Nie można otworzyć pliku bazy danych:")},
            {first, QStringLiteral("Serwer bazy danych nie przyjął nazwy użytkownika lub hasła")}};
        for (const auto& [name, sentence] : refused) {
            fb::Connection c;
            try {
                c.open(name, data::defaultUser(), name == first ? QStringLiteral("nie-to-hasło") : data::defaultPassword());
                QFAIL("the connection was made");
            } catch (const fb::Error& e) {
                QVERIFY2(e.message().startsWith(sentence) && e.message().contains(QStringLiteral("\n\n")), qPrintable(e.message()));
            }
        }
    }

    // After the server went away, a screen opened from the main window says so once, in
    // Polish, and does not open half-built.
    void screensOpenedWithoutTheServer()
    {
        const QString name = testsupport::throughServer(testsupport::freshDeliveredDatabase());
        throughDialog(name, "kl_zap");
        addTaxpayer(*dm, 1, QStringLiteral("ABC"), QStringLiteral("ABC sp. z o.o."));
        addVehicle(*dm, QStringLiteral("WA1"), 1, 5, 1);
        Tf_ok_gl window(*dm);
        window.show();
        testsupport::stopTestServer();
        const auto back = qScopeGuard([] { testsupport::startTestServerAgain(); });

        QStringList opened;
        for (QAction* action : {window.a_zak, window.a_rozl}) {
            shown.clear();
            // A screen that opened all the same is noted and closed, so that nothing waits.
            whenModal(this, [&opened](QWidget* modal) {
                opened << modal->objectName();
                modal->close();
            });
            QTest::mouseClick(qobject_cast<QToolButton*>(window.ToolBar1->widgetForAction(action)), Qt::LeftButton);
            QCoreApplication::processEvents();
            QVERIFY2(opened.isEmpty(), qPrintable(action->text() + QStringLiteral(": ") + opened.join(QLatin1Char(' '))));
            QCOMPARE(shown, QStringList{lostConnection});
        }
    }

    void aServerThatGoesAwayAndComesBack()
    {
        const QString name = testsupport::throughServer(testsupport::freshDeliveredDatabase());
        throughDialog(name, "kl_zap");
        QVERIFY(dm->isConnected());
        addTaxpayer(*dm, 1, QStringLiteral("ABC"), QStringLiteral("ABC sp. z o.o."));
        addVehicle(*dm, QStringLiteral("WA1"), 1, 5, 1);
        for (int i = 1; i <= 40; ++i)
            addPurchase(*dm, i, QStringLiteral("WA1"), QStringLiteral("F/%1").arg(i), QDate(2024, 1 + i % 12, 1), 1, 10 * i);

        // A screen with a row posted through it, and a preview of the register.
        Tf_pod screen(*dm);
        f_pod = &screen;
        screen.show();
        dm->IBDS_podat.append();
        dm->IBDS_podat.fieldByName(QStringLiteral("NR_PODAT")).setValue(2);
        dm->IBDS_podat.fieldByName(QStringLiteral("NAZSKR")).setValue(QStringLiteral("PRZED"));
        dm->IBDS_podat.fieldByName(QStringLiteral("NIP")).setValue(QStringLiteral("1"));
        dm->IBDS_podat.post();
        const auto settlement = data::computeSettlement(*dm, QStringLiteral("ABC"), 2024,
                                                        data::settlementPeriod(2024, 0), data::yearParameters(*dm, 2024));
        const reports::ReportSubject inputs(settlement, 0);
        auto windows = reports::createReports(*dm, inputs, reports::ReportChoice::PurchaseRegister);
        auto* preview = new TCustPreview(&windows.front()->raport().prepare());
        preview->show();

        testsupport::stopTestServer();

        // The screen says so in Polish only, and stays; the engine's own words go to the log.
        const QString logged = QRegularExpression::escape(lostConnection) + QStringLiteral(" \\| engine: \\S");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(logged));
        QTest::mouseClick(screen.findChild<dbw::DBNavigator*>()->button(dbw::DBNavigator::Refresh), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY2(!shown.isEmpty() && shown.last() == lostConnection, qPrintable(shown.join(QLatin1Char('|'))));
        QVERIFY(screen.isVisible());
        // The preview pages on and closes without taking the program down.
        QTest::mouseClick(preview->findChild<QWidget*>(QStringLiteral("tb_ost")), Qt::LeftButton);
        preview->close();
        QCoreApplication::processEvents();
        windows.clear();
        // A row keyed after the server went cannot be saved: closing asks once whether to drop
        // it, and then closes.
        dm->IBDS_podat.append();
        dm->IBDS_podat.fieldByName(QStringLiteral("NR_PODAT")).setValue(3);
        dm->IBDS_podat.fieldByName(QStringLiteral("NAZSKR")).setValue(QStringLiteral("PO"));
        dm->IBDS_podat.fieldByName(QStringLiteral("NIP")).setValue(QStringLiteral("3"));
        shown.clear();
        screen.close();
        QVERIFY2(shown.size() == 1 && shown[0].startsWith(QStringLiteral("Utracono połączenie z serwerem bazy danych, więc")),
                 qPrintable(shown.join(QLatin1Char('|'))));
        QVERIFY(!screen.isVisible());
        f_pod = nullptr;

        // Back again on the same port: reconnecting needs no restart, and the row is there.
        testsupport::startTestServerAgain();
        shown.clear();
        throughDialog(name, "kl_test");
        QCOMPARE(shown, QStringList{QStringLiteral("Połączono z bazą danych")});
        dm->IBQ_pod.open();
        QVERIFY(dm->IBQ_pod.locate(QStringLiteral("NAZSKR"), QStringLiteral("PRZED")));
        dm->IBQ_pod.close();
    }
};

TEST_MAIN(Application, TestServerConnection)
#include "test_server_connection.moc"
