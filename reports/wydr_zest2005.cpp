#include "reports/wydr_zest2005.h"

#include "data/field_names.h"
#include "report/values.h"
#include "reports/form_drawing.h"
#include "text/formats.h"

namespace reports {

namespace {

using report::Align;
using report::BandKind;
using report::Font;

// Printable width and the column edges: Lp., engine type, fuel, consumption, rate, fee,
// and the narrow cell at the right edge that carries only rules.
constexpr double W = 272;
constexpr double c1 = 12, c2 = 94, c3 = 152, c4 = 187, c5 = 231, c6 = 265;

} // namespace

Tf_wydr_zest2005::Tf_wydr_zest2005(Tdm_1& dm, const ReportSubject& subject)
    : StatementWindow(dm, subject, QStringLiteral("Wydruk zesatwienia od 2005"))
{
    raport().setOrientation(QPageLayout::Landscape);
    raport().setMargins({10, 15, 15, 16});
    buildBands();
}

void Tf_wydr_zest2005::buildBands()
{
    report::Report& r = raport();
    r.beforePrint = [this] { total_ = {}; };
    const Font plain;
    const Font bold{.bold = true};

    report::Band& title = r.addBand(BandKind::Title, 8);
    title.addText({0, 0, 60, 5}, QStringLiteral("TABELA D")).setFont(bold);

    report::Band& heading = title.addChild(7);
    heading.setFrame(report::Frame::box());
    const report::BandItem& headingText = heading.addText(
        {1.5, 1.2, W - 6, 4.5},
        QStringLiteral("WPROWADZANIE GAZÓW LUB PYŁÓW DO POWIETRZA Z PROCESÓW SPALANIA PALIW W SILNIKACH SPALINOWYCH"));
    form::markAfter(heading, headingText, plain, QStringLiteral("*"), plain);

    report::Band& titles = heading.addChild(10);
    titles.setStretch().setFrame(report::Frame::box());
    titles.addText({1, 1, c1 - 2, 4.5}, QStringLiteral("Lp."));
    titles.addText({c1 + 1.5, 1, c2 - c1 - 3, 4.5}, QStringLiteral("Rodzaj silnika spalinowego"));
    titles.addText({c2 + 1.5, 1, c3 - c2 - 3, 4.5}, QStringLiteral("Rodzaj paliwa"));
    const report::BandItem& consumption = titles.addText({c3 + 1, 1, c4 - c3 - 5, 4.5}, QStringLiteral("Zużycie paliwa [Mg]"));
    form::markAfter(titles, consumption, plain, QStringLiteral("9)"), Font{.pointSize = 6});
    titles.addText({c4 + 1, 1, c5 - c4 - 2, 4.5}, QStringLiteral("Jednostowa stawka opłaty")).setAlign(Align::Center);
    titles.addText({c4 + 1, 5, c5 - c4 - 2, 4.5}, QStringLiteral("[zł/Mg]")).setAlign(Align::Center);
    titles.addText({c5 + 1, 1, c6 - c5 - 2, 4.5}, QStringLiteral("Wysokość opłaty")).setAlign(Align::Center);
    titles.addText({c5 + 1, 5, c6 - c5 - 2, 4.5}, QStringLiteral("[zł]")).setAlign(Align::Center);
    form::verticalRules(titles, {c1, c2, c3, c4, c5, c6});

    report::Band& numbers = r.addBand(BandKind::ColumnHeader, 5);
    numbers.setFrame(report::Frame::box());
    numbers.setFont(Font{.italic = true});
    const double edges[] = {0, c1, c2, c3, c4, c5, c6};
    for (int i = 0; i < 6; ++i)
        numbers.addText({edges[i], 0.4, edges[i + 1] - edges[i], 4.5}, QString::number(i + 1)).setAlign(Align::Center);
    form::verticalRules(numbers, {c1, c2, c3, c4, c5, c6});

    report::Band& detail = r.addBand(BandKind::Detail, 5.5);
    detail.setStretch().setFrame({true, false, true, true});
    detail.addComputed({0, 0.5, c1 - 1.5, 4.5}, [this] { return runningNumber(); }).setAlign(Align::Right);
    detail.addField({c1 + 1.5, 0.5, c2 - c1 - 3, 4.5}, data::col::NAZWA).setWordWrap();
    form::verticalRules(detail, {c1, c2, c3, c4, c5, c6});

    report::Band& fuel = r.addBand(BandKind::SubDetail, 5.5);
    fuel.setStretch().setFrame({false, false, true, true});
    fuel.addField({c2 + 1.5, 0.5, c3 - c2 - 3, 4.5}, data::calc::nazpal).setWordWrap();
    fuel.addField({c3 + 1.5, 0.5, c4 - c3 - 3, 4.5}, data::calc::zuz).setMask(tonnesMask).setAlign(Align::Right);
    fuel.addField({c4 + 1.5, 0.5, c5 - c4 - 3, 4.5}, data::calc::staw).setMask(moneyMask).setAlign(Align::Right);
    fuel.addField({c5 + 1.5, 0.5, c6 - c5 - 3, 4.5}, data::calc::wart).setMask(moneyMask).setAlign(Align::Right);
    form::verticalRules(fuel, {c1, c2, c3, c4, c5, c6});
    fuel.addHorizontalRule(c2, fuel.height(), W - c2);
    // Each fuel line adds its printed fee to the total as it is placed (once per line).
    fuel.beforePrint = [this](report::Band&) {
        if (const auto fee = report::numberOf(fuelValue(data::calc::wart)))
            total_ += text::Money::fromDouble(*fee);
        return true;
    };

    report::Band& summary = r.addBand(BandKind::Summary, 6.5);
    summary.setFrame(report::Frame::box()).setFont(bold);
    summary.addText({c1 + 1.5, 1, c5 - c1 - 3, 4.5}, QStringLiteral("Wysokość opłaty ogółem  [zł]"));
    summary.addComputed({c5 + 1.5, 1, c6 - c5 - 3, 4.5}, [this] {
        return text::formatFloat(moneyMask, total_.toLongDouble());
    }).setAlign(Align::Right);
    form::verticalRules(summary, {c5, c6});

    summary.addChild(8).addText({0, 2.5, W, 4.5},
                                QStringLiteral("* W niniejszej tabeli wypełnia się tylko te pozycje, które dotyczą danego "
                                               "podmiotu korzystającego ze środowiska"));
}

} // namespace reports
