// The e-invoice import on a real database, from invoices written here: every matching rule and
// every reason for leaving a line, the purchases stored (litres, fuel, vehicle, date, number),
// each line stored once however often it comes, corrections both ways, a vehicle chosen for a
// line, and the command line's log and exit codes.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "import/invoice_import.h"
#include "import/invoice_log.h"
#include "ksef_builder.h"
#include "module_fixture.h"
#include "sql_testing.h"
#include "text/formats.h"
#include "test_main.h"

using namespace Qt::StringLiterals;
using ksefbuild::Invoice;
using ksefbuild::Line;
using ksefbuild::Note;
using screentest::exec;
using screentest::rows;

Q_DECLARE_METATYPE(ksefbuild::Invoice)
Q_DECLARE_METATYPE(QList<ksefbuild::Invoice>)

namespace {

Invoice invoice(const QList<Line>& lines, const QList<Note>& notes = {}, const QString& number = u"FV/1/2026"_s)
{
    Invoice f;
    f.number = number;
    f.lines = lines;
    f.notes = notes;
    return f;
}

Note vehicleOf(int line, const QString& registration)
{
    return {line, u"Nr rejestracyjny"_s, registration};
}

Invoice correction(const QString& number, const QString& corrects, const QList<Line>& lines, const QList<Note>& notes = {})
{
    Invoice f = invoice(lines, notes, number);
    f.kind = u"KOR"_s;
    f.invoiceDate = u"2026-04-10"_s;
    f.corrected = {{u"2026-03-02"_s, corrects}};
    return f;
}

Line before(Line l)
{
    l.before = true;
    return l;
}

} // namespace

class TestInvoiceImport : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    QTemporaryDir folder;
    QList<Invoice> written; // checked against the schema after each test
    QStringList log;
    int files = 0;

    QString put(const Invoice& f, const QString& name = {})
    {
        written << f;
        const QString path = folder.filePath(name.isEmpty() ? u"f%1.xml"_s.arg(++files) : name);
        ksefbuild::writeFile(path, ksefbuild::xml(f));
        return path;
    }

    // Reads and stores; the preview's lines as "status: reason", after `choose` had its say.
    QStringList import(const QStringList& paths, const std::function<void(ksef::InvoicePreview&)>& choose = {})
    {
        ksef::InvoiceImport run(*dm);
        ksef::InvoicePreview preview = run.preview(paths);
        if (choose)
            choose(preview);
        log.clear();
        run.store(preview, [this](const QString& line) { log << line; }, {{2026, 12, 8}, {10, 11, 12}});
        QStringList lines;
        for (int i = 0; i < static_cast<int>(preview.lines().size()); ++i)
            lines << ksef::statusText(preview.lines()[i].status) + u": "_s + ksef::reasonOf(preview, i);
        return lines;
    }

    QStringList stored(int after = 0)
    {
        QStringList out;
        for (const QVariantList& r : rows(u"select NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK from ZAK_PAL where NR_KOL > :p0 "
                                          "order by NR_KOL"_s, {after}))
            out << u"%1|%2|%3|%4|%5"_s.arg(r[0].toString(), r[1].toString(), r[2].toDate().toString(Qt::ISODate),
                                            r[3].toString(), QString::number(r[4].toDouble()));
        return out;
    }

    int cli(const QStringList& args, QString* said = nullptr)
    {
        stop();
        QProcess p;
        p.start(QStringLiteral(BRENVALD_CLI), QStringList{u"import-invoices"_s, u"--db"_s, path} + args);
        p.waitForFinished(120000);
        if (said)
            *said = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        dm = std::make_unique<Tdm_1>();
        dm_1 = dm.get();
        dm->connectTo(path);
        return p.exitCode();
    }

private slots:
    void initTestCase() { text::applyProgramFormats(); }

    void init()
    {
        start();
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (7, 'PL 123-456-32-18', 'TRANSPOL')"_s);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (8, '111-111-11-11', 'JEDEN')"_s);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (9, '1111111111', 'JEDEN BIS')"_s);
        for (const char* v : {"'WA 100', 7, 1, 5, '2020-01-01', null", "'WA 200', 7, 1, 1, '2020-01-01', null",
                              "'WA 300', 7, 1, 4, '2020-01-01', null", "'WA 400', 7, 1, 5, '2026-03-01', '2026-03-15'",
                              "'KR 1', 8, 1, 5, '2020-01-01', null"})
            exec(u"insert into SAM values (%1)"_s.arg(QLatin1String(v)));
    }

    void cleanup()
    {
        stop();
        QCOMPARE(ksefbuild::schemaErrors(written), QString());
        written.clear();
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
    }

    void oneInvoice_data()
    {
        QTest::addColumn<Invoice>("invoice");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("purchases");
        const QString ready = u"zapisany: zapisany"_s;
        const QString fv = u"|FV/1/2026|2026-03-02|"_s;

        QTest::newRow("line's note") << invoice({{}}, {vehicleOf(1, u"wa100"_s)}) << QStringList{ready}
                                     << QStringList{u"WA 100"_s + fv + u"5|50"_s};
        QTest::newRow("line's name") << invoice({{u"Pb95 WA-200"_s, u"40.25"_s}}) << QStringList{ready}
                                     << QStringList{u"WA 200"_s + fv + u"1|40.25"_s};
        Invoice footer = invoice({{u"Olej napędowy"_s}});
        footer.footer = {u"Pojazd: WA 100"_s};
        QTest::newRow("footer") << footer << QStringList{ready} << QStringList{u"WA 100"_s + fv + u"5|50"_s};
        QTest::newRow("line's note before the invoice's")
            << invoice({{}}, {vehicleOf(0, u"WA 200"_s), vehicleOf(1, u"WA 100"_s)}) << QStringList{ready}
            << QStringList{u"WA 100"_s + fv + u"5|50"_s};
        QTest::newRow("two for the invoice") << invoice({{}}, {vehicleOf(0, u"WA 100, WA 400"_s)})
                                             << QStringList{u"pozostawiony: faktura wskazuje kilka pojazdów (WA 100, WA 400), a wiersz żadnego z nich"_s}
                                             << QStringList{};
        QTest::newRow("no vehicle") << invoice({{}}) << QStringList{u"pozostawiony: faktura nie wskazuje pojazdu nabywcy"_s}
                                    << QStringList{};
        Invoice stranger = invoice({{}}, {vehicleOf(1, u"WA 100"_s)});
        stranger.buyerNip = u"5555555555"_s;
        QTest::newRow("unknown buyer")
            << stranger << QStringList{u"pozostawiony: nabywca NIP 5555555555 „Trans-Pol Sp. z o.o.” nie jest podatnikiem w bazie"_s}
            << QStringList{};
        stranger.buyerNip.clear();
        QTest::newRow("buyer without NIP")
            << stranger << QStringList{u"pozostawiony: nabywca bez NIP „Trans-Pol Sp. z o.o.” nie jest podatnikiem w bazie"_s}
            << QStringList{};
        stranger.buyerNip = u"1111111111"_s;
        QTest::newRow("two taxpayers' NIP") << stranger
                                            << QStringList{u"pozostawiony: NIP nabywcy 1111111111 mają podatnicy: JEDEN, JEDEN BIS"_s}
                                            << QStringList{};
        QTest::newRow("kilograms") << invoice({{u"ON"_s, u"84"_s, u"kg"_s}}, {vehicleOf(1, u"WA 100"_s)}) << QStringList{ready}
                                   << QStringList{u"WA 100"_s + fv + u"5|100"_s};
        QTest::newRow("natural gas") << invoice({{u"CNG"_s, u"10"_s, u"m3"_s}, {u"CNG"_s, u"7.4"_s, u"kg"_s}}, {vehicleOf(0, u"WA 300"_s)})
                                     << QStringList{ready, ready}
                                     << QStringList{u"WA 300"_s + fv + u"4|10"_s, u"WA 300"_s + fv + u"4|10"_s};
        QTest::newRow("biodiesel, diesel vehicle") << invoice({{u"Biodiesel"_s, u"20"_s}}, {vehicleOf(0, u"WA 100"_s)})
                                                   << QStringList{ready} << QStringList{u"WA 100"_s + fv + u"6|20"_s};
        QTest::newRow("fuel by its code") << invoice({{u"Paliwo"_s, u"20"_s, u"l"_s, u"2710 19 43"_s}}, {vehicleOf(0, u"WA 100"_s)})
                                          << QStringList{ready} << QStringList{u"WA 100"_s + fv + u"5|20"_s};
        QTest::newRow("units") << invoice({{u"ON"_s, u"1"_s, u"szt."_s}, {u"ON"_s, u"1"_s, QString()}, {u"CNG"_s, u"1"_s, u"l"_s}},
                                          {vehicleOf(0, u"WA 100"_s)})
                               << QStringList{u"pozostawiony: jednostka „szt.” nie jest jednostką paliwa olej napędowy (l albo kg)"_s,
                                              u"pozostawiony: brak jednostki miary (P_8A)"_s,
                                              u"pozostawiony: jednostka „l” nie jest jednostką paliwa CNG (m³ albo kg)"_s}
                               << QStringList{};
        QTest::newRow("no quantity") << invoice({{u"ON"_s, QString()}}, {vehicleOf(0, u"WA 100"_s)})
                                     << QStringList{u"pozostawiony: brak ilości (P_8B)"_s} << QStringList{};
        QTest::newRow("wrong fuel") << invoice({{u"Pb95"_s}}, {vehicleOf(0, u"WA 100"_s)})
                                    << QStringList{u"pozostawiony: pojazd WA 100 nie używa paliwa „benzyna” (jego paliwo: olej napędowy)"_s}
                                    << QStringList{};
        Line last{}, after{};
        last.date = u"2026-03-15"_s;
        after.date = u"2026-03-16"_s;
        QTest::newRow("days of use") << invoice({last, after}, {vehicleOf(0, u"WA 400"_s)})
                                     << QStringList{ready, u"pozostawiony: pojazd WA 400 nie był używany 16-03-2026"_s}
                                     << QStringList{u"WA 400|FV/1/2026|2026-03-15|5|50"_s};
        Invoice period = invoice({{}}, {vehicleOf(0, u"WA 100"_s)});
        period.periodFrom = u"2026-02-01"_s;
        period.periodTo = u"2026-02-28"_s;
        QTest::newRow("a period's last day") << period << QStringList{ready} << QStringList{u"WA 100|FV/1/2026|2026-02-28|5|50"_s};
        QTest::newRow("number of 25 characters")
            << invoice({{}}, {vehicleOf(0, u"WA 100"_s)}, u"FV/2026/03/000000001/ABCD"_s) << QStringList{ready}
            << QStringList{u"WA 100|FV/2026/03/000000001|2026-03-02|5|50"_s};
        QTest::newRow("a number the database cannot hold")
            << invoice({{}}, {vehicleOf(0, u"WA 100"_s)}, u"FV/1/中"_s)
            << QStringList{u"pozostawiony: numer faktury ma znak „中”, którego baza danych nie zapisze (strona kodowa Windows-1250)"_s}
            << QStringList{};
        QTest::newRow("implausible") << invoice({{u"ON"_s, u"20000000"_s}}, {vehicleOf(0, u"WA 100"_s)})
                                     << QStringList{u"pozostawiony: ilość 20.000.000,00 l jest poza zakresem, który program przyjmuje"_s}
                                     << QStringList{};
        Invoice advance = invoice({{}}, {vehicleOf(0, u"WA 100"_s)});
        advance.kind = u"ZAL"_s;
        QTest::newRow("advance") << advance << QStringList{} << QStringList{};
        QTest::newRow("no fuel") << invoice({{u"AdBlue"_s}, {u"Olej silnikowy 5W30"_s}, {u"Kawa"_s, u"1"_s, u"szt."_s}})
                                 << QStringList{} << QStringList{};
        Invoice fa2 = invoice({{u"LPG"_s, u"30"_s}}, {vehicleOf(0, u"WA 300"_s)});
        fa2.fa2 = true;
        QTest::newRow("FA(2)") << fa2 << QStringList{u"pozostawiony: pojazd WA 300 nie używa paliwa „LPG” (jego paliwo: CNG silnik przebudowany (m3))"_s}
                               << QStringList{};
    }

    void oneInvoice()
    {
        QFETCH(Invoice, invoice);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, purchases);
        QCOMPARE(import({put(invoice)}), lines);
        QCOMPARE(stored(), purchases);
    }

    // The log: files passed over or left, lines left, each taxpayer's purchases, the counts.
    void theLog()
    {
        put(invoice({{u"ON"_s, u"10.5"_s}, {u"Pb95"_s}, {u"Kawa"_s}, {u"Produkt 7"_s, u"1"_s, u"szt."_s, {}, {}, u"GTU_02"_s}},
                    {vehicleOf(0, u"WA 100"_s)}),
            u"a.xml"_s);
        Invoice advance = invoice({{}}, {}, u"ZAL/1"_s);
        advance.kind = u"ZAL"_s;
        put(advance, u"b.xml"_s);
        ksefbuild::writeFile(folder.filePath(u"c.xml"_s), "<Faktura xmlns=\"http://crd.gov.pl/wzor/2025/06/25/13775/\">\n<Fa>");
        const QString f = folder.path() + u'/';
        import({folder.path()});
        QCOMPARE(log.join(u'\n').remove(f), (QStringList{
            u"Import zakupów paliw z e-faktur (KSeF). Wykonano 08-12-2026 10:11:12."_s,
            u"a.xml: faktura FV/1/2026, wiersz 4 „Produkt 7”: oznaczony GTU_02, ale ani kod CN, ani nazwa nie wskazują paliwa silnikowego; nie przejęty"_s,
            u"b.xml: faktura ZAL/1 (zaliczkowa) nie dokumentuje dostawy paliwa; pominięta"_s,
            u"Plik c.xml: błąd w wierszu 2, kolumnie 5: plik urywa się przed końcem dokumentu; pominięty"_s,
            u"a.xml: faktura FV/1/2026 z 02-03-2026 (sprzedawca NIP 5260250274), wiersz 2 „Pb95”: pojazd WA 100 nie używa paliwa „benzyna” (jego paliwo: olej napędowy); pozostawiony"_s,
            u"Podatnik TRANSPOL: zapisano 1 wiersz paliwa (olej napędowy 10,50 l)"_s,
            u"Przeczytano: plików 3, faktur 2. Wiersze paliwa: zapisane 1, przejęte wcześniej 0, powtórzone 0, pozostawione 1; wierszy innych niż paliwo: 2."_s,
            u"Zapisano 1 zakup."_s, u"Koniec"_s}).join(u'\n'));
    }

    // One invoice in a file, a folder and a package, read twice: each line stored once; two
    // invoices whose numbers share their first 20 characters stay two.
    void eachLineOnce()
    {
        const Invoice f = invoice({{}, {u"LPG"_s, u"20"_s}}, {vehicleOf(1, u"WA 100"_s), vehicleOf(2, u"WA 200"_s)});
        put(f, u"folder/a.xml"_s);
        written << f;
        ksefbuild::writeZip(folder.filePath(u"paczka.zip"_s), {{u"FA/a.xml"_s, ksefbuild::xml(f)}});
        put(invoice({{}}, {vehicleOf(1, u"WA 100"_s)}, u"FV/2026/03/000000001/A"_s), u"x.xml"_s);
        put(invoice({{}}, {vehicleOf(1, u"WA 100"_s)}, u"FV/2026/03/000000001/B"_s), u"y.xml"_s);
        const QStringList paths{folder.filePath(u"folder"_s), folder.filePath(u"paczka.zip"_s), folder.filePath(u"x.xml"_s),
                                folder.filePath(u"y.xml"_s)};
        QString said;
        QCOMPARE(cli(paths, &said), 1); // the LPG line is left: WA 200 burns petrol
        QCOMPARE(stored().size(), 3);
        QCOMPARE(rows(u"select NR_FAKTURY, NR_WIERSZA from WIERSZE_EFAKTUR order by 1, 2"_s),
                 (QList<QVariantList>{{u"FV/1/2026"_s, 1}, {u"FV/2026/03/000000001/A"_s, 1}, {u"FV/2026/03/000000001/B"_s, 1}}));
        QVERIFY2(said.contains(u"powtórzone 2, pozostawione 1"_s), qPrintable(said));
        exec(u"update SAM set NR_RODZ_PAL = 2 where NR_REJ = 'WA 200'"_s);
        QCOMPARE(cli(paths, &said), 0);
        QVERIFY2(said.contains(u"Wiersze paliwa: zapisane 1, przejęte wcześniej 4, powtórzone 1, pozostawione 0"_s), qPrintable(said));
        QCOMPARE(stored(), (QStringList{u"WA 100|FV/1/2026|2026-03-02|5|50"_s, u"WA 100|FV/2026/03/000000001|2026-03-02|5|50"_s,
                                        u"WA 100|FV/2026/03/000000001|2026-03-02|5|50"_s, u"WA 200|FV/1/2026|2026-03-02|2|20"_s}));
    }

    // A fleet card's month: a line per fill-up, each bound to its vehicle.
    void fleetCard()
    {
        QList<Line> lines;
        QList<Note> notes;
        const QStringList fleet{u"WA 100"_s, u"WA 400"_s};
        for (int i = 1; i <= 120; ++i) {
            lines << Line{u"ON"_s, u"%1.5"_s.arg(i)};
            lines.last().date = QDate(2026, 3, 1 + i % 15).toString(Qt::ISODate);
            notes << vehicleOf(i, fleet[i % 2]);
        }
        notes << vehicleOf(0, u"WA 200"_s);
        QCOMPARE(import({put(invoice(lines, notes))}), QStringList(120, u"zapisany: zapisany"_s));
        QCOMPARE(rows(u"select NR_REJ, count(*), sum(IL_ZAK) from ZAK_PAL group by NR_REJ"_s),
                 (QList<QVariantList>{{u"WA 100"_s, 60, 3690.0}, {u"WA 400"_s, 60, 3630.0}}));
    }

    void corrections_data()
    {
        QTest::addColumn<QList<Invoice>>("earlier"); // taken over in a run before
        QTest::addColumn<QList<Invoice>>("now");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("purchases"); // stored now
        const Invoice original = invoice({{u"ON"_s, u"50"_s, u"l"_s, {}, u"2026-03-01"_s}}, {vehicleOf(1, u"WA 100"_s)});
        const QString done = u"zapisany: zapisany"_s;
        const QList<Line> lessBy5{before({}), {u"ON"_s, u"45"_s}};

        QTest::newRow("states before and after") << QList<Invoice>{original} << QList<Invoice>{correction(u"KOR/1"_s, u"FV/1/2026"_s, lessBy5)}
                                                  << QStringList{done, done} << QStringList{u"WA 100|KOR/1|2026-03-01|5|-5"_s};
        QTest::newRow("differences") << QList<Invoice>{original}
                                     << QList<Invoice>{correction(u"KOR/1"_s, u"FV/1/2026"_s, {{u"ON"_s, u"3.5"_s}})}
                                     << QStringList{done} << QStringList{u"WA 100|KOR/1|2026-03-01|5|3.5"_s};
        QTest::newRow("in the same files") << QList<Invoice>{}
                                           << QList<Invoice>{correction(u"KOR/1"_s, u"FV/1/2026"_s, lessBy5), original}
                                           << QStringList{done, done, done}
                                           << QStringList{u"WA 100|FV/1/2026|2026-03-01|5|50"_s, u"WA 100|KOR/1|2026-03-01|5|-5"_s};
        QTest::newRow("naming another vehicle")
            << QList<Invoice>{original} << QList<Invoice>{correction(u"KOR/1"_s, u"FV/1/2026"_s, {{u"ON"_s, u"-5"_s}}, {vehicleOf(0, u"WA 400"_s)})}
            << QStringList{done} << QStringList{u"WA 400|KOR/1|2026-03-01|5|-5"_s};
        QTest::newRow("never taken over, naming the vehicle")
            << QList<Invoice>{} << QList<Invoice>{correction(u"KOR/1"_s, u"FV/9"_s, lessBy5, {vehicleOf(0, u"WA 100"_s)})}
            << QStringList{done, done} << QStringList{u"WA 100|KOR/1|2026-04-10|5|-5"_s};
        QTest::newRow("never taken over, naming none")
            << QList<Invoice>{} << QList<Invoice>{correction(u"KOR/1"_s, u"FV/9"_s, lessBy5)}
            << QStringList(2, u"pozostawiony: korekta faktury FV/9, której zakupów nie przejęto, nie wskazuje pojazdu"_s)
            << QStringList{};
        const Invoice twoVehicles = invoice({{}, {}}, {vehicleOf(1, u"WA 100"_s), vehicleOf(2, u"WA 400"_s)});
        QTest::newRow("of two vehicles, naming none")
            << QList<Invoice>{twoVehicles} << QList<Invoice>{correction(u"KOR/1"_s, u"FV/1/2026"_s, {{u"ON"_s, u"-5"_s}})}
            << QStringList{u"pozostawiony: korygowane zakupy dotyczą kilku pojazdów (WA 100, WA 400), a korekta nie wskazuje żadnego z nich"_s}
            << QStringList{};
        QTest::newRow("no difference") << QList<Invoice>{original}
                                       << QList<Invoice>{correction(u"KOR/1"_s, u"FV/1/2026"_s, {before({}), {}})}
                                       << QStringList{done, done} << QStringList{};
        QTest::newRow("a line left holds the rest")
            << QList<Invoice>{original} << QList<Invoice>{correction(u"KOR/1"_s, u"FV/1/2026"_s, {before({}), {u"ON"_s, u"45"_s, u"szt"_s}})}
            << QStringList{u"pozostawiony: inny wiersz paliwa tej korekty jest pozostawiony, a korekta przechodzi tylko w całości"_s,
                           u"pozostawiony: jednostka „szt” nie jest jednostką paliwa olej napędowy (l albo kg)"_s}
            << QStringList{};
    }

    void corrections()
    {
        QFETCH(QList<Invoice>, earlier);
        QFETCH(QList<Invoice>, now);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, purchases);
        QStringList paths;
        for (const Invoice& f : earlier)
            paths << put(f);
        if (!paths.isEmpty())
            import(paths);
        const int last = rows(u"select coalesce(max(NR_KOL), 0) from ZAK_PAL"_s).first().first().toInt();
        paths.clear();
        for (const Invoice& f : now)
            paths << put(f);
        QCOMPARE(import(paths), lines);
        QCOMPARE(stored(last), purchases);
    }

    // A line without a vehicle is offered the buyer's vehicles that take its fuel on its date;
    // the one chosen makes it ready, one of another taxpayer does not.
    void aVehicleChosen()
    {
        const QStringList lines = import({put(invoice({{}, {u"Pb95"_s}}))}, [](ksef::InvoicePreview& p) {
            QStringList offered;
            for (int v : p.vehicleChoices(0))
                offered << p.reg().vehicles[v].registration;
            QCOMPARE(offered, (QStringList{u"WA 100"_s, u"WA 400"_s}));
            QCOMPARE(p.chooseVehicle(1, p.vehicleOf(u"kr-1"_s)), ksef::LineStatus::NoVehicle);
            QCOMPARE(p.chooseVehicle(0, p.vehicleOf(u"wa 400"_s)), ksef::LineStatus::Ready);
        });
        QCOMPARE(lines, (QStringList{u"zapisany: zapisany"_s, u"pozostawiony: faktura nie wskazuje pojazdu nabywcy"_s}));
        QCOMPARE(stored(), QStringList{u"WA 400|FV/1/2026|2026-03-02|5|50"_s});
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("purchases");
        QTest::newRow("--vehicle") << QStringList{u"--vehicle"_s, u"wa-100"_s, u"@"_s} << 0 << u"Zapisano 2 zakupy."_s << 2;
        QTest::newRow("without") << QStringList{u"@"_s} << 1 << u"faktura nie wskazuje pojazdu nabywcy"_s << 1;
        QTest::newRow("no such vehicle") << QStringList{u"--vehicle"_s, u"XX 1"_s, u"@"_s} << 2
                                         << u"Nie ma pojazdu o numerze rejestracyjnym „XX 1”."_s << 0;
        QTest::newRow("no path") << QStringList{} << 2 << u"Podaj pliki XML, paczki ZIP albo katalogi z e-fakturami."_s << 0;
        QTest::newRow("broken") << QStringList{u"@"_s, u"@zła.xml"_s} << 1 << u"zła.xml: błąd w wierszu 1, kolumnie"_s << 1;
        QTest::newRow("no such file") << QStringList{u"@"_s, u"@nie_ma"_s} << 1 << u"Nie ma pliku ani katalogu"_s << 1;
    }

    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        QFETCH(int, purchases);
        put(invoice({{u"ON"_s, u"1"_s}, {u"ON"_s, u"2"_s}}, {vehicleOf(2, u"WA 100"_s)}), u"a.xml"_s);
        ksefbuild::writeFile(folder.filePath(u"zła.xml"_s), "<Faktura <P_1>");
        for (QString& a : args)
            if (a.startsWith(u'@'))
                a = folder.filePath(a.mid(1).isEmpty() ? u"a.xml"_s : a.mid(1));
        QString output;
        QCOMPARE(cli(args, &output), exitCode);
        QVERIFY2(output.contains(said), qPrintable(output));
        QCOMPARE(stored().size(), purchases);
    }
};

TEST_MAIN(QCoreApplication, TestInvoiceImport)
#include "test_invoice_import.moc"
