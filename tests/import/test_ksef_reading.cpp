// E-invoices read without a database: what the reader takes from FA(3) and FA(2) documents
// and how it names what it cannot read, the files, folders and packages it goes through, and
// the matching rules as plain functions. Every invoice written here validates against the
// published schema.
#include <QBuffer>
#include <QtEndian>
#include <QTemporaryDir>
#include <QtTest>

#include "data/invoice_storage.h"
#include "import/ksef_fuel.h"
#include "import/ksef_matching.h"
#include "import/ksef_package.h"
#include "import/ksef_reader.h"
#include "ksef_builder.h"
#include "test_main.h"

using namespace Qt::StringLiterals;
using namespace ksef;
using Kind = ReadOutcome::Kind;

Q_DECLARE_METATYPE(ksef::FuelKind)
Q_DECLARE_METATYPE(ksef::UnitKind)
Q_DECLARE_METATYPE(ReadOutcome::Kind)

namespace {

// An invoice with every element the import reads.
ksefbuild::Invoice full()
{
    ksefbuild::Invoice f;
    f.number = u"FK/2026/03/0001"_s;
    f.kind = u"KOR"_s;
    f.delivered = u"2026-03-01"_s;
    f.buyerNip = u"1234563218"_s;
    f.corrected = {{u"2026-02-01"_s, u"FV/0"_s}};
    f.notes = {{2, u"Pojazd"_s, u"WA 100"_s}, {0, u"Uwagi"_s, u"karta 7"_s}};
    f.lines = {{u"ON"_s, u"-12.5"_s, u"l"_s, u"2710 19 43"_s, u"2026-02-27"_s, u"GTU_02"_s, true},
               {u"Pb95 & co"_s, u"0.000001"_s, u"kg"_s, {}, {}, {}, false, 7}};
    f.footer = {u"Flota: WA 200"_s};
    return f;
}

// What was read, in one line.
QString digest(const Invoice& i)
{
    QStringList fields{i.sellerNip, i.buyerNip, i.buyerName, i.invoiceDate.toString(Qt::ISODate), i.number,
                      i.delivered.toString(Qt::ISODate), i.periodStart.toString(Qt::ISODate),
                      i.periodEnd.toString(Qt::ISODate), i.kind};
    for (const CorrectedInvoice& c : i.corrected)
        fields << u"K:%1 %2"_s.arg(c.invoiceDate.toString(Qt::ISODate), c.number);
    for (const InvoiceNote& n : i.notes)
        fields << u"O:%1 %2=%3"_s.arg(n.line ? QString::number(*n.line) : u"-"_s, n.key, n.value);
    for (const InvoiceLine& l : i.lines)
        fields << u"W:%1 %2 %3 %4 %5 %6 %7 %8"_s.arg(l.number)
                     .arg(l.date.toString(Qt::ISODate), l.name, l.cn, l.unit)
                     .arg(l.quantity ? *l.quantity : -1)
                     .arg(l.gtu)
                     .arg(l.stateBefore);
    return (fields + i.footer).join(u'|');
}

const QString fullDigest = u"5260250274|1234563218|Trans-Pol Sp. z o.o.|2026-03-02|FK/2026/03/0001|2026-03-01|||KOR|"
                           "K:2026-02-01 FV/0|O:2 Pojazd=WA 100|O:- Uwagi=karta 7|"
                           "W:1 2026-02-27 ON 2710 19 43 l -12500000 GTU_02 1|W:7  Pb95 & co  kg 1  0|Flota: WA 200"_s;

ReadOutcome read(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readInvoice(buffer);
}

int lineOf(const QByteArray& xml, const QByteArray& text)
{
    return static_cast<int>(xml.left(xml.indexOf(text)).count('\n')) + 1;
}

QByteArray replaced(ksefbuild::Invoice f, const QByteArray& from, const QByteArray& to)
{
    return ksefbuild::xml(f).replace(from, to);
}

data::RegisterVehicle vehicle(int fuel, const QDate& first = {2020, 1, 1}, const QDate& last = {})
{
    return {u"WA 1"_s, 7, fuel, first, last};
}

// The fuels as delivered (data/reference/fuels.csv) and one of the user's.
const std::vector<data::RegisterFuel> delivered{{1, u"benzyna silnikowa"_s, 7550},
                                                {2, u"gaz płynny propan-butan LPG"_s, 5000},
                                                {3, u"CNG silnik fabryczny (m3)"_s, 7400},
                                                {4, u"CNG silnik przebudowany (m3)"_s, 7400},
                                                {5, u"olej napędowy"_s, 8400},
                                                {6, u"biodiesel"_s, 8400},
                                                {7, u"etanol"_s, 0}};

} // namespace

class TestKsefReading : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

private slots:
    void everyInvoiceOfTheseTestsIsValid()
    {
        ksefbuild::Invoice period;
        period.periodFrom = u"2026-02-01"_s;
        period.periodTo = u"2026-02-28"_s;
        ksefbuild::Invoice fa2 = full();
        fa2.fa2 = true;
        ksefbuild::Invoice noNip;
        noNip.buyerNip.clear();
        QCOMPARE(ksefbuild::schemaErrors({full(), period, fa2, noNip}), QString());
    }

    void documents_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("detail"); // the digest of an invoice, else the outcome's detail
        QTest::addColumn<int>("line");

        QTest::newRow("FA(3)") << ksefbuild::xml(full()) << Kind::Invoice << fullDigest << 0;
        ksefbuild::Invoice fa2 = full();
        fa2.fa2 = true;
        QTest::newRow("FA(2)") << ksefbuild::xml(fa2) << Kind::Invoice << fullDigest << 0;
        ksefbuild::Invoice period;
        period.periodFrom = u"2026-02-01"_s;
        period.periodTo = u"2026-02-28"_s;
        QTest::newRow("OkresFa") << ksefbuild::xml(period) << Kind::Invoice
                                 << u"5260250274|1234563218|Trans-Pol Sp. z o.o.|2026-03-02|FV/1/2026||2026-02-01|2026-02-28|VAT"_s << 0;
        QTest::newRow("other elements") << replaced(full(), "<RodzajFaktury>", "<x:Inne xmlns:x=\"urn:x\"><P_2>X</P_2></x:Inne><RodzajFaktury>")
                                        << Kind::Invoice << fullDigest << 0;
        QTest::newRow("receipt") << QByteArray("<?xml version=\"1.0\"?>\n<Paragon xmlns=\"urn:kasa\"><Suma>1</Suma></Paragon>")
                                 << Kind::NotAnInvoice << u"Paragon"_s << 0;
        QTest::newRow("FA(1)") << replaced(full(), "2025/06/25/13775", "2021/11/29/11089") << Kind::UnknownStructure
                               << u"http://crd.gov.pl/wzor/2021/11/29/11089/"_s << 0;
        const QByteArray unclosed = replaced(full(), "</P_7>", "");
        QTest::newRow("unclosed") << unclosed << Kind::Broken << u"to nie jest poprawny XML"_s << lineOf(unclosed, "<CN>");
        const QByteArray whole = ksefbuild::xml(full());
        QTest::newRow("cut") << whole.left(whole.size() / 2) << Kind::Broken << u"plik urywa się przed końcem dokumentu"_s
                             << static_cast<int>(whole.left(whole.size() / 2).count('\n')) + 1;
        QTest::newRow("entities") << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE Faktura [<!ENTITY a \"aaaaaaaaaa\">"
                                                "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n<Faktura>&b;</Faktura>")
                                  << Kind::Broken << u"dokument ma deklarację DTD, której program nie przyjmuje"_s << 2;
        QTest::newRow("external entity") << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE Faktura SYSTEM \"http://x/y.dtd\">\n<Faktura/>")
                                         << Kind::Broken << u"dokument ma deklarację DTD, której program nie przyjmuje"_s << 2;
        const QByteArray date = replaced(full(), "<P_1>2026-03-02", "<P_1>2026-02-30");
        QTest::newRow("no such day") << date << Kind::Broken << u"„2026-02-30” w elemencie P_1 nie jest datą"_s
                                     << lineOf(date, "<P_1>");
        const QByteArray quantity = replaced(full(), "<P_8B>-12.5", "<P_8B>12,5");
        QTest::newRow("quantity") << quantity << Kind::Broken << u"„12,5” w elemencie P_8B nie jest ilością, którą program przyjmuje"_s
                                  << lineOf(quantity, "<P_8B>12,5");
        const QByteArray twice = replaced(full(), "<NrWierszaFa>7", "<NrWierszaFa>1");
        QTest::newRow("line number twice") << twice << Kind::Broken << u"numer wiersza 1 powtarza się w fakturze"_s
                                           << lineOf(twice, "<P_7>Pb95") - 1;
        const QByteArray noNumber = replaced(full(), "<P_2>FK/2026/03/0001</P_2>", "");
        QTest::newRow("no number") << noNumber << Kind::Broken << u"brak numeru faktury (P_2)"_s
                                   << static_cast<int>(noNumber.count('\n')) + 1;
    }

    void documents()
    {
        QFETCH(QByteArray, xml);
        QFETCH(Kind, kind);
        QFETCH(QString, detail);
        QFETCH(int, line);
        const ReadOutcome outcome = read(xml);
        QCOMPARE(outcome.kind, kind);
        QCOMPARE(kind == Kind::Invoice ? digest(outcome.invoice) : outcome.detail, detail);
        if (kind == Kind::Broken)
            QCOMPARE(outcome.line, line);
        if (kind == Kind::Invoice)
            QCOMPARE(outcome.invoice.structure, xml.contains("12648") ? Structure::Fa2 : Structure::Fa3);
    }

    void quantities_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("millionths"); // -1: refused
        QTest::newRow("whole") << u"50"_s << Q_INT64_C(50000000);
        QTest::newRow("six places") << u"0.000001"_s << Q_INT64_C(1);
        QTest::newRow("negative") << u"-12.5"_s << Q_INT64_C(-12500000);
        QTest::newRow("seven places") << u"1.0000001"_s << Q_INT64_C(-1);
        QTest::newRow("comma") << u"1,5"_s << Q_INT64_C(-1);
        QTest::newRow("point alone") << u"1."_s << Q_INT64_C(-1);
        QTest::newRow("empty") << QString() << Q_INT64_C(-1);
        QTest::newRow("largest") << u"999999999999.999999"_s << Q_INT64_C(999999999999999999);
        QTest::newRow("a million million") << u"1000000000000"_s << Q_INT64_C(-1);
    }

    void quantities()
    {
        QFETCH(QString, text);
        QFETCH(qint64, millionths);
        QCOMPARE(parseMillionths(text).value_or(-1), millionths);
    }

    // Folders in name order with their subfolders, packages entry by entry; what is no
    // e-invoice is passed over, what cannot be read is left, each with one line.
    void filesFoldersAndPackages()
    {
        const QString root = folder.path();
        const QByteArray invoice = ksefbuild::xml({});
        ksefbuild::writeFile(root + u"/a/2.xml"_s, invoice);
        ksefbuild::writeFile(root + u"/a/b/1.xml"_s, invoice);
        ksefbuild::writeFile(root + u"/a/1.XML"_s, invoice);
        ksefbuild::writeFile(root + u"/a/paragon.pdf"_s, "%PDF");
        ksefbuild::writeZip(root + u"/a/p.zip"_s, {{u"FA/"_s, {}}, {u"FA/3.xml"_s, invoice}, {u"_metadata.json"_s, "{}"},
                                                   {u"duza.xml"_s, QByteArray(largestDocument + 1, ' ')}});
        ksefbuild::writeFile(root + u"/uszkodzona.zip"_s, "PK\x03\x04 to nie jest paczka");
        ksefbuild::writeZip(root + u"/bez_nazwy"_s, {{u"4.xml"_s, invoice}});
        QList<QPair<QString, QByteArray>> many;
        for (int i = 0; i <= mostPackageEntries; ++i)
            many.append({u"%1.xml"_s.arg(i), {}});
        ksefbuild::writeZip(root + u"/wielka.zip"_s, many);

        QStringList seen;
        walkDocuments(
            {root + u"/a"_s, root + u"/uszkodzona.zip"_s, root + u"/bez_nazwy"_s, root + u"/wielka.zip"_s, root + u"/nie_ma"_s},
            [&](Document& d) { seen << d.source().mid(root.size() + 1) + u' ' + QString::number(d.device().readAll().size()); },
            [&](const FileNote& n) { seen << (n.left ? u"LEFT "_s : u"PASS "_s) + QString(n.text).remove(root + u'/'); });
        const QString size = QString::number(invoice.size());
        QCOMPARE(seen, (QStringList{u"a/1.XML "_s + size, u"a/2.xml "_s + size,
                                    u"a/p.zip [FA/3.xml] "_s + size,
                                    u"PASS Plik a/p.zip [_metadata.json]: nie jest e-fakturą (XML); pominięty"_s,
                                    u"LEFT Plik a/p.zip [duza.xml]: większy niż 50 MiB; pominięty"_s,
                                    u"PASS Plik a/paragon.pdf: nie jest e-fakturą (XML) ani paczką (ZIP); pominięty"_s,
                                    u"a/b/1.xml "_s + size,
                                    u"LEFT Paczka uszkodzona.zip: nie można jej odczytać (to nie jest paczka ZIP); pominięta"_s,
                                    u"bez_nazwy [4.xml] "_s + size,
                                    u"LEFT Paczka wielka.zip: ma więcej niż 100 000 pozycji; pominięta"_s,
                                    u"LEFT Nie ma pliku ani katalogu nie_ma; pominięty"_s}));
    }

    // An entry that says it is small and inflates beyond the bound is cut off there.
    void anEntryLargerThanItSays()
    {
        const QString path = folder.filePath(u"klamie.zip"_s);
        ksefbuild::writeZip(path, {{u"a.xml"_s, QByteArray(largestDocument + 10, ' ')}});
        QFile zip(path);
        QVERIFY(zip.open(QIODevice::ReadWrite));
        QByteArray bytes = zip.readAll();
        const auto le32 = [](quint32 v) {
            const quint32 le = qToLittleEndian(v);
            return QByteArray(reinterpret_cast<const char*>(&le), 4);
        };
        const QByteArray real = le32(largestDocument + 10), small = le32(100);
        QVERIFY(bytes.count(real) == 2); // the uncompressed size, in the local and the central header
        bytes.replace(real, small);
        zip.seek(0);
        zip.write(bytes);
        zip.close();
        QString failure;
        walkDocuments({path}, [&](Document& d) { d.device().readAll(); failure = d.failure(); }, [](const FileNote&) {});
        QCOMPARE(failure, u"większy niż 50 MiB"_s);
    }

    void linesFuel_data()
    {
        QTest::addColumn<QString>("cn");
        QTest::addColumn<QString>("name");
        QTest::addColumn<FuelKind>("kind");
        QTest::newRow("petrol code") << u"2710 12 45"_s << u"Paliwo"_s << FuelKind::Petrol;
        QTest::newRow("gas oil code") << u"27101943"_s << u"Verva"_s << FuelKind::Diesel;
        QTest::newRow("gas oil with bio") << u"2710.20.11"_s << QString() << FuelKind::Diesel;
        QTest::newRow("LPG code") << u"2711 12 94"_s << QString() << FuelKind::Lpg;
        QTest::newRow("natural gas code") << u"2711 21 00"_s << QString() << FuelKind::Cng;
        QTest::newRow("biodiesel code") << u"3826 00 10"_s << QString() << FuelKind::Biodiesel;
        QTest::newRow("lubricating oil code") << u"2710 19 81"_s << u"Olej napędowy"_s << FuelKind::NotFuel;
        QTest::newRow("AdBlue code") << u"3102 10 10"_s << u"ON"_s << FuelKind::NotFuel;
        QTest::newRow("heating oil: gas oil's code") << u"2710 19 43"_s << u"Olej opałowy lekki"_s << FuelKind::NotFuel;
        QTest::newRow("code says nothing") << u"2710"_s << u"Pb 95"_s << FuelKind::Petrol;
        QTest::newRow("ON") << QString() << u"ON"_s << FuelKind::Diesel;
        QTest::newRow("olej napędowy") << QString() << u"Olej napędowy Ekodiesel"_s << FuelKind::Diesel;
        QTest::newRow("diesel") << QString() << u"Efecta Diesel"_s << FuelKind::Diesel;
        QTest::newRow("benzyna") << QString() << u"Benzyna bezołowiowa"_s << FuelKind::Petrol;
        QTest::newRow("Pb98") << QString() << u"PB98"_s << FuelKind::Petrol;
        QTest::newRow("E95") << QString() << u"e95 WA 100"_s << FuelKind::Petrol;
        QTest::newRow("LPG") << QString() << u"LPG"_s << FuelKind::Lpg;
        QTest::newRow("autogaz") << QString() << u"Autogaz"_s << FuelKind::Lpg;
        QTest::newRow("gaz płynny") << QString() << u"gaz płynny propan-butan LPG"_s << FuelKind::Lpg;
        QTest::newRow("CNG") << QString() << u"CNG"_s << FuelKind::Cng;
        QTest::newRow("biodiesel") << QString() << u"Biodiesel B100"_s << FuelKind::Biodiesel;
        QTest::newRow("motor oil") << QString() << u"Olej silnikowy 5W30"_s << FuelKind::NotFuel;
        QTest::newRow("AdBlue") << QString() << u"AdBlue 10 l"_s << FuelKind::NotFuel;
        QTest::newRow("service") << QString() << u"Usługa mycia"_s << FuelKind::NotFuel;
        QTest::newRow("fee") << QString() << u"Opłata za kartę"_s << FuelKind::NotFuel;
        QTest::newRow("washer fluid") << QString() << u"Płyn do spryskiwaczy"_s << FuelKind::NotFuel;
        QTest::newRow("coffee") << QString() << u"Kawa duża"_s << FuelKind::Unknown;
        QTest::newRow("ON inside a word") << QString() << u"Baton"_s << FuelKind::Unknown;
    }

    void linesFuel()
    {
        QFETCH(QString, cn);
        QFETCH(QString, name);
        QFETCH(FuelKind, kind);
        QCOMPARE(fuelOfLine(cn, name), kind);
    }

    void units_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<UnitKind>("kind");
        for (const QString& u : {u"l"_s, u"L"_s, u"litr"_s, u"litry"_s, u"Litrów"_s, u"dm3"_s, u"dm³"_s, u"l."_s})
            QTest::newRow(qPrintable(u)) << u << UnitKind::Litre;
        for (const QString& u : {u"m3"_s, u"m³"_s, u"Nm3"_s})
            QTest::newRow(qPrintable(u)) << u << UnitKind::CubicMetre;
        QTest::newRow("kg") << u"kg"_s << UnitKind::Kilogram;
        QTest::newRow("szt.") << u"szt."_s << UnitKind::Unknown;
        QTest::newRow("none") << QString() << UnitKind::Unknown;
    }

    void units()
    {
        QFETCH(QString, unit);
        QFETCH(UnitKind, kind);
        QCOMPARE(unitOf(unit), kind);
    }

    void identifiers()
    {
        QCOMPARE(nipKey(u"PL 123-456-32-18"_s), u"1234563218"_s);
        QCOMPARE(nipKey(u"pl1234563218"_s), u"1234563218"_s);
        QCOMPARE(nipKey(u"123 456 32 18"_s), u"1234563218"_s);
        QCOMPARE(registrationKey(u"wa-123 45"_s), u"WA12345"_s);
    }

    void vehiclesNamed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("vehicles");
        QTest::newRow("as registered") << u"ON WA 12345"_s << QList<int>{0};
        QTest::newRow("without blank") << u"Pojazd: WA12345."_s << QList<int>{0};
        QTest::newRow("lower case, hyphen") << u"nr rej. wa-123-45"_s << QList<int>{0};
        QTest::newRow("inside a longer number") << u"WA123456"_s << QList<int>{};
        QTest::newRow("two, each once") << u"KR 1, WA 12345, KR1"_s << QList<int>{1, 0};
        QTest::newRow("none") << u"Karta 7001 2345"_s << QList<int>{};
    }

    void vehiclesNamed()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, vehicles);
        const QHash<QString, int> known{{registrationKey(u"WA 12345"_s), 0}, {registrationKey(u"KR 1"_s), 1}};
        QCOMPARE(vehiclesIn(text, known), vehicles);
    }

    void dates_data()
    {
        QTest::addColumn<QString>("lineDate");
        QTest::addColumn<QString>("delivered");
        QTest::addColumn<QString>("periodEnd");
        QTest::addColumn<QDate>("date");
        QTest::newRow("P_6A") << u"2026-02-03"_s << u"2026-02-04"_s << QString() << QDate(2026, 2, 3);
        QTest::newRow("P_6") << QString() << u"2026-02-04"_s << QString() << QDate(2026, 2, 4);
        QTest::newRow("OkresFa") << QString() << QString() << u"2026-02-28"_s << QDate(2026, 2, 28);
        QTest::newRow("P_1") << QString() << QString() << QString() << QDate(2026, 3, 2);
    }

    void dates()
    {
        QFETCH(QString, lineDate);
        QFETCH(QString, delivered);
        QFETCH(QString, periodEnd);
        QFETCH(QDate, date);
        ksefbuild::Invoice f;
        f.delivered = delivered;
        if (!periodEnd.isEmpty())
            f.periodFrom = u"2026-02-01"_s;
        f.periodTo = periodEnd;
        f.lines = {{}};
        f.lines[0].date = lineDate;
        const Invoice invoice = read(ksefbuild::xml(f)).invoice;
        QCOMPARE(purchaseDate(invoice, invoice.lines.front()), date);
    }

    // Which fuel a vehicle's purchase is stored under: its own; for a diesel vehicle also the
    // diesel family's other fuel; a CNG line the vehicle's own CNG fuel.
    void fuelsOfVehicles_data()
    {
        QTest::addColumn<FuelKind>("line");
        QTest::addColumn<int>("vehicleFuel");
        QTest::addColumn<int>("stored");
        QTest::newRow("diesel, diesel") << FuelKind::Diesel << 5 << 5;
        QTest::newRow("biodiesel, diesel vehicle") << FuelKind::Biodiesel << 5 << 6;
        QTest::newRow("diesel, biodiesel vehicle") << FuelKind::Diesel << 6 << 5;
        QTest::newRow("petrol, diesel vehicle") << FuelKind::Petrol << 5 << 0;
        QTest::newRow("diesel, petrol vehicle") << FuelKind::Diesel << 1 << 0;
        QTest::newRow("LPG, LPG") << FuelKind::Lpg << 2 << 2;
        QTest::newRow("CNG, rebuilt engine") << FuelKind::Cng << 4 << 4;
        QTest::newRow("CNG, petrol vehicle") << FuelKind::Cng << 1 << 0;
        QTest::newRow("a fuel of the user's") << FuelKind::Petrol << 7 << 0;
    }

    void fuelsOfVehicles()
    {
        QFETCH(FuelKind, line);
        QFETCH(int, vehicleFuel);
        QFETCH(int, stored);
        QCOMPARE(fuelForVehicle(line, vehicle(vehicleFuel), delivered), stored);
    }

    void quantitiesInTheFuelsUnit()
    {
        QCOMPARE(inFuelUnit(50 * oneUnit, UnitKind::Litre, 8400), 50 * oneUnit);
        QCOMPARE(inFuelUnit(84 * oneUnit, UnitKind::Kilogram, 8400), 100 * oneUnit);   // diesel: 0,84 kg/l
        QCOMPARE(inFuelUnit(37 * oneUnit, UnitKind::Kilogram, 7400), 50 * oneUnit);    // CNG: 0,74 kg/m³
        QCOMPARE(inFuelUnit(-1 * oneUnit, UnitKind::Kilogram, 7550), Millionths(-1324503)); // to the millionth
        QCOMPARE(inFuelUnit(oneUnit, UnitKind::Kilogram, 0), std::nullopt);
        QVERIFY(unitFits(UnitKind::CubicMetre, FuelKind::Cng) && !unitFits(UnitKind::Litre, FuelKind::Cng));
        QVERIFY(unitFits(UnitKind::Kilogram, FuelKind::Lpg) && !unitFits(UnitKind::CubicMetre, FuelKind::Diesel));
    }

    void daysOfUse()
    {
        const data::RegisterVehicle v = vehicle(5, {2026, 3, 1}, {2026, 3, 31});
        QVERIFY(!inUseOn(v, {2026, 2, 28}));
        QVERIFY(inUseOn(v, {2026, 3, 1}));
        QVERIFY(inUseOn(v, {2026, 3, 31})); // the last day of use, as on the purchase screen
        QVERIFY(!inUseOn(v, {2026, 4, 1}));
    }
};

TEST_MAIN(QCoreApplication, TestKsefReading)
#include "test_ksef_reading.moc"
