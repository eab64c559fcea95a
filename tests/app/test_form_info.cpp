#include "application.h"
#include "test_main.h"
#include "form_info.h"
#include "maker.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>

class TestFormInfo : public QObject {
    Q_OBJECT

private slots:
    void showsTheProgramAndItsMaker()
    {
        Tform_info box;
        QCOMPARE(box.windowTitle(), QStringLiteral("O programie"));
        QCOMPARE(box.l_opis->text(), QStringLiteral("System naliczania opłat za korzystanie ze środowiska z tytułu "
                                                    "spalania paliw w silnikach."));
        QCOMPARE(box.l_wersja->text(), QStringLiteral("Wersja 3.0"));
        QCOMPARE(box.l_producent->text(), QStringLiteral("Poducent:"));
        QCOMPARE(box.l_nazwa->text(), QStringLiteral("Quillform Sp. z o.o."));
        QCOMPARE(box.l_branza->text(), QString::fromUtf8(maker::trade));
        QCOMPARE(box.l_adres->text(), QString::fromUtf8(maker::address));
        QVERIFY(box.l_adres->text().contains(QStringLiteral("Poznań")));
        QCOMPARE(box.l_telefon->text(), QString::fromUtf8(maker::telephone));

        bool picture = false;
        for (QLabel* l : box.findChildren<QLabel*>())
            picture = picture || !l->pixmap().isNull();
        QVERIFY(picture);

        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QCOMPARE(box.size(), box.minimumSize());
        // Every text fits: the box is never narrower or lower than its contents ask.
        QVERIFY(box.width() >= box.layout()->sizeHint().width());
        QVERIFY(box.height() >= box.layout()->sizeHint().height());
    }

    void theOneButtonClosesTheBox()
    {
        Tform_info box;
        QCOMPARE(box.b_ok->text(), QStringLiteral("OK"));
        QVERIFY(box.b_ok->isDefault());
        QCOMPARE(box.findChildren<QPushButton*>().size(), 1);

        box.show();
        box.b_ok->click();
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Accepted));

        box.show();
        QTest::keyClick(&box, Qt::Key_Return);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Accepted));

        box.show();
        QTest::keyClick(&box, Qt::Key_Escape);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Rejected));
    }
};

TEST_MAIN(Application, TestFormInfo)
#include "test_form_info.moc"
