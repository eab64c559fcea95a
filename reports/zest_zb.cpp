#include "reports/zest_zb.h"

#include "data/field_names.h"
#include "reports/form_drawing.h"
#include "reports/report_subject.h"

namespace reports {

namespace {

using report::Align;
using report::BandKind;
using report::Font;

// Printable width, the middle of the taxpayer boxes and the start of the answer column.
constexpr double W = 185;
constexpr double half = 92.5;
constexpr double answer = 152;

const Font plain;
const Font bold{.bold = true};
const Font struck{.strikeOut = true};

// A line of a section heading, bold, ruled below.
void sectionLine(report::Band& parent, const QString& text)
{
    report::Band& b = parent.addChild(6);
    b.setFrame({false, true, true, true});
    b.addText({1.5, 1, W - 3, 4.5}, text).setFont(bold);
}

// An item line, ruled below, answered "TAK" or " / NIE*" with the other part struck through.
void itemLine(report::Band& parent, const QString& text, bool applies)
{
    report::Band& b = parent.addChild(6);
    b.setStretch().setFrame({false, true, true, true});
    b.addText({1.5, 1, answer - 3, 4.5}, text).setWordWrap();
    const QString yes = QStringLiteral("TAK");
    const double x = answer + 6;
    const double yesWidth = form::textWidth(yes, plain);
    b.addText({x, 1, yesWidth + 0.5, 4.5}, yes).setFont(applies ? plain : struck);
    b.addText({x + yesWidth, 1, W - x - yesWidth, 4.5}, QStringLiteral(" / NIE*")).setFont(applies ? struck : plain);
    form::verticalRules(b, {answer});
}

} // namespace

Tf_zest_zb::Tf_zest_zb(Tdm_1& dm, const ReportSubject& subject)
    : AggregateWindow(dm, subject, QStringLiteral("Wydruk zestawienia zbiorczego informacji o zakresie korzystania ze środowiska"))
{
    raport().setMargins({10, 10, 15, 16});
    buildBands();
}

void Tf_zest_zb::buildBands()
{
    report::Report& r = raport();
    r.addBand(BandKind::Title, 12).addText(
        {0, 0, W, 9},
        QStringLiteral("WYKAZ ZAWIERAJĄCY ZBIORCZE ZESTAWIENIE INFORMACJI O ZAKRESIE KORZYSTANIA ZE ŚRODOWISKA"))
        .setWordWrap().setAlign(Align::Center);

    report::Band& header = r.addBand(BandKind::ColumnHeader, 13);
    header.setFrame(report::Frame::box());
    const report::BandItem& heading = header.addText(
        {1.5, 1, W - 10, 4.5}, QStringLiteral("ZBIORCZE ZESTAWIENIE INFORMACJI O ZAKRESIE KORZYSTANIA ZE ŚRODOWISKA"));
    form::markAfter(header, heading, plain, QStringLiteral("1)"), plain);
    const QString halfYear = QStringLiteral("półrocze:");
    header.addText({1.5, 6.8, form::textWidth(halfYear, plain) + 1, 4.5}, halfYear);
    header.addComputed({1.5 + form::textWidth(halfYear, plain) + 2, 6, 60, 5.5}, [this] { return halfYearLabel(subject_); })
        .setName(QStringLiteral("QRL_kw_rok"))
        .setFont(Font{.pointSize = 12, .bold = true});

    report::Band& detail = r.addBand(BandKind::Detail, 6);
    detail.setFrame(report::Frame::box());
    detail.addText({0, 0.8, W, 4.5}, QStringLiteral("Podmiot korzystający ze środowiska"))
        .setFont(Font{.italic = true})
        .setAlign(Align::Center);

    report::Band& name = detail.addChild(18.5);
    name.setFrame({false, true, true, true});
    name.addText({1.5, 0.5, 30, 4.5}, QStringLiteral("Nazwa:"));
    name.addField({1.5, 5, half - 3, 12.5}, data::col::NAZWA).setWordWrap();
    name.addText({half + 1.5, 0.5, 30, 4.5}, QStringLiteral("Adres"));
    name.addField({half + 1.5, 5, W - half - 3, 12.5}, data::col::ADRES).setWordWrap();
    form::verticalRules(name, {half});

    report::Band& regon = detail.addChild(10);
    regon.setFrame({false, true, true, true});
    regon.addText({1.5, 0.5, 30, 4.5}, data::col::REGON);
    regon.addField({1.5, 5, half - 3, 4.5}, data::col::REGON);
    regon.addText({half + 1.5, 0.5, 30, 4.5}, QStringLiteral("Telefon/faks"));
    regon.addField({half + 1.5, 5, W - half - 3, 4.5}, data::col::TEL);
    form::verticalRules(regon, {half});

    sectionLine(detail, QStringLiteral(" 1. Wprowadzanie gazów lub pyłów do powietrza"));
    itemLine(detail, QStringLiteral("1.1. Charakterystyka źródeł powstawania wprowadzanych do powietrza substancji"), false);
    itemLine(detail, QStringLiteral("1.2. Przeładunek benzyn silnikowych"), false);
    itemLine(detail, QStringLiteral("1.3. Kotły o nominalnej mocy cieplnej do 5 MW opalane węglem kamiennym, koksem, drewnem, "
                                    "olejem lub paliwem gazowym, dla których nie jest wymagane pozwolenie na wprowadzanie "
                                    "gazów lub pyłów do powietrza albo pozwolenie zintegrowane."),
             false);
    itemLine(detail, QStringLiteral("1.4. Silniki spalinowe"), true);
    itemLine(detail, QStringLiteral("1.5. Chów lub hodowla drobiu"), false);

    sectionLine(detail, QStringLiteral("2. Pobór wód"));
    itemLine(detail, QStringLiteral("2.1. Pobór wody podziemnej"), false);
    itemLine(detail, QStringLiteral("2.2. Pobór wody powierzchniowej śródlądowej"), false);
    itemLine(detail, QStringLiteral("2.3. Pobór morskich wód wewnętrznych"), false);
    itemLine(detail, QStringLiteral("2.4. Pobór wody zwolniony z opłat za korzystanie ze środowiska"), false);

    sectionLine(detail, QStringLiteral("3. Wprowadzanie ścieków do wód lub do ziemi"));
    itemLine(detail, QStringLiteral("3.1. Wprowadzanie ścieków do wód lub do ziemi"), false);
    itemLine(detail, QStringLiteral("3.2. Wprowadzanie wód chłodniczych"), false);
    itemLine(detail, QStringLiteral("3.3. Wprowadzanie wód opadowych lub roztopowych pochodzących z powierzchni "
                                    "zanieczyszczonych o trwałej nawierzchni, ujętych w systemy kanalizacyjne, z wyjątkiem "
                                    "kanalizacji ogólnospławnej"),
             false);
    itemLine(detail, QStringLiteral("3.4. Wprowadzanie wód zasolonych"), false);
    itemLine(detail, QStringLiteral("3.5. Wprowadzanie wód wykorzystanych na potrzeby chowu lub hodowli ryb innych niż "
                                    "łososiowate lub innych organizmów wodnych"),
             false);
    itemLine(detail, QStringLiteral("3.6. Ścieki wprowadzane do wód lub do ziemi, które są zwolnione z opłat za korzystanie "
                                    "ze środowiska"),
             false);

    sectionLine(detail, QStringLiteral("4. Składowanie odpadów"));
    itemLine(detail, QStringLiteral("4.1. Odpady składowane selektywnie"), false);
    itemLine(detail, QStringLiteral("4.2. Odpady składowane nieselektywnie"), false);

    report::Band& summary = r.addBand(BandKind::Summary, 62);
    summary.addText({0, 4, 60, 4.5}, QStringLiteral("Objaśnienia:"));
    summary.addText({0, 9.5, 5, 4.5}, QStringLiteral("1)"));
    summary.addText({5, 9.5, W - 5, 4.5},
                    QStringLiteral("Wypełnia się w każdym przypadku przedkładania któregokolwiek z wykazów.zawartych w "
                                   "załącznikach nr 2-5."));
    summary.addText({0, 15, 80, 4.5}, QStringLiteral("* niepotrzebne skreślić"));
    form::signatureLine(summary, 0, 38, 55, QStringLiteral("                (data)                 "), plain);
    form::signatureLine(summary, 65, 38, W - 65, QStringLiteral("                (podpis osoby wypełniającej)                 "),
                        plain);
    form::signatureLine(summary, 65, 54, W - 65, QStringLiteral("(podpis osoby upoważnionej do reprezentowania podmiotu)      "),
                        plain);
}

} // namespace reports
