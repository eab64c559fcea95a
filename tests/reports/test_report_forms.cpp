// The five printed forms of the settlement as computed pages, fed from a real database as
// delivered: texts and their order, pages, masks, struck-through and underlined marks, the
// numbering, the totals; zaokraglij; the command line's PDF of the same forms.
#include <QtTest>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "data/dm1.h"
#include "page_texts.h"
#include "report/page.h"
#include "report/report.h"
#include "report/report_printer.h"
#include "reports/report_subject.h"
#include "reports/report_set.h"
#include "data/settlement.h"
#include "reports/w_zak.h"
#include "reports/wydr_zest.h"
#include "reports/wydr_zest2005.h"
#include "reports/zaokraglij.h"
#include "reports/zest_zb.h"
#include "reports/zest_zb2005.h"
#include "settlement_rows.h"
#include "test_database.h"
#include "module_fixture.h"
#include "text/formats.h"
#include <QApplication>
#include "test_main.h"

using namespace Qt::StringLiterals;
using page_texts::firstMissing;
using page_texts::joined;

namespace {

// The lines of a report's pages, every page made.
struct Printed {
    std::vector<report::Page> pages;
    QString all() const
    {
        QStringList texts;
        for (const report::Page& p : pages)
            texts << joined(p);
        return texts.join(u'\n');
    }
    // The text items of all pages in order.
    std::vector<report::PageItem> textItems() const
    {
        std::vector<report::PageItem> items;
        for (const report::Page& p : pages)
            for (const report::PageItem& i : p.items())
                if (i.kind == report::PageItem::Kind::Text)
                    items.push_back(i);
        return items;
    }
};

Printed print(reports::ReportWindow& w)
{
    return Printed{page_texts::pagesOf(w.raport().prepare())};
}

// Every expected text, in this order, somewhere in the report.
QString missingInOrder(const Printed& p, const QStringList& expected)
{
    QString text = p.all();
    qsizetype at = 0;
    for (const QString& e : expected) {
        const qsizetype found = page_texts::find(text, e, at);
        if (found < 0)
            return e;
        at = found + e.size();
    }
    return {};
}

const QStringList laterAggregateTable{
    u"Lp."_s, u"Rodzaj korzystania ze środowiska"_s, u"Kod tabeli"_s, u"2)"_s, u"Wysokość opłaty"_s, u"[zł]"_s,
    u"1"_s, u" Wprowadzanie gazów lub pyłów do powietrza"_s,
    u"1.1"_s, u"Źródła powstawania substancji wprowadzanych do powietrza"_s, u"A"_s,
    u"1.2"_s, u"Przeładunek benzyn silnikowych"_s, u"B"_s,
    u"1.3"_s, u"Kotły o nominalnej mocy cieplnej do 5 MW opalane węglem kamiennym, koksem, drewnem, olejem lub paliwem "
              "gazowym, dla których nie jest wymagane pozwolenie na wprowadzanie gazów lub pyłów do powietrza albo "
              "pozwolenie zintegrowane."_s, u"C"_s,
    u"1.4"_s, u"Silniki spalinowe"_s, u"D"_s};
const QStringList laterAggregateRest{
    u"1.5"_s, u"Chów lub hodowla drobiu"_s, u"E"_s,
    u"I"_s, u"Wysokość opłaty za  wprowadzanie gazów lub pyłów do powietrza ogółem"_s, u"3)"_s};
const QStringList laterAggregateSections{
    u"2"_s, u"Pobór wód"_s,
    u"2.1"_s, u"Woda podziemna"_s, u"A"_s, u"2.2"_s, u"Woda powierzchniowa śródlądowa"_s, u"B"_s,
    u"2.3"_s, u"Morskie wody wewnętrzne"_s, u"C"_s,
    u"II"_s, u"Wysokość opłaty za pobór wód ogółem"_s, u"3)"_s,
    u"3"_s, u"Wprowadzanie ścieków do wód lub do ziemi"_s,
    u"3.1.1"_s, u"Ścieki o kodzie a"_s, u"4)"_s, u"A"_s, u"3.1.2"_s, u"Ścieki o kodzie b"_s, u"4)"_s, u"A"_s,
    u"3.1.3"_s, u"Ścieki o kodzie c"_s, u"4)"_s, u"A"_s, u"3.1.4"_s, u"Ścieki o kodzie d"_s, u"4)"_s, u"A"_s,
    u"3.1.5"_s, u"Ścieki rolniczo wykorzystane"_s, u"A"_s,
    u"3.1.6"_s, u"Wody wykorzystane, odprowadzane z obiektów chowu lub hodowli ryb łososiowatych"_s, u"A"_s,
    u"3.2"_s, u"Wody chłodnicze"_s, u"B"_s,
    u"3.3"_s, u"Wody opadowe lub roztopowe pochodzące z powierzchni zanieczyszczonych o trwałej nawierzchni, ujętych w "
              "otwarte lub zamknięte systemy kanalizacyjne, z wyjątkiem kanalizacji ogólnospławnej"_s, u"C"_s,
    u"3.4"_s, u"Wody zasolone"_s, u"D"_s,
    u"3.5"_s, u"Wody wykorzystane, odprowadzane z obiektów chowu lub hodowli ryb innych niż łososiowate albo innych "
              "organizmów wodnych"_s, u"E"_s,
    u"III"_s, u"Wysokość opłaty za  wprowadzanie ścieków do wód lub do ziemi ogółem"_s, u"3)"_s,
    u"4"_s, u"Składowanie odpadów"_s,
    u"4.1"_s, u"Odpady składowane selektywnie"_s, u"A"_s, u"4.2"_s, u"Odpady składowane nieselektywnie"_s, u"A"_s,
    u"IV"_s, u"Wysokość opłaty  za składowanie odpadów ogółem"_s, u"3)"_s,
    u"Suma opłat ogółem      [zł]"_s, u"5)"_s};
const QStringList laterAggregateNotes{
    u"Objaśnienia:"_s,
    u"1) Wypełnia się w każdym przypadku przedkładania któregokolwiek z wykazów zawartych w załącznikach nr"_s,
    u"   2-5."_s,
    u"2) Oznaczenie literowe tabel w załącznikach nr 2-5; należy podkreślić kod tej tabeli, którą dany podmiot"_s,
    u"   korzystający ze środowiska  wypełnił."_s,
    u"3) Zaokrągla sie do pełnych złotych w ten sposób, że końcówkę kwoty mniejszą niż 50 groszy pomija się,"_s,
    u"    a końcówkę kwoty wynoszącą 50 i więcej groszy podwyższa się do pełnych złotych."_s,
    u"4) Kody rodzajów ścieków wprowadzanych do wód lub do ziemi:"_s,
    u"  a) ścieki bytowe, z wyłączeniem ścieków bytowych wchodzących w skład ścieków komunalnych, ścieków"_s,
    u"       przemysłowych lub ścieków innych niż ścieki komunalne albo ścieki przemysłowe,"_s,
    u"  b) ścieki komunalne inne niż ścieki bytowe wprowadzane urządzeniami służącymi do realizacji zadań"_s,
    u"       własnych gminy w zakresie kanalizacji i oczyszczania ścieków komunalnych,"_s,
    u"  c) ścieki przemysłowe wprowadzane z urządzeń innych niż wymienione w lit. b,"_s,
    u"  d) ścieki inne niż wymienione w lit. a-c."_s,
    u"5) Suma opłat za poszczególne rodzaje korzystania ze środowiska, określonych w wierszach I, II, III i IV;"_s,
    u"    nie wlicza się do niej opłat z tytułu tych rodzajów korzystania ze środowiska,"_s,
    u"    których roczna wysokość nie przekracza 800 zł."_s, // the yearly threshold of 2024
    u"Pouczenie:"_s,
    u"Zawarte w wykazie informacje o wysokości należnych opłat stanowią podstawę do wystawienia tytułu"_s,
    u"wykonawczego zgodnie z przepisami ustawy z dnia 17 czerwca 1966r. o postępowaniu egzekucyjnym"_s,
    u"w administracji (Dz.U. z 2005r. Nr 229 poz. 1954)."_s,
    QString(19, u'.') + QString(6, u' ') + QString(100, u'.'),
    u"     (data)                (podpis osoby wypełniającej)            (podpis osoby upoważnionej do"_s,
    QString(85, u' ') + u"reprezentowania podmiotu)"_s};

} // namespace

class TestReportForms : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT


    data::Settlement settle(const QString& taxpayer, int year, int half)
    {
        return data::computeSettlement(*dm, taxpayer, year, data::settlementPeriod(year, half),
                                          data::yearParameters(*dm, year));
    }

    // How many empty lines stand between two lines of text on the page.
    static int emptyLinesBetween(const report::Page& page, const QString& a, const QString& b)
    {
        const report::PageItem* first = page.findText(a);
        const report::PageItem* second = page.findText(b);
        return first && second ? qRound((second->rect.top() - first->rect.top()) / first->rect.height()) - 1 : -1;
    }

private slots:
    void initTestCase() { text::applyProgramFormats(); }

    void init()
    {
        start();
        using namespace settlement_rows;
        addTaxpayer(*dm, 1, u"ABC"_s, u"Przedsiębiorstwo Usługowe ABC Spółka z o.o."_s, u"ul. Źródlana 5, 00-950 Łódź"_s,
                    u"123456785"_s, u"42 123 45 67"_s);
        addTaxpayer(*dm, 2, u"Inny"_s, u"Inna firma"_s);
        addVehicle(*dm, u"WA1"_s, 1, 11, 5);
        addVehicle(*dm, u"WA2"_s, 1, 5, 1);
        addVehicle(*dm, u"KR1"_s, 2, 11, 5); // another taxpayer's vehicle of the same type and fuel
        addPurchase(*dm, 1, u"WA1"_s, u"F/2"_s, {2024, 4, 1}, 5, 234.56);
        addPurchase(*dm, 2, u"WA1"_s, u"F/1"_s, {2024, 3, 1}, 5, 1000);
        addPurchase(*dm, 3, u"WA1"_s, u"F/0"_s, {2024, 3, 1}, 5, 10);
        addPurchase(*dm, 4, u"WA1"_s, u"F/3"_s, {2024, 5, 1}, 6, 100);
        addPurchase(*dm, 5, u"WA2"_s, u"F/4"_s, {2024, 6, 1}, 1, 500);
        addPurchase(*dm, 6, u"KR1"_s, u"K/1"_s, {2024, 2, 2}, 5, 10000);
        dm->ibds_pal.open();
        dm->IBDS_siln.open();
    }

    void cleanup() { stop(); }

    void zaokraglijRoundsScaledWholeNumbers()
    {
        using reports::zaokraglij;
        QCOMPARE(zaokraglij(2, 0, true, 1, -150), -2.0);
        QCOMPARE(zaokraglij(2, 0, false, 1, -150), -1.0);
        QCOMPARE(zaokraglij(2, 0, true, 1, 149), 1.0);
        QCOMPARE(zaokraglij(2, 0, true, 1, 150), 2.0);
        QCOMPARE(zaokraglij(2, 0, false, 1, 150), 1.0);
        QCOMPARE(zaokraglij(2, 0, true, 1, 123449), 1234.0);
        QCOMPARE(zaokraglij(2, 0, true, 1, 123450), 1235.0);
        QCOMPARE(zaokraglij(2, 0, true, 1, -123451), -1235.0);
        QCOMPARE(zaokraglij(2, 0, true, 1, 0), 0.0);
        QCOMPARE(zaokraglij(3, 1, true, 2, 1225), 2.5);  // 2.450 → 2.5
        QCOMPARE(zaokraglij(3, 1, false, 2, 1225), 2.4);
        QCOMPARE(zaokraglij(2, 2, true, 1, 12345), 123.45); // nothing to round
    }

    // The later statement, landscape: per engine type with 2024 rates its fuels; the lines of
    // the taxpayer's fuels carry tonnes, rate and fee, the others stay blank.
    void laterStatementPages()
    {
        const reports::ReportSubject in(settle(u"ABC"_s, 2024, 0), 0);
        reports::Tf_wydr_zest2005 w(*dm, in);
        QCOMPARE(w.caption(), u"Wydruk zesatwienia od 2005"_s);
        QCOMPARE(w.raport().title(), u"Wydruk zużycia paliw"_s);
        QCOMPARE(w.raport().orientation(), QPageLayout::Landscape);
        QCOMPARE(w.raport().margins(), QMarginsF(10, 15, 15, 16));
        const Printed p = print(w);
        QVERIFY(p.pages.size() > 1);
        QCOMPARE(p.pages.front().size(), QSizeF(297, 210));

        // The first page: title, heading, column titles, column numbers, the first type.
        QCOMPARE(firstMissing(p.pages.front(), {
            u"TABELA D"_s,
            u"WPROWADZANIE GAZÓW LUB PYŁÓW DO POWIETRZA Z PROCESÓW SPALANIA PALIW W SILNIKACH SPALINOWYCH"_s, u"*"_s,
            u"Lp."_s, u"Rodzaj silnika spalinowego"_s, u"Rodzaj paliwa"_s, u"Zużycie paliwa [Mg]"_s, u"9)"_s,
            u"Jednostowa stawka opłaty"_s, u"[zł/Mg]"_s, u"Wysokość opłaty"_s, u"[zł]"_s,
            u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s,
            u"1."_s, u"Osobowe, 1. rejestracja do 31.12.1992"_s,
            // fuels with a rate but no purchase: the name only, the number cells blank
            u"benzyna silnikowa"_s, u"gaz płynny propan-butan LPG"_s, u"olej napędowy"_s, u"biodiesel"_s,
            u"2."_s, u"Osobowe, 1. rej. 1993-1996 lub EURO 1"_s}), QString());
        const report::PageItem* title = p.pages.front().findText(u"TABELA D"_s);
        QVERIFY(title->font.bold);
        QCOMPARE(p.pages.front().findText(u"9)"_s)->font.pointSize, 6.0);
        QVERIFY(p.pages.front().findText(u"1"_s)->font.italic);
        QCOMPARE(p.pages[0].texts().count(u"TABELA D"_s), 1);
        // The column numbers head every page; the title only the first.
        for (size_t i = 1; i < p.pages.size(); ++i) {
            QCOMPARE(p.pages[i].texts().mid(0, 6), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s}));
            QVERIFY(!p.pages[i].findText(u"TABELA D"_s));
        }

        // The taxpayer's lines: 500 l petrol (type 5), 1244,56 l diesel and 100 l biodiesel (type 11).
        QCOMPARE(missingInOrder(p, {u"5."_s, u"Osobowe, 1. rej. po 31.12.2005 lub EURO 4"_s,
                                    u"benzyna silnikowa"_s, u"0,377"_s, u"8,71"_s, u"3,29"_s,
                                    u"gaz płynny propan-butan LPG"_s, u"CNG silnik fabryczny (m3)"_s,
                                    u"CNG silnik przebudowany (m3)"_s, u"olej napędowy"_s, u"biodiesel"_s, u"6."_s}), QString());
        QCOMPARE(missingInOrder(p, {u"11."_s, u"Do 3,5 Mg nieosobowe, po 30.06.2006 lub EURO 4"_s,
                                    u"benzyna silnikowa"_s, u"gaz płynny propan-butan LPG"_s, u"CNG silnik fabryczny (m3)"_s,
                                    u"CNG silnik przebudowany (m3)"_s, u"olej napędowy"_s, u"1,045"_s, u"8,67"_s, u"9,06"_s,
                                    u"biodiesel"_s, u"0,084"_s, u"7,37"_s, u"0,62"_s, u"12."_s}), QString());
        // The numbers stand right-aligned; the "Lp." numbers too.
        for (const report::PageItem& i : p.textItems())
            if (i.text == u"9,06"_s || i.text == u"0,084"_s || i.text == u"11."_s)
                QCOMPARE(i.align, report::Align::Right);
        // 32 engine types, numbered 1. to 32. and nothing beyond.
        QVERIFY(p.all().contains(u"\n32.\n"_s));
        QVERIFY(!p.all().contains(u"\n33.\n"_s));

        // The total of the printed fees, bold, on the last page, and the note under it.
        QCOMPARE(firstMissing(p.pages.back(), {u"Wysokość opłaty ogółem  [zł]"_s, u"12,97"_s,
                                               u"* W niniejszej tabeli wypełnia się tylko te pozycje, które dotyczą danego "
                                               "podmiotu korzystającego ze środowiska"_s}), QString());
        QVERIFY(p.pages.back().findText(u"12,97"_s)->font.bold);
        QCOMPARE(p.pages.back().findText(u"12,97"_s)->align, report::Align::Right);

        // A second preparation starts the total afresh.
        QCOMPARE(print(w).pages.back().texts().count(u"12,97"_s), 1);
    }

    // The later statement of a year without rates, and negative consumption (a return).
    void laterStatementEdges()
    {
        {
            const reports::ReportSubject in(settle(u"ABC"_s, 2030, 0), 0);
            reports::Tf_wydr_zest2005 w(*dm, in);
            const Printed p = print(w);
            QCOMPARE(p.pages.size(), size_t(1));
            const QStringList texts = p.pages.front().texts();
            // Title, headers and summary, no lines; the total blank.
            QCOMPARE(texts.mid(texts.indexOf(u"6"_s) + 1),
                     (QStringList{u"Wysokość opłaty ogółem  [zł]"_s,
                                  u"* W niniejszej tabeli wypełnia się tylko te pozycje, które dotyczą danego podmiotu "
                                  "korzystającego ze środowiska"_s}));
        }
        settlement_rows::addPurchase(*dm, 7, u"WA2"_s, u"KOR/1"_s, {2023, 3, 1}, 1, -500);
        const reports::ReportSubject in(settle(u"ABC"_s, 2023, 0), 0);
        reports::Tf_wydr_zest2005 w(*dm, in);
        // The program's masks keep the minus of a negative value, so a return never prints
        // as a purchase.
        QVERIFY2(print(w).all().contains(u"\n-0,377\n"_s), qPrintable(print(w).all()));
    }

    // The earlier statement, portrait, consumption only.
    void earlierStatementPages()
    {
        using namespace settlement_rows;
        setRate(*dm, 1, 1, 2005, 2.0);
        setRate(*dm, 1, 5, 2005, 3.0);
        setRate(*dm, 2, 5, 2005, 4.0);
        addVehicle(*dm, u"ST1"_s, 1, 2, 5);
        addPurchase(*dm, 10, u"ST1"_s, u"S/1"_s, {2005, 9, 10}, 5, 1000);
        addPurchase(*dm, 11, u"ST1"_s, u"S/0"_s, {2005, 3, 10}, 5, 999); // the other half-year
        const reports::ReportSubject in(settle(u"ABC"_s, 2005, 1), 1);
        reports::Tf_wydr_zest w(*dm, in);
        QCOMPARE(w.caption(), u"Wydruk zesatwienia"_s);
        QCOMPARE(w.raport().orientation(), QPageLayout::Portrait);
        QCOMPARE(w.raport().margins(), QMarginsF(10, 10, 15, 16));
        const Printed p = print(w);
        QCOMPARE(p.pages.size(), size_t(1));
        const report::Page& page = p.pages.front();
        QCOMPARE(page.size(), QSizeF(210, 297));
        QCOMPARE(firstMissing(page, {
            u"TABELA D"_s,
            u"GAZY LUB PYŁY WPROWADZANE DO POWIETRZA Z PROCESÓW SPALANIA PALIW W SILNIKACH SPALINOWYCH"_s,
            u"Lp."_s, u"Rodzaj silnika spalinowego"_s, u"Rodzaj paliwa"_s, u"Zużycie paliw [Mg]"_s,
            u"1"_s, u"2"_s, u"3"_s, u"4"_s,
            u"1."_s, u"Osobowe, 1. rejestracja do 31.12.1992"_s, u"benzyna silnikowa"_s, u"olej napędowy"_s,
            u"2."_s, u"Osobowe, 1. rej. 1993-1996 lub EURO 1"_s, u"olej napędowy"_s, u"0,840"_s,
            u"                (data)                 "_s, u"                (podpis osoby wypełniającej)                 "_s}),
                 QString());
        QVERIFY(!page.findText(u"TABELA D"_s)->font.bold);
        QCOMPARE(page.findText(u"Rodzaj silnika spalinowego"_s)->align, report::Align::Center);
        QCOMPARE(page.findText(u"Rodzaj paliwa"_s)->align, report::Align::Center);
        QVERIFY(page.findText(u"4"_s)->font.italic);
        QCOMPARE(page.findText(u"0,840"_s)->align, report::Align::Right);
        QCOMPARE(page.findText(u"2."_s)->align, report::Align::Right);
        QCOMPARE(page.findText(u"                (data)                 "_s)->font.pointSize, 8.0);
        // No rate, fee or total on the earlier form; the wrong half-year's 999 l is not there.
        QVERIFY(!p.all().contains(u"4,00"_s));
        QVERIFY(!p.all().contains(u"ogółem"_s));
        QVERIFY(!p.all().contains(u"0,839"_s));
    }

    // The earlier aggregate statement: the half-year, the taxpayer, every item answered with
    // "TAK" or " / NIE*", the other part struck through; only 1.4 applies.
    void earlierAggregatePages()
    {
        const reports::ReportSubject in(settle(u"ABC"_s, 2004, 1), 1);
        reports::Tf_zest_zb w(*dm, in);
        QCOMPARE(w.caption(), u"Wydruk zestawienia zbiorczego informacji o zakresie korzystania ze środowiska"_s);
        QCOMPARE(w.raport().title(), u"Wydruk zestawienia zbiorczego"_s);
        QCOMPARE(w.raport().margins(), QMarginsF(10, 10, 15, 16));
        QCOMPARE(w.raport().orientation(), QPageLayout::Portrait);
        const Printed p = print(w);
        QCOMPARE(p.pages.size(), size_t(1));
        // Section lines carry no answer; item lines end in "TAK" and " / NIE*".
        const QList<QPair<QString, bool>> lines{
            {u" 1. Wprowadzanie gazów lub pyłów do powietrza"_s, false},
            {u"1.1. Charakterystyka źródeł powstawania wprowadzanych do powietrza substancji"_s, true},
            {u"1.2. Przeładunek benzyn silnikowych"_s, true},
            {u"1.3. Kotły o nominalnej mocy cieplnej do 5 MW opalane węglem kamiennym, koksem, drewnem, olejem lub paliwem "
             "gazowym, dla których nie jest wymagane pozwolenie na wprowadzanie gazów lub pyłów do powietrza albo "
             "pozwolenie zintegrowane."_s, true},
            {u"1.4. Silniki spalinowe"_s, true},
            {u"1.5. Chów lub hodowla drobiu"_s, true},
            {u"2. Pobór wód"_s, false},
            {u"2.1. Pobór wody podziemnej"_s, true},
            {u"2.2. Pobór wody powierzchniowej śródlądowej"_s, true},
            {u"2.3. Pobór morskich wód wewnętrznych"_s, true},
            {u"2.4. Pobór wody zwolniony z opłat za korzystanie ze środowiska"_s, true},
            {u"3. Wprowadzanie ścieków do wód lub do ziemi"_s, false},
            {u"3.1. Wprowadzanie ścieków do wód lub do ziemi"_s, true},
            {u"3.2. Wprowadzanie wód chłodniczych"_s, true},
            {u"3.3. Wprowadzanie wód opadowych lub roztopowych pochodzących z powierzchni zanieczyszczonych o trwałej "
             "nawierzchni, ujętych w systemy kanalizacyjne, z wyjątkiem kanalizacji ogólnospławnej"_s, true},
            {u"3.4. Wprowadzanie wód zasolonych"_s, true},
            {u"3.5. Wprowadzanie wód wykorzystanych na potrzeby chowu lub hodowli ryb innych niż łososiowate lub innych "
             "organizmów wodnych"_s, true},
            {u"3.6. Ścieki wprowadzane do wód lub do ziemi, które są zwolnione z opłat za korzystanie ze środowiska"_s, true},
            {u"4. Składowanie odpadów"_s, false},
            {u"4.1. Odpady składowane selektywnie"_s, true},
            {u"4.2. Odpady składowane nieselektywnie"_s, true}};
        QStringList withAnswers{
            u"WYKAZ ZAWIERAJĄCY ZBIORCZE ZESTAWIENIE INFORMACJI O ZAKRESIE KORZYSTANIA ZE ŚRODOWISKA"_s,
            u"ZBIORCZE ZESTAWIENIE INFORMACJI O ZAKRESIE KORZYSTANIA ZE ŚRODOWISKA"_s, u"1)"_s,
            u"półrocze:"_s, u"II.2004"_s,
            u"Podmiot korzystający ze środowiska"_s,
            u"Nazwa:"_s, u"Przedsiębiorstwo Usługowe ABC Spółka z o.o."_s, u"Adres"_s, u"ul. Źródlana 5, 00-950 Łódź"_s,
            u"REGON"_s, u"123456785"_s, u"Telefon/faks"_s, u"42 123 45 67"_s};
        for (const auto& [line, answered] : lines) {
            withAnswers << line;
            if (answered)
                withAnswers << u"TAK"_s << u" / NIE*"_s;
        }
        withAnswers << u"Objaśnienia:"_s << u"1)"_s
                    << u"Wypełnia się w każdym przypadku przedkładania któregokolwiek z wykazów.zawartych w załącznikach nr 2-5."_s
                    << u"* niepotrzebne skreślić"_s << u"                (data)                 "_s
                    << u"                (podpis osoby wypełniającej)                 "_s
                    << u"(podpis osoby upoważnionej do reprezentowania podmiotu)      "_s;
        QCOMPARE(firstMissing(p.pages.front(), withAnswers), QString());

        // What is struck through: "TAK" everywhere but at 1.4, where " / NIE*" is.
        const auto texts = p.textItems();
        int answers = 0;
        for (size_t i = 0; i + 2 < texts.size(); ++i) {
            if (texts[i + 1].text != u"TAK"_s)
                continue;
            ++answers;
            const bool engines = texts[i].text == u"1.4. Silniki spalinowe"_s;
            QCOMPARE(texts[i + 2].text, u" / NIE*"_s);
            QCOMPARE(texts[i + 1].font.strikeOut, !engines);
            QCOMPARE(texts[i + 2].font.strikeOut, engines);
        }
        QCOMPARE(answers, 17);
        const report::Page& page = p.pages.front();
        QVERIFY(page.findText(u" 1. Wprowadzanie gazów lub pyłów do powietrza"_s)->font.bold);
        QVERIFY(page.findText(u"4. Składowanie odpadów"_s)->font.bold);
        QVERIFY(page.findText(u"Podmiot korzystający ze środowiska"_s)->font.italic);
        QCOMPARE(page.findText(u"Podmiot korzystający ze środowiska"_s)->align, report::Align::Center);
        const report::PageItem* period = page.findText(u"II.2004"_s);
        QVERIFY(period->font.bold);
        QCOMPARE(period->font.pointSize, 12.0);
        QVERIFY(!p.all().contains(u"Kod tabeli"_s));
    }

    // The later aggregate statement: period, taxpayer, the table with codes, the amounts of
    // 1.4, of section I and of the grand total, and the notes on the second page.
    void laterAggregatePages()
    {
        const data::Settlement s = settle(u"ABC"_s, 2024, 0);
        QCOMPARE(s.amount.units(), 129700); // 9,06 + 0,62 + 3,29
        const reports::ReportSubject in(s, 0);
        reports::Tf_zest_zb2005 w(*dm, in);
        QCOMPARE(w.caption(), u"Wydruk zestawienia zbiorczego informacji o zakresie korzystania ze środowiska od 2005"_s);
        QCOMPARE(w.raport().margins(), QMarginsF(5, 10, 10, 14));
        QCOMPARE(w.raport().orientation(), QPageLayout::Portrait);
        const Printed p = print(w);
        QCOMPARE(p.pages.size(), size_t(2));
        QStringList first{
            u"WYKAZ ZAWIERAJĄCY ZBIORCZE ZESTAWIENIE INFORMACJI O ZAKRESIE KORZYSTANIA ZE ŚRODOWISKA ORAZ O WYSOKOŚCI "
            "NALEŻNYCH OPŁAT"_s,
            u"ZBIORCZE ZESTAWIENIE INFORMACJI O ZAKRESIE KORZYSTANIA ZE ŚRODOWISKA ORAZ O WYSOKOŚCI NALEŻNYCH OPŁAT"_s,
            u"1)"_s, u"rok:"_s, u"2024"_s,
            u"Podmiot korzystający ze środowiska"_s,
            u"Nazwa:"_s, u"Przedsiębiorstwo Usługowe ABC Spółka z o.o."_s, u"Adres"_s, u"ul. Źródlana 5, 00-950 Łódź"_s,
            u"REGON"_s, u"123456785"_s, u"Telefon/faks"_s, u"42 123 45 67"_s};
        first << laterAggregateTable << u"12,97"_s << laterAggregateRest << u"13,00"_s << laterAggregateSections
              << u"0,00"_s;
        QCOMPARE(firstMissing(p.pages[0], first), QString());
        QCOMPARE(firstMissing(p.pages[1], laterAggregateNotes), QString());
        QCOMPARE(emptyLinesBetween(p.pages[1], u"    których roczna wysokość nie przekracza 800 zł."_s, u"Pouczenie:"_s), 4);
        QCOMPARE(emptyLinesBetween(p.pages[1], u"w administracji (Dz.U. z 2005r. Nr 229 poz. 1954)."_s,
                                   QString(19, u'.') + QString(6, u' ') + QString(100, u'.')), 6);

        const report::Page& page = p.pages[0];
        // The code of the table filled in, D, bold and underlined; the amounts right-aligned.
        const auto texts = p.textItems();
        for (size_t i = 0; i + 1 < texts.size(); ++i)
            if (texts[i].text == u"Silniki spalinowe"_s) {
                QCOMPARE(texts[i + 1].text, u"D"_s);
                QVERIFY(texts[i + 1].font.bold && texts[i + 1].font.underline);
                QVERIFY(!texts[i].font.bold);
                QCOMPARE(texts[i + 2].text, u"12,97"_s);
                QCOMPARE(texts[i + 2].align, report::Align::Right);
            }
        QVERIFY(!page.findText(u"A"_s)->font.underline);
        QVERIFY(page.findText(u"I"_s)->font.bold);
        QVERIFY(page.findText(u"13,00"_s)->font.bold);
        QVERIFY(page.findText(u"Suma opłat ogółem      [zł]"_s)->font.bold);
        QVERIFY(page.findText(u"Pobór wód"_s)->font.bold);
        QCOMPARE(page.findText(u"Podmiot korzystający ze środowiska"_s)->font, (report::Font{.pointSize = 9, .italic = true}));
        QCOMPARE(page.findText(u"2024"_s)->font, (report::Font{.pointSize = 12, .bold = true}));
        QCOMPARE(p.pages[1].findText(u"Objaśnienia:"_s)->font, report::Font{});
        QCOMPARE(p.pages[1].findText(u"Objaśnienia:"_s)->rect.left(), 5.0); // the later form's left margin

        // A half-year: "półrocze/rok:" and II.2010.
        const reports::ReportSubject halfYear(settle(u"ABC"_s, 2010, 1), 1);
        reports::Tf_zest_zb2005 w2010(*dm, halfYear);
        const Printed p2010 = print(w2010);
        QCOMPARE(firstMissing(p2010.pages[0], {u"półrocze/rok:"_s, u"II.2010"_s}), QString());
        // Up to 2012 the threshold was reckoned per half-year, and the note says so.
        QVERIFY(p2010.all().contains(u"    których półroczna wysokość nie przekracza 400 zł."_s));
        QVERIFY(!p2010.all().contains(u"roczna wysokość nie przekracza 800"_s));
    }

    // The purchase register: groups by engine type and fuel with their litres and tonnes, the
    // invoices under each in date and number order, only the taxpayer's own.
    void purchaseRegisterPages()
    {
        const reports::ReportSubject in(settle(u"ABC"_s, 2024, 0), 0);
        {
            reports::Tf_w_zak w(*dm, in);
            QCOMPARE(w.caption(), u"Wydruk zakupów paliw"_s);
            QCOMPARE(w.raport().title(), u"Wydruk zakupów paliw"_s);
            QCOMPARE(w.raport().margins(), QMarginsF(10, 10, 15, 16));
            const Printed p = print(w);
            QCOMPARE(p.pages.size(), size_t(1));
            QCOMPARE(p.pages[0].texts(), (QStringList{
                u"Strona:"_s, u"1"_s, u"Wydruk zakupów paliw"_s, u"dla firmy "_s, u"ABC"_s, u"za rok"_s, u"2024"_s,
                u"Nr rejestracyjny"_s, u"Nr rachunku"_s, u"Data zakupu"_s, u"Ilość w l"_s, u"Ilość w Mg"_s,
                u"Osobowe, 1. rej. po 31.12.2005 lub EURO 4"_s, u"benzyna silnikowa"_s, u"500,00"_s, u"0,377"_s,
                u"WA2"_s, u"F/4"_s, u"01-06-2024"_s, u"500,00"_s,
                u"Do 3,5 Mg nieosobowe, po 30.06.2006 lub EURO 4"_s, u"olej napędowy"_s, u"1244,56"_s, u"1,045"_s,
                u"WA1"_s, u"F/0"_s, u"01-03-2024"_s, u"10,00"_s,
                u"WA1"_s, u"F/1"_s, u"01-03-2024"_s, u"1000,00"_s,
                u"WA1"_s, u"F/2"_s, u"01-04-2024"_s, u"234,56"_s,
                u"Do 3,5 Mg nieosobowe, po 30.06.2006 lub EURO 4"_s, u"biodiesel"_s, u"100,00"_s, u"0,084"_s,
                u"WA1"_s, u"F/3"_s, u"01-05-2024"_s, u"100,00"_s}));
            // The title's second line is one line, its texts one after the other.
            const report::PageItem* firm = p.pages[0].findText(u"dla firmy "_s);
            const report::PageItem* name = p.pages[0].findText(u"ABC"_s);
            const report::PageItem* word = p.pages[0].findText(u"za rok"_s);
            QCOMPARE(name->rect.top(), firm->rect.top());
            QCOMPARE(word->rect.top(), firm->rect.top());
            QVERIFY(firm->rect.left() < name->rect.left() && name->rect.left() < word->rect.left());
            QCOMPARE(p.pages[0].findText(u"1244,56"_s)->align, report::Align::Right);
            QCOMPARE(p.pages[0].findText(u"Ilość w Mg"_s)->rect.right(), p.pages[0].findText(u"1,045"_s)->rect.right());
        }
        {
            // A half-year: "za kwartał" II.2012; nothing bought: headers only.
            const reports::ReportSubject empty(settle(u"ABC"_s, 2012, 1), 1);
            reports::Tf_w_zak w(*dm, empty);
            QCOMPARE(print(w).pages[0].texts(), (QStringList{
                u"Strona:"_s, u"1"_s, u"Wydruk zakupów paliw"_s, u"dla firmy "_s, u"ABC"_s, u"za kwartał"_s, u"II.2012"_s,
                u"Nr rejestracyjny"_s, u"Nr rachunku"_s, u"Data zakupu"_s, u"Ilość w l"_s, u"Ilość w Mg"_s}));
        }
        // Many purchases: the page number and the column header on every page.
        for (int i = 0; i < 120; ++i)
            settlement_rows::addPurchase(*dm, 100 + i, u"WA2"_s, u"M/%1"_s.arg(i, 3, 10, QChar(u'0')), {2025, 1 + i / 12, 1 + i % 12}, 1, 10);
        const reports::ReportSubject many(settle(u"ABC"_s, 2025, 0), 0);
        reports::Tf_w_zak w(*dm, many);
        const Printed p = print(w);
        QVERIFY(p.pages.size() >= 2);
        for (size_t n = 0; n < p.pages.size(); ++n) {
            QCOMPARE(p.pages[n].texts().mid(0, 2), (QStringList{u"Strona:"_s, QString::number(n + 1)}));
            QVERIFY(p.pages[n].findText(u"Nr rejestracyjny"_s));
        }
        QCOMPARE(p.pages[1].texts().at(2), u"Nr rejestracyjny"_s);
        QCOMPARE(firstMissing(p.pages[0], {u"1200,00"_s, u"0,906"_s, u"WA2"_s, u"M/000"_s, u"01-01-2025"_s, u"10,00"_s}), QString());
        QCOMPARE(p.all().count(u"\n10,00"_s), 120);
    }

    // A long register whose first line holds few of its purchases reads that line apart: the
    // same purchases in the same order as one query over all of them, and alike when the
    // report is made again.
    void longRegisterReadsItsFirstLineApart()
    {
        const QDate day(2025, 1, 1);
        int number = 100;
        for (const auto& [registration, fuel, count] : {std::tuple{u"WA1"_s, 5, 1500}, std::tuple{u"WA2"_s, 1, 100},
                                                        std::tuple{u"WA1"_s, 6, 500}})
            for (int i = 0; i < count; ++i, ++number)
                settlement_rows::addPurchase(*dm, number, registration, u"L/%1"_s.arg(number % 997), day.addDays(number % 300),
                                             fuel, 1 + i % 7);
        QStringList expected;
        for (const QVariantList& row : testsupport::queryRows(dm->db_opl, dm->tr_opl, u"select Z.NR_RACH from ZAK_PAL Z join SAM S on S.NR_REJ = Z.NR_REJ "
                                                             "where S.NR_POD = 1 and extract(year from Z.D_ZAK) = 2025 "
                                                             "order by S.NR_RODZ_SILN, Z.NR_RODZ_PAL, Z.D_ZAK, Z.NR_RACH, Z.NR_KOL"_s, {}))
            expected << row.value(0).toString();
        QCOMPARE(expected.size(), 2100);

        const reports::ReportSubject in(settle(u"ABC"_s, 2025, 0), 0);
        reports::Tf_w_zak w(*dm, in);
        const auto invoices = [](const Printed& p) {
            QStringList found;
            for (const report::PageItem& item : p.textItems())
                if (item.text.startsWith(u"L/"_s))
                    found << item.text;
            return found;
        };
        const Printed first = print(w);
        QCOMPARE(invoices(first), expected);
        QVERIFY(first.all().indexOf(u"\n100,00"_s) < first.all().indexOf(u"olej napędowy"_s));
        QCOMPARE(invoices(print(w)), expected);
    }

    // The forms follow the year: up to 2005 the earlier ones, from 2006 the later ones; the
    // aggregate statement prints first.
    void formsByYear()
    {
        for (const auto& [year, half, later] : {std::tuple{2005, 1, false}, std::tuple{2006, 0, true}}) {
            const reports::ReportSubject in(settle(u"ABC"_s, year, half), half);
            const auto windows = reports::createReports(*dm, in, reports::ReportChoice::Statements);
            QCOMPARE(windows.size(), size_t(2));
            QCOMPARE(dynamic_cast<reports::Tf_zest_zb2005*>(windows[0].get()) != nullptr, later);
            QCOMPARE(dynamic_cast<reports::Tf_wydr_zest2005*>(windows[1].get()) != nullptr, later);
            QCOMPARE(dynamic_cast<reports::Tf_zest_zb*>(windows[0].get()) != nullptr, !later);
            QCOMPARE(dynamic_cast<reports::Tf_wydr_zest*>(windows[1].get()) != nullptr, !later);
            // The names their PDF files are offered under: taxpayer, year, half-year up to 2012.
            const QString period = later ? u"2006_I"_s : u"2005_II"_s;
            QCOMPARE(windows[0]->raport().fileName(), u"ABC_%1_zestawienie_zbiorcze"_s.arg(period));
            QCOMPARE(windows[1]->raport().fileName(), u"ABC_%1_zestawienie"_s.arg(period));
        }
        const reports::ReportSubject in(settle(u"ABC"_s, 2024, 0), 0);
        const auto windows = reports::createReports(*dm, in, reports::ReportChoice::PurchaseRegister);
        QCOMPARE(windows.size(), size_t(1));
        QVERIFY(dynamic_cast<reports::Tf_w_zak*>(windows[0].get()));
        QCOMPARE(windows[0]->raport().fileName(), u"ABC_2024_wykaz_zakupow"_s);
        QVERIFY(!dm->IBQ_rozl_w.isActive()); // read as values: no dataset of the module held
        QVERIFY(windows[0]->raport().warning().isEmpty());

        // Purchases of a year without rates: both statements carry the warning that their
        // fee is too small, naming what lacks a rate; the register, which prints no fee, not.
        settlement_rows::addPurchase(*dm, 8, u"WA2"_s, u"BEZ/1"_s, {2030, 5, 1}, 1, 100);
        dm->ibds_pal.open();
        dm->IBDS_siln.open();
        const data::Settlement lacking = settle(u"ABC"_s, 2030, 0);
        QVERIFY2(lacking.missingRatesWarning().startsWith(u"Brak stawek dla: WA2 ("_s)
                     && lacking.missingRatesWarning().endsWith(u", rok 2030). Opłata na wydruku jest zaniżona."_s),
                 qPrintable(lacking.missingRatesWarning()));
        const reports::ReportSubject lackingIn(lacking, 0);
        for (const auto& w : reports::createReports(*dm, lackingIn, reports::ReportChoice::Statements))
            QCOMPARE(w->raport().warning(), lacking.missingRatesWarning());
        QVERIFY(reports::createReports(*dm, lackingIn, reports::ReportChoice::PurchaseRegister)[0]->raport().warning().isEmpty());
        // A short name with characters no file name takes.
        data::Settlement odd;
        odd.taxpayer = u"A/B:C*D O'Brien"_s;
        odd.year = 2012;
        QCOMPARE(reports::printoutFileName(reports::ReportSubject(odd, 1), u"zestawienie"_s),
                 u"A_B_C_D O'Brien_2012_II_zestawienie"_s);
    }

    // The printouts read their rows as values: made and freed while another window shows the
    // statement lines of another taxpayer and period, they leave that window's rows as they
    // were, open and on its taxpayer.
    void printoutsLeaveOtherWindowsData()
    {
        const data::Period year{{2024, 1, 1}, {2024, 12, 31}};
        const ds::OpenedDatasets shown = dm->openPurchaseRegister(u"Inny"_s, year);
        const auto rowsShown = [this] {
            QList<QVariantList> rows;
            for (int r = 0; r < dm->IBQ_rozl_w.recordCount(); ++r)
                rows << QVariantList{dm->IBQ_rozl_w.fieldByName(u"NR_RODZ_SILN"_s).valueAt(r),
                                     dm->IBQ_rozl_w.fieldByName(u"ZAKKW"_s).valueAt(r)};
            return rows;
        };
        const QList<QVariantList> before = rowsShown();
        QCOMPARE(before.size(), 1); // KR1's 10 000 l
        for (const auto choice : {reports::ReportChoice::Statements, reports::ReportChoice::PurchaseRegister}) {
            const reports::ReportSubject in(settle(u"ABC"_s, 2024, 0), 0);
            for (const auto& w : reports::createReports(*dm, in, choice))
                QVERIFY(!print(*w).pages.empty());
            QVERIFY(dm->IBQ_rozl_w.isActive());
            QCOMPARE(dm->IBQ_rozl_w.param(u"naz"_s).toString(), u"Inny"_s);
            QCOMPARE(rowsShown(), before);
        }
    }

    // brenvald-cli pdf: the forms of the year in one PDF, as many pages as the reports have.
    void commandLinePdf()
    {
        int expected = 0;
        {
            const reports::ReportSubject in(settle(u"ABC"_s, 2024, 0), 0);
            for (const auto& w : reports::createReports(*dm, in, reports::ReportChoice::Statements))
                expected += print(*w).pages.size();
        }
        settlement_rows::addPurchase(*dm, 8, u"WA2"_s, u"BEZ/1"_s, {2030, 5, 1}, 1, 100); // 2030 has no rates
        dm->disconnectDatabase();
        const QString out = testsupport::workDir() + u"/zestawienie.pdf"_s;
        auto run = [](const QStringList& args) {
            QProcess p;
            p.start(QStringLiteral(BRENVALD_CLI), args);
            p.waitForFinished(120000);
            return std::tuple{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
        };
        const QStringList base{u"pdf"_s, u"--db"_s, path, u"--taxpayer"_s, u"ABC"_s};
        auto [code, output, errors] = run(base + QStringList{u"--year"_s, u"2024"_s, u"--report"_s, u"statements"_s, u"--out"_s, out});
        QVERIFY2(code == 0, qPrintable(errors));
        QCOMPARE(output.trimmed(), u"Zapisano %1 (stron: %2)."_s.arg(out).arg(expected));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));
        QCOMPARE(pdf.count("/Type /Page\n"), qsizetype(expected));
        // The aggregate statement's two pages are portrait, the later statement's landscape.
        QCOMPARE(pdf.count("/MediaBox [0 0 595.000000 842.000000]"), qsizetype(2));
        QCOMPARE(pdf.count("/MediaBox [0 0 842.000000 595.000000]"), qsizetype(expected - 2));
        // What a PDF reader shows of the file: what it is, whose, for when, and what made it.
        const auto info = [](const QString& file, const QString& key) {
            QProcess p;
            p.start(u"pdfinfo"_s, {file});
            p.waitForFinished(60000);
            for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n'))
                if (line.startsWith(key + u':'))
                    return line.mid(key.size() + 1).trimmed();
            return QString();
        };
        QCOMPARE(info(out, u"Title"_s), u"Zestawienie zbiorcze — ABC — rok 2024"_s);
        QVERIFY2(info(out, u"Creator"_s).startsWith(u"brenvald-cli 3."_s), qPrintable(info(out, u"Creator"_s)));

        const QString registerOut = testsupport::workDir() + u"/zakupy.pdf"_s;
        std::tie(code, output, errors) = run(base + QStringList{u"--year"_s, u"2012"_s, u"--half"_s, u"II"_s, u"--report"_s,
                                                                  u"register"_s, u"--out"_s, registerOut});
        QCOMPARE(code, 0);
        QCOMPARE(output.trimmed(), u"Zapisano %1 (stron: 1)."_s.arg(registerOut));
        QCOMPARE(info(registerOut, u"Title"_s), u"Wykaz zakupów paliw — ABC — II półrocze 2012"_s);

        const QList<QPair<QStringList, int>> refusals{
            {base + QStringList{u"--year"_s, u"2024"_s, u"--report"_s, u"statements"_s}, 2},                        // no --out
            {base + QStringList{u"--year"_s, u"2024"_s, u"--out"_s, out}, 2},                                       // no --report
            {base + QStringList{u"--year"_s, u"2024"_s, u"--report"_s, u"zestawienie"_s, u"--out"_s, out}, 2},      // unknown report
            {base + QStringList{u"--year"_s, u"2012"_s, u"--report"_s, u"register"_s, u"--out"_s, out}, 2},         // no half-year
            {base + QStringList{u"--year"_s, u"2013"_s, u"--half"_s, u"I"_s, u"--report"_s, u"register"_s, u"--out"_s, out}, 2},
            {base + QStringList{u"--year"_s, u"24"_s, u"--report"_s, u"register"_s, u"--out"_s, out}, 2},
            {base + QStringList{u"--year"_s, u"2024"_s, u"--report"_s, u"register"_s, u"--out"_s, out, u"--tsv"_s}, 2},
            {{u"pdf"_s, u"--db"_s, path, u"--taxpayer"_s, u"XYZ"_s, u"--year"_s, u"2024"_s, u"--report"_s, u"register"_s, u"--out"_s, out}, 1},
            {base + QStringList{u"--year"_s, u"2024"_s, u"--report"_s, u"register"_s, u"--out"_s, u"/nie/ma/takiego/katalogu/a.pdf"_s}, 1},
        };
        for (const auto& [args, expectedCode] : refusals) {
            std::tie(code, output, errors) = run(args);
            QVERIFY2(code == expectedCode, qPrintable(args.join(u' ') + u" → "_s + QString::number(code)));
            QVERIFY(!errors.trimmed().isEmpty());
        }

        // Statements whose fee lacks rates: refused with what lacks them, unless allowed.
        const QString lacking = testsupport::workDir() + u"/bez_stawek.pdf"_s;
        const QStringList year2030 = base + QStringList{u"--year"_s, u"2030"_s, u"--report"_s, u"statements"_s, u"--out"_s, lacking};
        std::tie(code, output, errors) = run(year2030);
        QCOMPARE(code, 1);
        QVERIFY2(errors.contains(u"Brak stawek dla: WA2 ("_s) && errors.contains(u"--allow-missing-rates"_s), qPrintable(errors));
        QVERIFY(!QFile::exists(lacking));
        std::tie(code, output, errors) = run(year2030 + QStringList{u"--allow-missing-rates"_s});
        QVERIFY2(code == 0, qPrintable(errors));
        QVERIFY(QFile::exists(lacking));
    }
};

TEST_MAIN(QApplication, TestReportForms)
#include "test_report_forms.moc"
