// What the report engine tests share: a statement-like report over in-memory rows, and
// questions about where texts landed on the computed pages.
#pragma once

#include <QtTest>

#include <memory>

#include "report/band.h"
#include "report/memory_rows.h"
#include "report/page.h"
#include "report/report.h"
#include "report/report_printer.h"

using namespace Qt::StringLiterals;
using report::Align;
using report::BandKind;

namespace reporttest {

// Engine types (master) with the fuels that have a rate for each (detail); a master move
// refills the detail, as the linked query does.
struct Sample {
    report::Report report;
    report::MemoryRows* engines = nullptr;
    report::MemoryRows* fuels = nullptr;
    QList<QList<QVariantList>> fuelsOfEngine;

    // A row of fuels per engine type: name, tonnes.
    explicit Sample(QList<QPair<QString, QList<QVariantList>>> rows)
    {
        QList<QVariantList> engineRows;
        for (const auto& [name, fuelRows] : rows) {
            engineRows << QVariantList{name};
            fuelsOfEngine << fuelRows;
        }
        auto master = std::make_unique<report::MemoryRows>(QStringList{u"NAZWA"_s}, engineRows);
        auto detail = std::make_unique<report::MemoryRows>(QStringList{u"nazpal"_s, u"zuz"_s});
        engines = master.get();
        fuels = detail.get();
        engines->onMove = [this](int row) { fuels->setRows(fuelsOfEngine.value(row)); };
        report.setMaster(std::move(master));
        report.setDetail(std::move(detail));
        define();
    }

    void define()
    {
        report::Report& r = report;
        r.setTitle(u"Wydruk zużycia paliw"_s);
        r.setMargins({10, 10, 15, 16});
        report::Band& pageHeader = r.addBand(BandKind::PageHeader, 6);
        pageHeader.addText({150, 0, 20, 5}, u"Strona:"_s);
        pageHeader.addComputed({170, 0, 15, 5}, [&r] { return QString::number(r.pageNumber()); }).setAlign(Align::Right);
        r.addBand(BandKind::Title, 10)
            .addText({0, 2, 185, 6}, u"TABELA D"_s)
            .setAlign(Align::Center)
            .setFont({.pointSize = 12, .bold = true});
        report::Band& header = r.addBand(BandKind::ColumnHeader, 6).setStretch().setFrame(report::Frame::box());
        header.addText({1, 0.5, 183, 5}, u"GAZY LUB PYŁY WPROWADZANE DO POWIETRZA Z PROCESÓW SPALANIA PALIW W SILNIKACH SPALINOWYCH"_s)
            .setWordWrap();
        report::Band& columns = header.addChild(6).setFrame(report::Frame::box());
        columns.addText({1, 0.5, 10, 5}, u"Lp."_s);
        columns.addText({12, 0.5, 70, 5}, u"Rodzaj silnika spalinowego"_s).setAlign(Align::Center);
        columns.addText({84, 0.5, 60, 5}, u"Rodzaj paliwa"_s).setAlign(Align::Center);
        columns.addText({146, 0.5, 38, 5}, u"Zużycie paliw [Mg]"_s);
        report::Band& detail = r.addBand(BandKind::Detail, 6);
        detail.addComputed({0, 0.5, 9, 5}, [&r] { return QString::number(r.recordNumber()) + u'.'; }).setAlign(Align::Right);
        detail.addField({12, 0.5, 70, 5}, u"NAZWA"_s);
        report::Band& sub = r.addBand(BandKind::SubDetail, 6);
        sub.addField({84, 0.5, 60, 5}, u"nazpal"_s);
        sub.addField({146, 0.5, 36, 5}, u"zuz"_s).setMask(u"###0.000;###0.000;#"_s).setAlign(Align::Right);
        sub.addHorizontalRule(84, 6, 101);
        r.addBand(BandKind::Summary, 20)
            .addText({0, 12, 60, 4}, u"                (data)                 "_s)
            .setFont({.pointSize = 8});
    }
};

// Every text of every page, in order.
inline QStringList allTexts(const report::ReportPrinter& p)
{
    QStringList result;
    for (int n = 1; n <= p.pageCount(); ++n)
        result << p.page(n).texts();
    return result;
}

// The texts of a page whose line starts at the same height as `item` (one printed line).
inline QStringList textsBeside(const report::Page& page, const report::PageItem& item)
{
    QStringList result;
    for (const report::PageItem& i : page.items())
        if (i.kind == report::PageItem::Kind::Text && qAbs(i.rect.top() - item.rect.top()) < 0.01)
            result << i.text;
    return result;
}

} // namespace reporttest
