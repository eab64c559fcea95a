#include "reports/zest_zb2005.h"

#include <cmath>
#include <functional>

#include "data/field_names.h"
#include "reports/form_drawing.h"
#include "reports/report_subject.h"
#include "reports/zaokraglij.h"
#include "text/formats.h"

namespace reports {

namespace {

using report::Align;
using report::BandKind;
using report::Font;

// Printable width and the column edges: Lp., kind of use, table code, fee.
constexpr double W = 195;
constexpr double c1 = 14, c2 = 136, c3 = 161;

const Font plain;
const Font bold{.bold = true};

// One line of the table: ruled below and between its four cells; long texts wrap. `note`
// is a note mark after the text ("3)", "4)"), `amount` the fee; either may be empty.
void tableLine(report::Band& parent, const QString& lp, const QString& text, const QString& code, const QString& note,
               const std::function<QString()>& amount, const Font& font = plain, const Font& codeFont = plain)
{
    report::Band& b = parent.addChild(5.5);
    b.setStretch().setFrame({false, true, true, true});
    b.addText({1, 0.5, c1 - 2, 4.5}, lp).setFont(font);
    const report::BandItem& item = b.addText({c1 + 1, 0.5, c2 - c1 - 6, 4.5}, text).setFont(font).setWordWrap();
    if (!note.isEmpty())
        form::markAfter(b, item, font, note, font);
    if (!code.isEmpty())
        b.addText({c2, 0.5, c3 - c2, 4.5}, code).setFont(codeFont).setAlign(Align::Center);
    if (amount)
        b.addComputed({c3 + 1.5, 0.5, W - c3 - 3, 4.5}, amount).setFont(font).setAlign(Align::Right);
    form::verticalRules(b, {c1, c2, c3});
}

void item(report::Band& parent, const QString& lp, const QString& text, const QString& code, const QString& note = {})
{
    tableLine(parent, lp, text, code, note, {});
}

void section(report::Band& parent, const QString& lp, const QString& text)
{
    tableLine(parent, lp, text, {}, {}, {}, bold);
}

void total(report::Band& parent, const QString& lp, const QString& text, const std::function<QString()>& amount = {})
{
    tableLine(parent, lp, text, {}, QStringLiteral("3)"), amount, bold);
}

// The last line of note 5): the threshold as the settlement applied it, per half-year up to
// 2012, per year from 2013 ("800 zł" under the rules of 2013).
QString thresholdNote(int year, const text::Money& threshold)
{
    if (data::usesHalfYears(year))
        return QStringLiteral("    których półroczna wysokość nie przekracza 400 zł.");
    const bool whole = threshold.units() % 10000 == 0;
    return QStringLiteral("    których roczna wysokość nie przekracza %1 zł.")
        .arg(whole ? QString::number(threshold.units() / 10000) : text::formatNumber(threshold.toLongDouble(), 2));
}

// The explanatory notes and the signature lines under the table, as one block of lines.
QString explanations(int year, const text::Money& threshold)
{
    const QStringList lines{
        QStringLiteral("Objaśnienia:"),
        QStringLiteral("1) Wypełnia się w każdym przypadku przedkładania któregokolwiek z wykazów zawartych w załącznikach nr"),
        QStringLiteral("   2-5."),
        QStringLiteral("2) Oznaczenie literowe tabel w załącznikach nr 2-5; należy podkreślić kod tej tabeli, którą dany podmiot"),
        QStringLiteral("   korzystający ze środowiska  wypełnił."),
        QStringLiteral("3) Zaokrągla sie do pełnych złotych w ten sposób, że końcówkę kwoty mniejszą niż 50 groszy pomija się,"),
        QStringLiteral("    a końcówkę kwoty wynoszącą 50 i więcej groszy podwyższa się do pełnych złotych."),
        QStringLiteral("4) Kody rodzajów ścieków wprowadzanych do wód lub do ziemi:"),
        QStringLiteral("  a) ścieki bytowe, z wyłączeniem ścieków bytowych wchodzących w skład ścieków komunalnych, ścieków"),
        QStringLiteral("       przemysłowych lub ścieków innych niż ścieki komunalne albo ścieki przemysłowe,"),
        QStringLiteral("  b) ścieki komunalne inne niż ścieki bytowe wprowadzane urządzeniami służącymi do realizacji zadań"),
        QStringLiteral("       własnych gminy w zakresie kanalizacji i oczyszczania ścieków komunalnych,"),
        QStringLiteral("  c) ścieki przemysłowe wprowadzane z urządzeń innych niż wymienione w lit. b,"),
        QStringLiteral("  d) ścieki inne niż wymienione w lit. a-c."),
        QStringLiteral("5) Suma opłat za poszczególne rodzaje korzystania ze środowiska, określonych w wierszach I, II, III i IV;"),
        QStringLiteral("    nie wlicza się do niej opłat z tytułu tych rodzajów korzystania ze środowiska,"),
        thresholdNote(year, threshold),
        QString(), QString(), QString(), QString(),
        QStringLiteral("Pouczenie:"),
        QStringLiteral("Zawarte w wykazie informacje o wysokości należnych opłat stanowią podstawę do wystawienia tytułu"),
        QStringLiteral("wykonawczego zgodnie z przepisami ustawy z dnia 17 czerwca 1966r. o postępowaniu egzekucyjnym"),
        QStringLiteral("w administracji (Dz.U. z 2005r. Nr 229 poz. 1954)."),
        QString(), QString(), QString(), QString(), QString(), QString(),
        QString(19, QLatin1Char('.')) + QString(6, QLatin1Char(' ')) + QString(100, QLatin1Char('.')),
        QStringLiteral("     (data)                (podpis osoby wypełniającej)            (podpis osoby upoważnionej do"),
        QString(85, QLatin1Char(' ')) + QStringLiteral("reprezentowania podmiotu)"),
    };
    return lines.join(QLatin1Char('\n'));
}

} // namespace

Tf_zest_zb2005::Tf_zest_zb2005(Tdm_1& dm, const ReportSubject& subject)
    : AggregateWindow(dm, subject,
                      QStringLiteral("Wydruk zestawienia zbiorczego informacji o zakresie korzystania ze środowiska od 2005"))
{
    raport().setMargins({5, 10, 10, 14});
    buildBands();
}

void Tf_zest_zb2005::raportBeforePrint()
{
    const text::Money amount = subject_.settlement.amount;
    sum_d = text::formatNumber(amount.toLongDouble(), 2);
    const auto grosze = static_cast<qint64>(std::llround(static_cast<double>(amount.toLongDouble() * 100)));
    const text::Money rounded = text::Money::fromDouble(zaokraglij(2, 0, true, 1, grosze));
    sum_gazy = text::formatNumber(rounded.toLongDouble(), 2);
    sum_og = text::formatNumber(rounded <= subject_.settlement.threshold ? 0.0L : rounded.toLongDouble(), 2);
}

void Tf_zest_zb2005::buildBands()
{
    report::Report& r = raport();
    r.beforePrint = [this] { raportBeforePrint(); };

    report::Band& title = r.addBand(BandKind::Title, 11);
    title.setStretch();
    title.addText({0, 0, W, 9},
                  QStringLiteral("WYKAZ ZAWIERAJĄCY ZBIORCZE ZESTAWIENIE INFORMACJI O ZAKRESIE KORZYSTANIA ZE ŚRODOWISKA "
                                 "ORAZ O WYSOKOŚCI NALEŻNYCH OPŁAT"))
        .setWordWrap()
        .setAlign(Align::Center);

    report::Band& heading = title.addChild(16);
    heading.setFrame(report::Frame::box());
    const report::BandItem& headingText = heading.addText(
        {1.5, 1, W - 12, 9},
        QStringLiteral("ZBIORCZE ZESTAWIENIE INFORMACJI O ZAKRESIE KORZYSTANIA ZE ŚRODOWISKA ORAZ O WYSOKOŚCI NALEŻNYCH OPŁAT"))
        .setWordWrap();
    form::markAfter(heading, headingText, plain, QStringLiteral("1)"), plain);
    heading.addComputed({1.5, 10.3, 60, 4.5}, [this] {
        return data::usesHalfYears(subject_.choice.year) ? QStringLiteral("półrocze/rok:") : QStringLiteral("rok:");
    }).setName(QStringLiteral("QRLabel4")).setAlign(Align::Right);
    heading.addComputed({63.5, 9.6, 60, 5.5}, [this] { return periodLabel(subject_); })
        .setName(QStringLiteral("QRL_kw_rok"))
        .setFont(Font{.pointSize = 12, .bold = true});

    report::Band& detail = r.addBand(BandKind::Detail, 5.5);
    detail.setFrame(report::Frame::box());
    detail.addText({0, 0.8, W, 4.5}, QStringLiteral("Podmiot korzystający ze środowiska"))
        .setFont(Font{.pointSize = 9, .italic = true})
        .setAlign(Align::Center);

    constexpr double half = W / 2;
    report::Band& name = detail.addChild(6);
    name.setStretch().setFrame({false, true, true, true});
    name.addText({1.5, 0.8, 14, 4.5}, QStringLiteral("Nazwa:"));
    name.addField({15.5, 0.8, half - 17, 4.5}, data::col::NAZWA).setWordWrap();
    name.addText({half + 1.5, 0.8, 14, 4.5}, QStringLiteral("Adres"));
    name.addField({half + 15.5, 0.8, W - half - 17, 4.5}, data::col::ADRES).setWordWrap();
    form::verticalRules(name, {half});

    report::Band& regon = detail.addChild(6);
    regon.setStretch().setFrame({false, true, true, true});
    regon.addText({1.5, 0.8, 14, 4.5}, data::col::REGON);
    regon.addField({15.5, 0.8, half - 17, 4.5}, data::col::REGON).setWordWrap();
    regon.addText({half + 1.5, 0.8, 24, 4.5}, QStringLiteral("Telefon/faks"));
    regon.addField({half + 25.5, 0.8, W - half - 27, 4.5}, data::col::TEL).setWordWrap();
    form::verticalRules(regon, {half});

    report::Band& head = detail.addChild(10);
    head.setFrame({false, true, true, true}).setFont(bold);
    head.addText({1, 2.8, c1 - 2, 4.5}, QStringLiteral("Lp."));
    head.addText({c1 + 1, 2.8, c2 - c1 - 2, 4.5}, QStringLiteral("Rodzaj korzystania ze środowiska")).setAlign(Align::Center);
    const QString code = QStringLiteral("Kod tabeli");
    const double codeWidth = form::textWidth(code, bold);
    const report::BandItem& codeText = head.addText({c2 + (c3 - c2 - codeWidth) / 2 - 1, 0.8, codeWidth + 0.5, 4.5}, code);
    form::markAfter(head, codeText, bold, QStringLiteral("2)"), bold);
    head.addText({c3, 0.8, W - c3, 4.5}, QStringLiteral("Wysokość opłaty")).setAlign(Align::Center);
    head.addText({c3, 5, W - c3, 4.5}, QStringLiteral("[zł]")).setAlign(Align::Center);
    form::verticalRules(head, {c1, c2, c3});

    section(detail, QStringLiteral("1"), QStringLiteral(" Wprowadzanie gazów lub pyłów do powietrza"));
    item(detail, QStringLiteral("1.1"), QStringLiteral("Źródła powstawania substancji wprowadzanych do powietrza"), QStringLiteral("A"));
    item(detail, QStringLiteral("1.2"), QStringLiteral("Przeładunek benzyn silnikowych"), QStringLiteral("B"));
    item(detail, QStringLiteral("1.3"),
         QStringLiteral("Kotły o nominalnej mocy cieplnej do 5 MW opalane węglem kamiennym, koksem, drewnem, olejem lub "
                        "paliwem gazowym, dla których nie jest wymagane pozwolenie na wprowadzanie gazów lub pyłów do "
                        "powietrza albo pozwolenie zintegrowane."),
         QStringLiteral("C"));
    tableLine(detail, QStringLiteral("1.4"), QStringLiteral("Silniki spalinowe"), QStringLiteral("D"), {},
              [this] { return sum_d; }, plain, Font{.bold = true, .underline = true});
    item(detail, QStringLiteral("1.5"), QStringLiteral("Chów lub hodowla drobiu"), QStringLiteral("E"));
    total(detail, QStringLiteral("I"),
          QStringLiteral("Wysokość opłaty za  wprowadzanie gazów lub pyłów do powietrza ogółem"), [this] { return sum_gazy; });

    section(detail, QStringLiteral("2"), QStringLiteral("Pobór wód"));
    item(detail, QStringLiteral("2.1"), QStringLiteral("Woda podziemna"), QStringLiteral("A"));
    item(detail, QStringLiteral("2.2"), QStringLiteral("Woda powierzchniowa śródlądowa"), QStringLiteral("B"));
    item(detail, QStringLiteral("2.3"), QStringLiteral("Morskie wody wewnętrzne"), QStringLiteral("C"));
    total(detail, QStringLiteral("II"), QStringLiteral("Wysokość opłaty za pobór wód ogółem"));

    section(detail, QStringLiteral("3"), QStringLiteral("Wprowadzanie ścieków do wód lub do ziemi"));
    const QString four = QStringLiteral("4)");
    item(detail, QStringLiteral("3.1.1"), QStringLiteral("Ścieki o kodzie a"), QStringLiteral("A"), four);
    item(detail, QStringLiteral("3.1.2"), QStringLiteral("Ścieki o kodzie b"), QStringLiteral("A"), four);
    item(detail, QStringLiteral("3.1.3"), QStringLiteral("Ścieki o kodzie c"), QStringLiteral("A"), four);
    item(detail, QStringLiteral("3.1.4"), QStringLiteral("Ścieki o kodzie d"), QStringLiteral("A"), four);
    item(detail, QStringLiteral("3.1.5"), QStringLiteral("Ścieki rolniczo wykorzystane"), QStringLiteral("A"));
    item(detail, QStringLiteral("3.1.6"),
         QStringLiteral("Wody wykorzystane, odprowadzane z obiektów chowu lub hodowli ryb łososiowatych"), QStringLiteral("A"));
    item(detail, QStringLiteral("3.2"), QStringLiteral("Wody chłodnicze"), QStringLiteral("B"));
    item(detail, QStringLiteral("3.3"),
         QStringLiteral("Wody opadowe lub roztopowe pochodzące z powierzchni zanieczyszczonych o trwałej nawierzchni, "
                        "ujętych w otwarte lub zamknięte systemy kanalizacyjne, z wyjątkiem kanalizacji ogólnospławnej"),
         QStringLiteral("C"));
    item(detail, QStringLiteral("3.4"), QStringLiteral("Wody zasolone"), QStringLiteral("D"));
    item(detail, QStringLiteral("3.5"),
         QStringLiteral("Wody wykorzystane, odprowadzane z obiektów chowu lub hodowli ryb innych niż łososiowate albo "
                        "innych organizmów wodnych"),
         QStringLiteral("E"));
    total(detail, QStringLiteral("III"), QStringLiteral("Wysokość opłaty za  wprowadzanie ścieków do wód lub do ziemi ogółem"));

    section(detail, QStringLiteral("4"), QStringLiteral("Składowanie odpadów"));
    item(detail, QStringLiteral("4.1"), QStringLiteral("Odpady składowane selektywnie"), QStringLiteral("A"));
    item(detail, QStringLiteral("4.2"), QStringLiteral("Odpady składowane nieselektywnie"), QStringLiteral("A"));
    total(detail, QStringLiteral("IV"), QStringLiteral("Wysokość opłaty  za składowanie odpadów ogółem"));

    detail.addChild(5); // an empty line before the grand total

    report::Band& grand = detail.addChild(6);
    grand.setFrame(report::Frame::box()).setFont(bold);
    const report::BandItem& grandText = grand.addText({c1 + 1, 0.8, c2 - c1 - 6, 4.5}, QStringLiteral("Suma opłat ogółem      [zł]"));
    form::markAfter(grand, grandText, bold, QStringLiteral("5)"), bold);
    grand.addComputed({c3 + 1.5, 0.8, W - c3 - 3, 4.5}, [this] { return sum_og; }).setAlign(Align::Right);
    form::verticalRules(grand, {c3});

    report::Band& summary = r.addBand(BandKind::Summary, 8);
    summary.setStretch();
    summary.addText({0, 4, W, 4}, explanations(subject_.choice.year, subject_.settlement.threshold));
}

} // namespace reports
