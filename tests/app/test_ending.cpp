// How the program ends when the system asks it to (SIGTERM at logout or shutdown, SIGINT,
// SIGHUP) and when its display goes away: cleanly, through the end of main(), without waiting
// for the user.
#include "application.h"
#include "test_main.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <optional>
#include <unistd.h>

#include "data/connection_settings.h"
#include "data/dm1.h"
#include "desktop/messages.h"
#include "desktop/signal_catcher.h"
#include "program_database.h"
#include "startup.h"

using namespace Qt::StringLiterals;

namespace {

// The handler that the signal runs now.
void* handlerOf(int signalNumber)
{
    struct sigaction now {};
    sigaction(signalNumber, nullptr, &now);
    return reinterpret_cast<void*>(now.sa_handler);
}

// The threads of a process (by name) that would take one of the termination signals
// themselves instead of leaving it to the program's catcher (whose thread has them open
// while it waits for them).
QStringList threadsOpenToTermination(qint64 pid)
{
    constexpr quint64 termination = (1ULL << (SIGTERM - 1)) | (1ULL << (SIGINT - 1)) | (1ULL << (SIGHUP - 1));
    QStringList open;
    const QDir tasks(u"/proc/%1/task"_s.arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task + u"/status"_s));
        if (!status.open(QIODevice::ReadOnly))
            continue; // a thread that ended meanwhile
        QString name;
        quint64 blocked = 0;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Name:"))
                name = QString::fromUtf8(line.mid(5).trimmed());
            else if (line.startsWith("SigBlk:"))
                blocked = line.mid(7).trimmed().toULongLong(nullptr, 16);
        }
        if ((blocked & termination) != termination && name != QLatin1String(desktop::SignalCatcher::waiterName))
            open << name;
    }
    return open;
}

// A screen that asks before it closes, as one with an incomplete row does.
class AskingScreen : public QDialog {
public:
    using QDialog::QDialog;
    QList<desktop::Answer> answers;
    void done(int result) override
    {
        answers << desktop::ask(u"Czy porzucić wprowadzony wiersz?"_s, {}, this);
        if (answers.last() == desktop::Answer::Yes)
            QDialog::done(result);
    }
};

// The program in a folder of its own, with the database it finds there by default.
struct RunningProgram {
    QTemporaryDir folder;
    QProcess process;
    QString errors;

    explicit RunningProgram(const QProcessEnvironment& environment)
    {
        QFile::copy(testsupport::freshDeliveredDatabase(), folder.filePath(data::defaultDatabaseName()));
        process.setWorkingDirectory(folder.path());
        process.setProcessEnvironment(environment);
        const desktop::SignalsOpenedForChildren endsOnSignals;
        process.start(QStringLiteral(BRENVALD_APP), {});
    }
    // Up once it says that it is connected; the handlers are its own from then on.
    bool connected()
    {
        errors += QString::fromUtf8(process.readAllStandardError());
        return errors.contains(u"connected to"_s);
    }
};

QProcessEnvironment offscreen()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    return environment;
}

} // namespace

class TestEnding : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { desktop::setMessageHandler({}); }

    // The database client puts its own SIGTERM and SIGINT handlers in place the first time
    // it is used in a process (here: making the test database, after the program's handlers
    // were installed); connecting puts the program's back.
    void theProgramKeepsItsHandlersOverTheFirstAttach()
    {
        static_cast<Application*>(qApp)->endOnTerminationSignals();
        const QList<int> signalNumbers{SIGTERM, SIGINT, SIGHUP};
        QList<void*> ours;
        for (int s : signalNumbers)
            ours << handlerOf(s);
        desktop::setMessageHandler([](const desktop::Message&) { return desktop::Answer::Ok; });
        const QString previous = QDir::currentPath();
        QTemporaryDir folder;
        QVERIFY(QFile::copy(testsupport::freshDeliveredDatabase(), folder.filePath(data::defaultDatabaseName())));
        QDir::setCurrent(folder.path());
        Tdm_1 dm;
        const bool connected = connectDataModule(dm);
        QDir::setCurrent(previous);
        QVERIFY(connected);
        for (int i = 0; i < signalNumbers.size(); ++i)
            QVERIFY2(handlerOf(signalNumbers[i]) == ours[i], qPrintable(QString::number(signalNumbers[i])));
    }

    // A signal that comes while a modal screen is open ends the message loop with 0; the
    // screen's question is answered No without being shown.
    void aSignalEndsTheLoopWithoutWaitingForTheUser()
    {
        static_cast<Application*>(qApp)->endOnTerminationSignals();
        QMainWindow main;
        main.show();
        AskingScreen screen(&main);
        QTimer::singleShot(0, &screen, [&screen] {
            QTimer::singleShot(0, [] { ::kill(::getpid(), SIGTERM); });
            screen.exec();
        });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(screen.answers, QList<desktop::Answer>{desktop::Answer::No});
    }

    // The test process holds the signals back once it has a catcher: a program started from
    // it (as the program starts a viewer) has them open only when it is started so.
    void childrenStartWithTheSignalsOpenOnlyWhenAsked()
    {
        static_cast<Application*>(qApp)->endOnTerminationSignals();
        for (const bool opened : {false, true}) {
            QProcess child;
            {
                std::optional<desktop::SignalsOpenedForChildren> open;
                if (opened)
                    open.emplace();
                child.start(u"cat"_s, {u"/proc/self/status"_s});
            }
            QVERIFY(child.waitForFinished(30000));
            const QByteArray status = child.readAllStandardOutput();
            const qsizetype at = status.indexOf("SigBlk:");
            QVERIFY(at >= 0);
            const quint64 blocked = status.mid(at + 7, status.indexOf('\n', at) - at - 7).trimmed().toULongLong(nullptr, 16);
            QCOMPARE((blocked & (1ULL << (SIGTERM - 1))) == 0, opened);
        }
    }

    void endsOnASignal_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void endsOnASignal()
    {
        QFETCH(int, signalNumber);
        RunningProgram program(offscreen());
        QVERIFY(program.process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(program.connected() || program.process.state() != QProcess::Running, 60000);
        QCOMPARE(program.process.state(), QProcess::Running);
        QCOMPARE(threadsOpenToTermination(program.process.processId()), QStringList{});
        ::kill(static_cast<pid_t>(program.process.processId()), signalNumber);
        QVERIFY(program.process.waitForFinished(30000));
        program.connected();
        QVERIFY2(program.process.exitStatus() == QProcess::NormalExit, qPrintable(program.errors));
        QCOMPARE(program.process.exitCode(), 0);
    }

    // The X server ends under the program, alone or just after a SIGTERM, as at logout.
    void endsWhenTheDisplayGoes_data()
    {
        QTest::addColumn<bool>("terminatedFirst");
        QTest::newRow("display gone") << false;
        QTest::newRow("SIGTERM, then the display gone") << true;
    }

    void endsWhenTheDisplayGoes()
    {
        QFETCH(bool, terminatedFirst);
        const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
        if (xvfb.isEmpty())
            QSKIP("Xvfb is not installed");
        int display = 150;
        while (QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)) || QFile::exists(u"/tmp/.X%1-lock"_s.arg(display)))
            ++display;
        QProcess server;
        const desktop::SignalsOpenedForChildren endsOnSignals;
        server.start(xvfb, {u":%1"_s.arg(display), u"-nolisten"_s, u"tcp"_s});
        QVERIFY(server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)), 30000);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.insert(u"DISPLAY"_s, u":%1"_s.arg(display));
        RunningProgram program(environment);
        QVERIFY(program.process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(program.connected() || program.process.state() != QProcess::Running, 60000);
        QCOMPARE(program.process.state(), QProcess::Running);
        // Qt's display reader among them: a SIGTERM taken there, while the database client's
        // own handler was in place, left the engine's shutdown spinning at the exit.
        QCOMPARE(threadsOpenToTermination(program.process.processId()), QStringList{});
        if (terminatedFirst)
            ::kill(static_cast<pid_t>(program.process.processId()), SIGTERM);
        server.terminate(); // the X server ends as at logout, and tidies its socket away
        QVERIFY(server.waitForFinished(30000));
        QVERIFY(program.process.waitForFinished(30000));
        program.connected();
        // Qt's X11 platform ends the process with exit(1) when the display goes; a SIGTERM
        // handled first ends it with 0.
        QVERIFY2(program.process.exitStatus() == QProcess::NormalExit, qPrintable(program.errors));
    }
};

TEST_MAIN(Application, TestEnding)
#include "test_ending.moc"
