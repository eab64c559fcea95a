#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include "registers/digits_only_filter.h"
#include "registers/identifiers.h"
#include "registers/metody.h"
#include "screen_testing.h"
#include "test_main.h"

using namespace registers;
using screentest::typeText;

class TestIdentifiers : public QObject {
    Q_OBJECT


private slots:
    void nipCheckDigit()
    {
        // Weighted sum 118, remainder 8.
        QVERIFY(spr_nip(QStringLiteral("123-456-32-18")));
        QVERIFY(!spr_nip(QStringLiteral("123-456-32-19")));
        QVERIFY(spr_nip(QStringLiteral("1234563218")));
        QVERIFY(spr_nip(QStringLiteral("PL 123-456-32-18")));
        QVERIFY(spr_nip(QStringLiteral("PL1234563218")));
        QVERIFY(spr_nip(QStringLiteral("123 456 32 18")));
        QVERIFY(spr_nip(QStringLiteral("  123 456 32 18 \t")));
        // Separators after the check digit are removed before it is taken.
        QVERIFY(spr_nip(QStringLiteral("123-456-32-18-")));
        QVERIFY(spr_nip(QStringLiteral("123-456-32-18_")));
        QVERIFY(spr_nip(QStringLiteral("123_456_32_18")));
        // Anything else after the check digit is taken as the last character.
        QVERIFY(!spr_nip(QStringLiteral("123-456-32-18.")));
        // Ten digits before the last character, or eight.
        QVERIFY(!spr_nip(QStringLiteral("12345632180")));
        QVERIFY(!spr_nip(QStringLiteral("123456328")));
        QVERIFY(!spr_nip(QString()));
        QVERIFY(!spr_nip(QStringLiteral("8")));
        QVERIFY(!spr_nip(QStringLiteral("   ")));
        // 1234567890: weighted sum 230, remainder 10, which demands check digit 0.
        QVERIFY(spr_nip(QStringLiteral("123-456-78-90")));
        QVERIFY(!spr_nip(QStringLiteral("123-456-78-91")));
    }

    void regonCheckDigit()
    {
        // Weighted sum 192, remainder 5.
        QVERIFY(spr_regon(QStringLiteral("123-456-785")));
        QVERIFY(spr_regon(QStringLiteral(" 123456785 ")));
        QVERIFY(!spr_regon(QStringLiteral("123-456-786")));
        QVERIFY(!spr_regon(QStringLiteral("12345678512347")));
        QVERIFY(!spr_regon(QString()));
        QVERIFY(!spr_regon(QStringLiteral("5")));
        // 00000200: weighted sum 2 x 5 = 10, a remainder of 10 demands check digit 0.
        QVERIFY(spr_regon(QStringLiteral("000002000")));
        QVERIFY(!spr_regon(QStringLiteral("000002001")));
    }

    void textHelpers()
    {
        QCOMPARE(usun_znak(QStringLiteral("1-2-3"), QLatin1Char('-')), QStringLiteral("123"));
        QCOMPARE(usun_znak(QStringLiteral("--"), QLatin1Char('-')), QString());
        QCOMPARE(usun_znak(QString(), QLatin1Char('-')), QString());
        QCOMPARE(usun_znak(QStringLiteral("abc"), QLatin1Char('-')), QStringLiteral("abc"));

        QCOMPARE(usun_znaki(QStringLiteral("a-b_c ł"), CharSet()), QStringLiteral("a-b_c ł"));
        CharSet separators;
        separators.set('-');
        separators.set('_');
        QCOMPARE(usun_znaki(QStringLiteral("12-34_56"), separators), QStringLiteral("123456"));
        CharSet polish;
        polish.set(179); // ł in Windows-1250
        polish.set(163); // Ł
        QCOMPARE(usun_znaki(QStringLiteral("Łódź łąka"), polish), QStringLiteral("ódź ąka"));

        QCOMPARE(trimControls(QStringLiteral(" \t\r\n12 3\x01")), QStringLiteral("12 3"));
        QCOMPARE(cp1250Code(QChar(u'ł')), 179);
        QCOMPARE(cp1250Code(QChar(u'ж')), '?');
    }

    void keystrokeTable()
    {
        const QList<int> polish{140, 143, 156, 159, 163, 165, 175, 179, 185, 191, 198, 202, 209, 211, 230, 234, 241, 243};
        for (int code = 0; code < 256; ++code) {
            unsigned char key = static_cast<unsigned char>(code);
            Tmetody::cyfryKeyPress(nullptr, key);
            const bool swallowed = (code >= 32 && code <= 47) || (code >= 58 && code <= 126) || polish.contains(code);
            QCOMPARE(key, static_cast<unsigned char>(swallowed ? 0 : code));
        }
        auto passes = [](unsigned char key) {
            Tmetody::cyfryKeyPress(nullptr, key);
            return key != 0;
        };
        QVERIFY(passes(8));
        QVERIFY(passes('0') && passes('5') && passes('9'));
        QVERIFY(passes(13) && passes(27) && passes(127) && passes(128) && passes(255));
        QVERIFY(!passes(' ') && !passes('a') && !passes('A') && !passes('-') && !passes(179));
    }

    void keystrokesOnAWidget()
    {
        QLineEdit edit;
        DigitsOnlyFilter::attach(&edit);
        DigitsOnlyFilter::attach(&edit);
        QCOMPARE(edit.findChildren<DigitsOnlyFilter*>().size(), 1);

        QTest::keyClicks(&edit, "1a A-2.z~:/3");
        QCOMPARE(edit.text(), QStringLiteral("123"));
        typeText(&edit, QStringLiteral("łŁąśźżćęńóÓ"));
        QCOMPARE(edit.text(), QStringLiteral("123"));
        // A character that Windows-1250 cannot hold arrives as "?", which is swallowed.
        typeText(&edit, QStringLiteral("ж"));
        QCOMPARE(edit.text(), QStringLiteral("123"));
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QStringLiteral("12"));
        QTest::keyClick(&edit, Qt::Key_Left);
        QTest::keyClicks(&edit, "7");
        QCOMPARE(edit.text(), QStringLiteral("172"));
        // Ctrl with a letter types nothing: select all works.
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&edit, Qt::Key_Delete);
        QCOMPARE(edit.text(), QString());
    }
};

TEST_MAIN(QApplication, TestIdentifiers)
#include "test_identifiers.moc"
