#include "test_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "text/csv.h"
#include "text/file_name.h"

using namespace Qt::StringLiterals;

using Field = std::function<void(text::CsvLines&)>;
Q_DECLARE_METATYPE(Field)

void TestText::csvFields_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("written");
    const auto row = [](const char* name, Field f, const QString& w) { QTest::newRow(name) << f << w; };
    row("plain text", [](text::CsvLines& c) { c.text(u"ŁĄKA Sp. z o.o."_s); }, u"ŁĄKA Sp. z o.o."_s);
    row("semicolon quoted", [](text::CsvLines& c) { c.text(u"A;B"_s); }, u"\"A;B\""_s);
    row("quote doubled", [](text::CsvLines& c) { c.text(u"\"Wisła\""_s); }, u"\"\"\"Wisła\"\"\""_s);
    row("line break quoted", [](text::CsvLines& c) { c.text(u"ul. Długa 1\nWarszawa"_s); }, u"\"ul. Długa 1\nWarszawa\""_s);
    row("NIP kept as text", [](text::CsvLines& c) { c.code(u"0123456789"_s); }, u"\"=\"\"0123456789\"\"\""_s);
    row("empty code", [](text::CsvLines& c) { c.code({}); }, QString());
    row("litres rounded as shown", [](text::CsvLines& c) { c.number(1234.565, 2); }, u"1234,57"_s);
    row("tonnes", [](text::CsvLines& c) { c.number(0.0005, 3); }, u"0,001"_s);
    row("no thousands mark", [](text::CsvLines& c) { c.number(10646812.865, 2); }, u"10646812,87"_s);
    row("money", [](text::CsvLines& c) { c.money(text::Money::fromUnits(-12345)); }, u"-1,23"_s);
    row("date ISO", [](text::CsvLines& c) { c.date(QDate(2024, 3, 1)); }, u"2024-03-01"_s);
    row("no date", [](text::CsvLines& c) { c.date({}); }, QString());
}

void TestText::csvFields()
{
    QFETCH(Field, field);
    QFETCH(QString, written);
    text::CsvLines csv;
    csv.integer(7);
    field(csv);
    csv.empty().endLine().endLine();
    QCOMPARE(csv.toString(), u"7;"_s + written + u";\r\n\r\n"_s);
}

void TestText::csvFileWholeOrNotAtAll()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(text::fileNameSafe(u"zakupy_A/B:C_2024.csv"_s));
    QCOMPARE(QFileInfo(name).fileName(), u"zakupy_A_B_C_2024.csv"_s);
    QString error;
    QVERIFY(text::writeCsvFile(name, u"Ł;1,5\r\n"_s, &error));
    QFile file(name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBF") + u"Ł;1,5\r\n"_s.toUtf8());
    QVERIFY(!text::writeCsvFile(dir.filePath(u"brak/plik.csv"_s), u"x"_s, &error));
    QVERIFY(error.startsWith(u"Nie można zapisać pliku"_s));
}
