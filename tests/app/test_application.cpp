#include "app_test_main.h"
#include "desktop/messages.h"

#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>

using desktop::Message;
using desktop::MessageKind;

class TestApplication : public QObject {
    Q_OBJECT

    QList<Message> shown_;

private slots:
    void init()
    {
        shown_.clear();
        desktop::setMessageHandler([this](const Message& m) {
            shown_ << m;
            return desktop::Answer::Ok;
        });
    }
    void cleanup() { desktop::setMessageHandler({}); }

    void carriesTheProgramTitle()
    {
        QCOMPARE(QGuiApplication::applicationDisplayName(),
                 QStringLiteral("Naliczanie opłat za korzystanie ze środowiska"));
        QCOMPARE(Application::title(), QGuiApplication::applicationDisplayName());
        QVERIFY(!QApplication::windowIcon().isNull());
    }

    void exceptionsFromHandlersAreShownAndWorkGoesOn()
    {
        bool laterRan = false;
        QTimer::singleShot(0, this, [] { throw std::runtime_error("Brak stawki opłaty na rok 2012 – żółć"); });
        QTimer::singleShot(0, this, [] { throw 42; });
        QTimer::singleShot(0, this, [&] { laterRan = true; });
        QTRY_VERIFY(laterRan);

        QCOMPARE(shown_.size(), 2);
        QCOMPARE(shown_[0].kind, MessageKind::Error);
        QCOMPARE(shown_[0].title, Application::title());
        QCOMPARE(shown_[0].text, QStringLiteral("Brak stawki opłaty na rok 2012 – żółć"));
        QCOMPARE(shown_[1].kind, MessageKind::Error);
        QCOMPARE(shown_[1].text, QStringLiteral("Wystąpił nieoczekiwany błąd. Operacja nie została wykonana."));
    }

    void aFailedClickLeavesTheWindowWorking()
    {
        QMainWindow window;
        auto* button = new QPushButton(QStringLiteral("Zapisz"));
        window.setCentralWidget(button);
        int clicks = 0;
        connect(button, &QPushButton::clicked, &window, [&] {
            if (++clicks == 1)
                throw std::invalid_argument("Niepoprawna data");
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(shown_.size(), 1);
        QCOMPARE(shown_[0].text, QStringLiteral("Niepoprawna data"));
        QVERIFY(window.isVisible());

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(shown_.size(), 1);
    }
};

APP_TEST_MAIN(TestApplication)
#include "test_application.moc"
