#include "test_text.h"

#include <QSet>
#include <QtTest>
#include <iconv.h>

#include "text/cp1250.h"

namespace {

QByteArray allBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    return bytes;
}

} // namespace

void TestText::cp1250AsciiIsIdentity()
{
    for (int b = 0; b < 0x80; ++b) {
        const QString s = text::fromCp1250(QByteArray(1, char(b)));
        QCOMPARE(s.size(), 1);
        QCOMPARE(int(s[0].unicode()), b);
    }
}

void TestText::cp1250EveryByteRoundTrips()
{
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, char(b));
        const QString s = text::fromCp1250(one);
        QCOMPARE(s.size(), 1);
        const std::optional<QByteArray> back = text::toCp1250(s);
        QVERIFY2(back.has_value(), qPrintable(QString::number(b, 16)));
        QCOMPARE(*back, one);
    }
    const QByteArray bytes = allBytes();
    const QString decoded = text::fromCp1250(bytes);
    QCOMPARE(decoded.size(), 256);
    QCOMPARE(text::toCp1250(decoded).value_or(QByteArray()), bytes);
    QCOMPARE(text::fromCp1250(bytes.constData(), int(bytes.size())), decoded);
}

void TestText::cp1250DecodesEveryByteToADistinctCharacter()
{
    QSet<char16_t> seen;
    const QString decoded = text::fromCp1250(allBytes());
    for (QChar c : decoded) {
        QVERIFY2(!c.isSurrogate(), qPrintable(QString::number(c.unicode(), 16)));
        seen.insert(c.unicode());
    }
    QCOMPARE(seen.size(), 256);
}

void TestText::cp1250Letters_data()
{
    QTest::addColumn<QChar>("character");
    QTest::addColumn<int>("byte");

    QTest::newRow("ą") << QChar(0x0105) << 0xB9;
    QTest::newRow("Ą") << QChar(0x0104) << 0xA5;
    QTest::newRow("ć") << QChar(0x0107) << 0xE6;
    QTest::newRow("Ć") << QChar(0x0106) << 0xC6;
    QTest::newRow("ę") << QChar(0x0119) << 0xEA;
    QTest::newRow("Ę") << QChar(0x0118) << 0xCA;
    QTest::newRow("ł") << QChar(0x0142) << 0xB3;
    QTest::newRow("Ł") << QChar(0x0141) << 0xA3;
    QTest::newRow("ń") << QChar(0x0144) << 0xF1;
    QTest::newRow("Ń") << QChar(0x0143) << 0xD1;
    QTest::newRow("ó") << QChar(0x00F3) << 0xF3;
    QTest::newRow("Ó") << QChar(0x00D3) << 0xD3;
    QTest::newRow("ś") << QChar(0x015B) << 0x9C;
    QTest::newRow("Ś") << QChar(0x015A) << 0x8C;
    QTest::newRow("ź") << QChar(0x017A) << 0x9F;
    QTest::newRow("Ź") << QChar(0x0179) << 0x8F;
    QTest::newRow("ż") << QChar(0x017C) << 0xBF;
    QTest::newRow("Ż") << QChar(0x017B) << 0xAF;

    QTest::newRow("euro") << QChar(0x20AC) << 0x80;
    QTest::newRow("low double quote") << QChar(0x201E) << 0x84;
    QTest::newRow("right double quote") << QChar(0x201D) << 0x94;
    QTest::newRow("en dash") << QChar(0x2013) << 0x96;
    QTest::newRow("em dash") << QChar(0x2014) << 0x97;
    QTest::newRow("trade mark") << QChar(0x2122) << 0x99;
    QTest::newRow("Š") << QChar(0x0160) << 0x8A;
    QTest::newRow("no-break space") << QChar(0x00A0) << 0xA0;
    QTest::newRow("section sign") << QChar(0x00A7) << 0xA7;
    QTest::newRow("ogonek") << QChar(0x02DB) << 0xB2;
    QTest::newRow("ß") << QChar(0x00DF) << 0xDF;
    QTest::newRow("÷") << QChar(0x00F7) << 0xF7;
    QTest::newRow("dot above") << QChar(0x02D9) << 0xFF;

    QTest::newRow("undefined 0x81") << QChar(0x0081) << 0x81;
    QTest::newRow("undefined 0x83") << QChar(0x0083) << 0x83;
    QTest::newRow("undefined 0x88") << QChar(0x0088) << 0x88;
    QTest::newRow("undefined 0x90") << QChar(0x0090) << 0x90;
    QTest::newRow("undefined 0x98") << QChar(0x0098) << 0x98;
}

void TestText::cp1250Letters()
{
    QFETCH(QChar, character);
    QFETCH(int, byte);
    const QByteArray encoded(1, char(byte));
    QCOMPARE(text::fromCp1250(encoded), QString(character));
    QCOMPARE(text::toCp1250(QString(character)).value_or(QByteArray()), encoded);
}

// The C library's converter is an independent reading of the same code page; it knows
// nothing of the five undefined bytes, which cp1250Letters covers.
void TestText::cp1250MatchesSystemCodec()
{
    const iconv_t cd = iconv_open("UTF-16LE", "CP1250");
    if (cd == iconv_t(-1))
        QSKIP("the C library has no CP1250 converter here");
    int compared = 0;
    for (int b = 0x80; b < 0x100; ++b) {
        char in = char(b);
        char16_t out[4] = {};
        char* inPtr = &in;
        size_t inLeft = 1;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1))
            continue;
        QCOMPARE(sizeof out - outLeft, sizeof(char16_t));
        const QString mine = text::fromCp1250(QByteArray(1, in));
        QVERIFY2(mine == QString(QChar(out[0])),
                 qPrintable(QStringLiteral("byte %1: U+%2, expected U+%3")
                                .arg(b, 2, 16)
                                .arg(mine[0].unicode(), 4, 16, QLatin1Char('0'))
                                .arg(int(out[0]), 4, 16, QLatin1Char('0'))));
        ++compared;
    }
    iconv_close(cd);
    QCOMPARE(compared, 128 - 5);
}

void TestText::cp1250Sentence()
{
    const QString sentence = QStringLiteral("Zażółć gęślą jaźń – ŻÓŁW €");
    const QByteArray bytes("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 \x96 \xAF\xD3\xA3W \x80");
    QCOMPARE(text::toCp1250(sentence).value_or(QByteArray()), bytes);
    QCOMPARE(text::fromCp1250(bytes), sentence);
}

void TestText::cp1250Unmappable_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QChar>("offending");

    QTest::newRow("a with grave") << QStringLiteral("ab\u00E0cd") << QChar(0x00E0);
    QTest::newRow("capital A with grave") << QStringLiteral("\u00C0") << QChar(0x00C0);
    QTest::newRow("CJK") << QStringLiteral("opis 中") << QChar(0x4E2D);
    QTest::newRow("A with macron") << QStringLiteral("\u0100") << QChar(0x0100);
    QTest::newRow("inverted exclamation") << QStringLiteral("x\u00A1") << QChar(0x00A1);
    QTest::newRow("C1 control not left undefined") << QStringLiteral("\u0080") << QChar(0x0080);
    QTest::newRow("horizontal bar") << QStringLiteral("\u2015") << QChar(0x2015);
    QTest::newRow("first of two") << QStringLiteral("ą\u00E0\u4E2D") << QChar(0x00E0);
    QTest::newRow("emoji") << QStringLiteral("ok \U0001F600") << QChar(0xD83D);
}

void TestText::cp1250Unmappable()
{
    QFETCH(QString, input);
    QFETCH(QChar, offending);
    QChar found;
    QVERIFY(!text::toCp1250(input, &found).has_value());
    QCOMPARE(found, offending);
    QVERIFY(!text::toCp1250(input).has_value());
}

void TestText::cp1250EmptyAndZeroBytes()
{
    QVERIFY(text::fromCp1250(QByteArray()).isEmpty());
    const std::optional<QByteArray> empty = text::toCp1250(QString());
    QVERIFY(empty.has_value());
    QVERIFY(empty->isEmpty());

    const char data[] = {'a', '\0', char(0xB9)};
    const QString decoded = text::fromCp1250(data, 3);
    QCOMPARE(decoded, QString(QStringLiteral("a") + QChar(0) + QChar(0x0105)));
    QCOMPARE(text::toCp1250(decoded).value_or(QByteArray()), QByteArray(data, 3));
    QCOMPARE(text::fromCp1250("\xB3\xF3\xBF" "ko", -1), QStringLiteral("łóżko"));
}
