#include "application.h"
#include "test_main.h"
#include "desktop/messages.h"

#include <QCalendarWidget>
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

    // Boxes carry the program's title; windows only their own caption, with nothing appended
    // by the window system (a display name would be); Qt's own texts and the calendar are Polish.
    void carriesTheProgramTitleAndSpeaksPolish()
    {
        QCOMPARE(desktop::defaultCaption(), QStringLiteral("Naliczanie opłat za korzystanie ze środowiska"));
        QCOMPARE(Application::title(), desktop::defaultCaption());
        QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
        QVERIFY(!QApplication::windowIcon().isNull());

        QCalendarWidget calendar;
        QCOMPARE(calendar.firstDayOfWeek(), Qt::Monday);
        QCOMPARE(calendar.locale().standaloneMonthName(1), QStringLiteral("styczeń"));
        QCOMPARE(calendar.locale().dayName(1, QLocale::ShortFormat), QStringLiteral("pon."));
        QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Drukowanie"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Zachowaj jako"));
        // The program's own formats stay as they are.
        QCOMPARE(QString::number(1234.5), QStringLiteral("1234.5"));
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

TEST_MAIN(Application, TestApplication)
#include "test_application.moc"
