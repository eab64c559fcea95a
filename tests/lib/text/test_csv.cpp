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
    row("mass per litre", [](text::CsvLines& c) { c.money(text::Money::fromUnits(8400), 4); }, u"0,8400"_s);
    // Texts a spreadsheet would run as formulas are written as the formula of their text.
    row("formula name", [](text::CsvLines& c) { c.text(u"=HYPERLINK(\"http://x.pl\";\"kliknij\")"_s); },
        u"\"=\"\"=HYPERLINK(\"\"\"\"http://x.pl\"\"\"\";\"\"\"\"kliknij\"\"\"\")\"\"\""_s);
    row("sum looks like a formula", [](text::CsvLines& c) { c.text(u"-2+3"_s); }, u"\"=\"\"-2+3\"\"\""_s);
    row("plus", [](text::CsvLines& c) { c.text(u"+48 22 123"_s); }, u"\"=\"\"+48 22 123\"\"\""_s);
    row("at", [](text::CsvLines& c) { c.text(u"@SUMA(A1)"_s); }, u"\"=\"\"@SUMA(A1)\"\"\""_s);
    row("tab first", [](text::CsvLines& c) { c.text(u"\t=1+1"_s); }, u"\"=\"\"\t=1+1\"\"\""_s);
    row("carriage return first", [](text::CsvLines& c) { c.text(u"\r=1+1"_s); }, u"\"=\"\"\r=1+1\"\"\""_s);
    row("blanks first", [](text::CsvLines& c) { c.text(u"  =1+1"_s); }, u"\"=\"\"  =1+1\"\"\""_s);
    row("dash inside", [](text::CsvLines& c) { c.text(u"ŁĄKA - Spółka"_s); }, u"ŁĄKA - Spółka"_s);
    row("quote cannot end the text", [](text::CsvLines& c) { c.code(u"1\"&HYPERLINK(\"x\")&\""_s); },
        u"\"=\"\"1\"\"\"\"&HYPERLINK(\"\"\"\"x\"\"\"\")&\"\"\"\"\"\"\""_s);
    row("too long for a formula", [](text::CsvLines& c) { c.text(u"="_s + QString(300, u'A')); },
        u"'="_s + QString(300, u'A'));
}

namespace {

// What a spreadsheet takes a written field for: the text of a ="..." formula whose string
// is whole (every quote inside it doubled), or a text after an apostrophe; anything else
// that begins as a formula comes back marked, as does a ="..." the text could leave.
QString seenBySpreadsheet(const QString& field)
{
    QString cell = field;
    if (cell.startsWith(u'"') && cell.endsWith(u'"'))
        cell = cell.mid(1, cell.size() - 2).replace(u"\"\""_s, u"\""_s);
    if (cell.startsWith(u'\''))
        return cell.mid(1);
    if (cell.startsWith(u"=\""_s) && cell.endsWith(u'"')) {
        const QString string = cell.mid(2, cell.size() - 3);
        if (QString(string).remove(u"\"\""_s).contains(u'"'))
            return u"FORMULA: "_s + cell;
        return QString(string).replace(u"\"\""_s, u"\""_s);
    }
    return cell.isEmpty() || !u"=+-@\t\r"_s.contains(cell.front()) ? cell : u"FORMULA: "_s + cell;
}

} // namespace

void TestText::csvTextNeverAFormula_data()
{
    QTest::addColumn<QString>("value");
    for (const QString& v : {u"=HYPERLINK(\"http://x.pl\";\"kliknij\")"_s, u"-2+3"_s, u"+1"_s, u"@A1"_s, u"\t=1"_s,
                             u"\r=1"_s, u"\"&HYPERLINK(\"x\")&\""_s, u"=1+1\""_s, u"\""_s, u"=\";=1+1;\""_s,
                             u"=\"\n=1"_s, u"-"_s + QString(300, u'"')})
        QTest::newRow(qPrintable(v.left(20))) << v;
}

// Whatever the text, a spreadsheet shows a text cell as that text, never as a formula's result.
void TestText::csvTextNeverAFormula()
{
    QFETCH(QString, value);
    for (const bool asCode : {false, true}) {
        text::CsvLines csv;
        if (asCode)
            csv.code(value);
        else
            csv.text(value);
        QString line = csv.endLine().toString();
        line.chop(2); // CR LF
        QCOMPARE(seenBySpreadsheet(line), value);
    }
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
