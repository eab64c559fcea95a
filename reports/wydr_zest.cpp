#include "reports/wydr_zest.h"

#include "data/field_names.h"
#include "reports/form_drawing.h"

namespace reports {

namespace {

using report::Align;
using report::BandKind;
using report::Font;

// Printable width and the column edges: Lp., engine type, fuel, consumption.
constexpr double W = 185;
constexpr double c1 = 12, c2 = 90, c3 = 150;

} // namespace

Tf_wydr_zest::Tf_wydr_zest(Tdm_1& dm, const ReportSubject& subject)
    : StatementWindow(dm, subject, QStringLiteral("Wydruk zesatwienia"))
{
    raport().setOrientation(QPageLayout::Portrait);
    raport().setMargins({10, 10, 15, 16});
    buildBands();
}

void Tf_wydr_zest::buildBands()
{
    report::Report& r = raport();
    r.addBand(BandKind::Title, 9).addText({0, 0, 60, 5}, QStringLiteral("TABELA D"));

    report::Band& header = r.addBand(BandKind::ColumnHeader, 7.5);
    header.setStretch().setFrame(report::Frame::box());
    header.addText({1.5, 1.5, W - 3, 4.5},
                   QStringLiteral("GAZY LUB PYŁY WPROWADZANE DO POWIETRZA Z PROCESÓW SPALANIA PALIW W SILNIKACH SPALINOWYCH"))
        .setWordWrap();

    report::Band& titles = header.addChild(10);
    titles.setStretch().setFrame(report::Frame::box());
    titles.addText({1, 1, c1 - 2, 4.5}, QStringLiteral("Lp."));
    titles.addText({c1 + 1, 1, c2 - c1 - 2, 4.5}, QStringLiteral("Rodzaj silnika spalinowego")).setAlign(Align::Center);
    titles.addText({c2 + 1, 1, c3 - c2 - 2, 4.5}, QStringLiteral("Rodzaj paliwa")).setAlign(Align::Center);
    titles.addText({c3 + 1, 1, W - c3 - 2, 4.5}, QStringLiteral("Zużycie paliw [Mg]")).setWordWrap();
    form::verticalRules(titles, {c1, c2, c3});

    report::Band& numbers = titles.addChild(5);
    numbers.setFrame({false, true, true, true});
    numbers.setFont(Font{.italic = true});
    const double edges[] = {0, c1, c2, c3, W};
    for (int i = 0; i < 4; ++i)
        numbers.addText({edges[i], 0.4, edges[i + 1] - edges[i], 4.5}, QString::number(i + 1)).setAlign(Align::Center);
    form::verticalRules(numbers, {c1, c2, c3});

    report::Band& detail = r.addBand(BandKind::Detail, 5.5);
    detail.setStretch().setFrame({true, false, true, true});
    detail.addComputed({0, 0.5, c1 - 1.5, 4.5}, [this] { return runningNumber(); }).setAlign(Align::Right);
    detail.addField({c1 + 1.5, 0.5, c2 - c1 - 3, 4.5}, data::col::NAZWA).setWordWrap();
    form::verticalRules(detail, {c1, c2, c3});

    report::Band& fuel = r.addBand(BandKind::SubDetail, 5.5);
    fuel.setStretch().setFrame({false, false, true, true});
    fuel.addField({c2 + 1.5, 0.5, c3 - c2 - 3, 4.5}, data::calc::nazpal).setWordWrap();
    fuel.addField({c3 + 1.5, 0.5, W - c3 - 3, 4.5}, data::calc::zuz).setMask(tonnesMask).setAlign(Align::Right);
    form::verticalRules(fuel, {c1, c2, c3});
    fuel.addHorizontalRule(c2, fuel.height(), W - c2);

    report::Band& summary = r.addBand(BandKind::Summary, 30);
    summary.addHorizontalRule(0, 0, W); // closes the table under its last line
    const Font small{.pointSize = 8};
    form::signatureLine(summary, 0, 24, 60, QStringLiteral("                (data)                 "), small);
    form::signatureLine(summary, W - 80, 24, 80, QStringLiteral("                (podpis osoby wypełniającej)                 "),
                        small);
}

} // namespace reports
