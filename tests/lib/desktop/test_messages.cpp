#include "desktop/messages.h"
#include "widget_testing.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QApplication>
#include "test_main.h"

using desktop::Answer;
using desktop::Message;
using desktop::MessageKind;

class TestMessages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { desktop::setDefaultCaption(QStringLiteral("Program próbny")); }
    void cleanup() { desktop::setMessageHandler({}); }

    void handlerGetsEveryMessage()
    {
        QList<Message> seen;
        Answer reply = Answer::Yes;
        desktop::setMessageHandler([&](const Message& m) {
            seen << m;
            return reply;
        });

        desktop::showError(QStringLiteral("Nie można zapisać: żółć"));
        desktop::showInformation(QStringLiteral("Zapisano."), QStringLiteral("Zapis"));
        desktop::showWarning(QStringLiteral("Brak stawki."));
        QCOMPARE(desktop::ask(QStringLiteral("Usunąć?")), Answer::Yes);
        reply = Answer::No;
        QCOMPARE(desktop::ask(QStringLiteral("Usunąć?"), QStringLiteral("Faktury")), Answer::No);
        // A question is answered Yes or No only, whatever a handler returns.
        reply = Answer::Ok;
        QCOMPARE(desktop::ask(QStringLiteral("Usunąć?")), Answer::No);

        QCOMPARE(seen.size(), 6);
        QCOMPARE(seen[0].kind, MessageKind::Error);
        QCOMPARE(seen[0].title, QStringLiteral("Program próbny"));
        QCOMPARE(seen[0].text, QStringLiteral("Nie można zapisać: żółć"));
        QCOMPARE(seen[1].kind, MessageKind::Information);
        QCOMPARE(seen[1].title, QStringLiteral("Zapis"));
        QCOMPARE(seen[2].kind, MessageKind::Warning);
        QCOMPARE(seen[2].title, QStringLiteral("Program próbny"));
        QCOMPARE(seen[3].kind, MessageKind::Question);
        QCOMPARE(seen[3].text, QStringLiteral("Usunąć?"));
        QCOMPARE(seen[4].title, QStringLiteral("Faktury"));
    }

    void realErrorBoxHasPolishOkButton()
    {
        QObject probe;
        QStringList buttons;
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenModal(&probe, [&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box) {
                modal->close();
                return;
            }
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            box->buttons().first()->click();
        });
        desktop::showError(QStringLiteral("Plik <db_na.txt> nie istnieje."));

        QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
        QCOMPARE(title, QStringLiteral("Program próbny"));
        QCOMPARE(text, QStringLiteral("Plik <db_na.txt> nie istnieje."));
        QCOMPARE(icon, QMessageBox::Critical);
    }

    void realQuestionAnswersTakOrNie()
    {
        QObject probe;
        QStringList buttons;
        int width = 0, captionWidth = 0;
        whenModal(&probe, [&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box) {
                modal->close();
                return;
            }
            QFont bold = box->font();
            bold.setBold(true);
            width = box->width();
            captionWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == QStringLiteral("Tak"))
                    b->click();
            }
        });
        // A short question under a long caption: the box is wide enough to show the caption whole.
        QCOMPARE(desktop::ask(QStringLiteral("Usunąć fakturę?"),
                              QStringLiteral("Naliczanie opłat za korzystanie ze środowiska z tytułu spalania paliw")),
                 Answer::Yes);
        QVERIFY2(width > captionWidth, qPrintable(QStringLiteral("%1 <= %2").arg(width).arg(captionWidth)));
        buttons.sort();
        QCOMPARE(buttons, (QStringList{QStringLiteral("Nie"), QStringLiteral("Tak")}));

        whenModal(&probe, [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(desktop::ask(QStringLiteral("Usunąć fakturę?")), Answer::No);
    }
};

TEST_MAIN(QApplication, TestMessages)
#include "test_messages.moc"
