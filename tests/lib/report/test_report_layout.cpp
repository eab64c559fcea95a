// The computed pages of banded reports: which texts, in which order, where, on which page.
#include "sample_report.h"

#include "report/paginator.h"
#include "report/stream_rows.h"
#include "report/text_measure.h"
#include "report/values.h"
#include <QGuiApplication>
#include "test_main.h"

using reporttest::Sample;

namespace {

const QString headerText = u"GAZY LUB PYŁY WPROWADZANE DO POWIETRZA Z PROCESÓW SPALANIA PALIW W SILNIKACH SPALINOWYCH"_s;

QList<QVariantList> fuelRows(std::initializer_list<QPair<QString, double>> rows)
{
    QList<QVariantList> result;
    for (const auto& [name, tonnes] : rows)
        result << QVariantList{name, tonnes};
    return result;
}

// Whether every item of the page lies within the paper's margins.
bool insideMargins(const report::Page& page, const QRectF& printable)
{
    const QRectF allowed = printable.adjusted(-0.01, -0.01, 0.01, 0.01);
    for (const report::PageItem& i : page.items()) {
        const QRectF r = i.kind == report::PageItem::Kind::Text ? i.rect : i.rect.normalized();
        if (!allowed.contains(r.topLeft()) || !allowed.contains(r.bottomRight()))
            return false;
    }
    return true;
}

} // namespace

class TestReportLayout : public QObject {
    Q_OBJECT

private slots:
    void statementOnOnePage()
    {
        Sample s({{u"osobowy"_s, fuelRows({{u"benzyna"_s, 1.5}, {u"gaz LPG"_s, 0.0}, {u"olej napędowy"_s, 2.25}})},
                  {u"ciężarowy"_s, fuelRows({{u"olej napędowy"_s, 10.0}})}});
        report::ReportPrinter& p = s.report.prepare();
        p.generateAll();
        QCOMPARE(p.status(), report::ReportPrinter::Status::Finished);
        QCOMPARE(p.pageCount(), 1);
        const report::Page& page = p.page(1);
        QCOMPARE(page.number(), 1);
        QCOMPARE(page.size(), QSizeF(210, 297));

        // The long column header wraps over more than one line; the rest in band order.
        QStringList texts = page.texts();
        QCOMPARE(texts.mid(0, 3), (QStringList{u"Strona:"_s, u"1"_s, u"TABELA D"_s}));
        const int columnTitles = texts.indexOf(u"Lp."_s);
        QVERIFY(columnTitles > 4);
        QCOMPARE(texts.mid(3, columnTitles - 3).join(u' '), headerText);
        QCOMPARE(texts.mid(columnTitles),
                 (QStringList{u"Lp."_s, u"Rodzaj silnika spalinowego"_s, u"Rodzaj paliwa"_s, u"Zużycie paliw [Mg]"_s,
                              u"1."_s, u"osobowy"_s, u"benzyna"_s, u"1,500"_s, u"gaz LPG"_s, u"olej napędowy"_s, u"2,250"_s,
                              u"2."_s, u"ciężarowy"_s, u"olej napędowy"_s, u"10,000"_s,
                              u"                (data)                 "_s}));

        // Zero tonnes print as nothing: the fuel's line holds its name only.
        const report::PageItem* lpg = page.findText(u"gaz LPG"_s);
        QVERIFY(lpg);
        QCOMPARE(reporttest::textsBeside(page, *lpg), QStringList{u"gaz LPG"_s});
        QCOMPARE(reporttest::textsBeside(page, *page.findText(u"benzyna"_s)), (QStringList{u"benzyna"_s, u"1,500"_s}));

        // Sub-detail lines lie under their engine type, above the next one.
        const double first = page.findText(u"osobowy"_s)->rect.top();
        const double second = page.findText(u"ciężarowy"_s)->rect.top();
        QVERIFY(first < page.findText(u"benzyna"_s)->rect.top());
        QVERIFY(lpg->rect.top() < second);
        QVERIFY(page.findText(u"10,000"_s)->rect.top() > second);

        // Positions: everything within the margins; the page header at the top margin, the
        // first band's items at the left margin; the grown column header pushes its child down.
        QVERIFY(insideMargins(page, s.report.printableRect()));
        QCOMPARE(page.findText(u"Strona:"_s)->rect.topLeft(), QPointF(160, 10));
        const report::PageItem* lastHeaderLine = page.findText(texts.at(columnTitles - 1));
        QVERIFY(page.findText(u"Lp."_s)->rect.top() >= lastHeaderLine->rect.bottom());
        QCOMPARE(page.findText(u"Lp."_s)->rect.left(), 11.0);
        QCOMPARE(page.findText(u"1."_s)->align, Align::Right);
        QCOMPARE(page.findText(u"TABELA D"_s)->font.pointSize, 12.0);
        QVERIFY(page.findText(u"TABELA D"_s)->font.bold);
        QVERIFY(!page.findText(u"Lp."_s)->font.bold);
        QCOMPARE(page.findText(u"Lp."_s)->font.family, u"Arial"_s);
    }

    void longReportBreaksPages()
    {
        QList<QPair<QString, QList<QVariantList>>> rows;
        for (int i = 1; i <= 40; ++i)
            rows.append({u"silnik %1"_s.arg(i), fuelRows({{u"benzyna"_s, i}, {u"olej"_s, 0.5}})});
        Sample s(rows);
        // Hooks run once per printed band, also when the band moves to a new page.
        int details = 0, lines = 0;
        s.report.band(BandKind::Detail)->beforePrint = [&details](report::Band&) { return ++details > 0; };
        s.report.band(BandKind::SubDetail)->beforePrint = [&lines](report::Band&) { return ++lines > 0; };
        report::ReportPrinter& p = s.report.prepare();
        p.generateAll();
        QVERIFY(p.pageCount() >= 3);
        QCOMPARE(details, 40);
        QCOMPARE(lines, 80);

        const double bottom = 297 - 16;
        QStringList engines;
        for (int n = 1; n <= p.pageCount(); ++n) {
            const report::Page& page = p.page(n);
            const QStringList texts = page.texts();
            // The page header with the page's number on every page.
            QCOMPARE(texts.mid(0, 2), (QStringList{u"Strona:"_s, QString::number(n)}));
            // The title on the first page only; the column header at the top of every page.
            QCOMPARE(texts.contains(u"TABELA D"_s), n == 1);
            const int firstColumnTitle = texts.indexOf(u"Lp."_s);
            QVERIFY(firstColumnTitle > 0);
            QCOMPARE(texts.mid(n == 1 ? 3 : 2, texts.indexOf(u"Lp."_s) - (n == 1 ? 3 : 2)).join(u' '), headerText);
            QCOMPARE(texts.count(u"Lp."_s), 1);
            for (const QString& t : texts)
                if (t.startsWith(u"silnik "_s))
                    engines << t;
            // Nothing runs into the bottom margin.
            QVERIFY(insideMargins(page, s.report.printableRect()));
            for (const report::PageItem& i : page.items())
                QVERIFY(i.rect.bottom() <= bottom + 0.01);
            // The summary closes the last page only.
            QCOMPARE(texts.contains(u"                (data)                 "_s), n == p.pageCount());
        }
        // Every engine type once, in order, numbered on through the pages.
        QCOMPARE(engines.size(), 40);
        for (int i = 0; i < 40; ++i)
            QCOMPARE(engines[i], u"silnik %1"_s.arg(i + 1));
        const QStringList all = reporttest::allTexts(p);
        QCOMPARE(all.at(all.indexOf(u"silnik 40"_s) - 1), u"40."_s);
        QCOMPARE(all.at(all.indexOf(u"silnik 40"_s) + 2), u"40,000"_s);
        QCOMPARE(all.at(all.indexOf(u"silnik 40"_s) + 4), u"0,500"_s);
    }

    void fontsMasksAndFormats()
    {
        report::Report r;
        auto rows = std::make_unique<report::MemoryRows>(QStringList{u"KWOTA"_s, u"DATA"_s},
                                                         QList<QVariantList>{{1234.5, QDate(2012, 7, 1)}, {12.0, QVariant()}, {0.0, QDate(2013, 1, 2)}});
        rows->setDisplayFormat(u"KWOTA"_s, u"#,##0.00"_s);
        r.setMaster(std::move(rows));
        report::Band& d = r.addBand(BandKind::Detail, 5);
        d.addField({0, 0, 30, 5}, u"KWOTA"_s).setAlign(Align::Right);              // the field's own format
        d.addField({40, 0, 30, 5}, u"KWOTA"_s).setMask(u"###0.00;###0.00;#"_s);   // the item's mask
        d.addField({80, 0, 30, 5}, u"DATA"_s);
        d.addText({120, 0, 20, 5}, u"TAK"_s).setFont({.pointSize = 9, .strikeOut = true});
        d.addText({140, 0, 20, 5}, u" / NIE*"_s).setFont({.family = u"Arial"_s, .pointSize = 6, .italic = true, .underline = true});
        report::ReportPrinter& p = r.prepare();
        p.generateAll();
        const report::Page& page = p.page(1);
        QCOMPARE(page.texts(),
                 (QStringList{u"1.234,50"_s, u"1234,50"_s, u"01-07-2012"_s, u"TAK"_s, u" / NIE*"_s,
                              u"12,00"_s, u"12,00"_s, u"TAK"_s, u" / NIE*"_s,
                              u"0,00"_s, u"02-01-2013"_s, u"TAK"_s, u" / NIE*"_s}));
        const report::PageItem* struck = page.findText(u"TAK"_s);
        QVERIFY(struck->font.strikeOut);
        QVERIFY(!struck->font.underline);
        QCOMPARE(struck->font.pointSize, 9.0);
        const report::PageItem* underlined = page.findText(u" / NIE*"_s);
        QVERIFY(underlined->font.underline);
        QVERIFY(underlined->font.italic);
        QVERIFY(!underlined->font.strikeOut);
        QCOMPARE(underlined->font.pointSize, 6.0);
        QCOMPARE(page.findText(u"1.234,50"_s)->align, Align::Right);
        // The report's margins (10 mm unless set) place the band.
        QCOMPARE(page.findText(u"1234,50"_s)->rect.topLeft(), QPointF(50, 10));
        QCOMPARE(page.findText(u"12,00"_s)->rect.top(), 15.0);
    }

    void wordWrapGrowsTheBand()
    {
        const QString longText = u"Wody opadowe lub roztopowe pochodzące z powierzchni zanieczyszczonych o trwałej nawierzchni"_s;
        report::Report r;
        r.setMargins({10, 10, 10, 10});
        report::Band& grows = r.addBand(BandKind::Title, 6).setStretch().setFrame(report::Frame::box());
        grows.addText({2, 1, 40, 4}, u"3.3"_s);
        grows.addText({50, 1, 40, 4}, longText).setWordWrap();
        grows.addVerticalRule(45, 0, 6);
        grows.addVerticalRule(95, 0, 3);
        grows.addHorizontalRule(0, 6, 100);
        grows.addText({100, 1, 40, 4}, longText).setWordWrap().setAlign(Align::Right).setName(u"right"_s);
        report::Band& fixed = grows.addChild(6);
        fixed.addText({50, 1, 40, 5}, longText).setWordWrap();
        fixed.addChild(5).addText({0, 0, 40, 5}, u"pod spodem"_s);

        report::ReportPrinter& p = r.prepare();
        p.generateAll();
        const report::Page& page = p.page(1);
        const report::Font font;
        const double lineHeight = report::TextMeasure::lineHeight(font);

        // The growing band: its wrapped lines, each within 40 mm, read the whole text.
        QStringList wrapped;
        double lastBottom = 0;
        for (const report::PageItem& i : page.items()) {
            if (i.kind != report::PageItem::Kind::Text || i.rect.left() != 60)
                continue;
            if (wrapped.join(u' ') == longText)
                break; // the child's lines start again
            wrapped << i.text;
            QVERIFY(report::TextMeasure::width(i.text, font) <= 40.01);
            QCOMPARE(i.rect.height(), lineHeight);
            lastBottom = i.rect.bottom();
        }
        QVERIFY(wrapped.size() >= 3);
        QCOMPARE(wrapped.join(u' '), longText);
        // The band keeps the 1 mm it had below the item.
        QVERIFY(qAbs(lastBottom - (10 + 1 + wrapped.size() * lineHeight)) < 0.001);
        const double grownHeight = 6 + wrapped.size() * lineHeight - 4;

        // Its frame, the rule that reaches its bottom and the rule along its bottom follow the
        // growth; the shorter rule keeps its length.
        bool bottomFrame = false, longRule = false, shortRule = false, bottomRule = false;
        for (const report::PageItem& i : page.items()) {
            if (i.kind != report::PageItem::Kind::Line)
                continue;
            const QLineF l = i.line();
            if (l.y1() == l.y2() && qAbs(l.y1() - (10 + grownHeight)) < 0.001 && l.x2() - l.x1() == 190)
                bottomFrame = true;
            if (l.x1() == 55 && qAbs(l.y2() - (10 + grownHeight)) < 0.001)
                longRule = true;
            if (l.x1() == 105 && l.y2() == 13)
                shortRule = true;
            if (l.x1() == 10 && l.x2() == 110 && qAbs(l.y1() - (10 + grownHeight)) < 0.001)
                bottomRule = true;
        }
        QVERIFY(bottomFrame);
        QVERIFY(longRule);
        QVERIFY(shortRule);
        QVERIFY(bottomRule);
        // Right-aligned wrapped lines carry no blank at the break.
        for (const report::PageItem& i : page.items())
            if (i.kind == report::PageItem::Kind::Text && i.rect.left() == 110)
                QVERIFY(!i.text.endsWith(u' '));

        // The child that does not stretch keeps the one line that fits its item; the next
        // child starts right below the child's own height.
        const QStringList texts = page.texts();
        const int childLine = texts.lastIndexOf(wrapped.first());
        QVERIFY(childLine > texts.indexOf(wrapped.first()));
        QCOMPARE(texts.at(childLine + 1), u"pod spodem"_s);
        QVERIFY(qAbs(page.findText(u"pod spodem"_s)->rect.top() - (10 + grownHeight + 6)) < 0.001);
    }

    // A detail read as it prints: the first page is made from the first rows, rows passed
    // are let go, and a second making reads them again from their start.
    void detailRowsReadAsPrinted()
    {
        Sample s({{u"osobowy"_s, {}}, {u"ciężarowy"_s, {}}});
        auto stream = std::make_unique<report::StreamRows>(QStringList{u"nazpal"_s, u"zuz"_s});
        report::StreamRows* detail = stream.get();
        int read = 0;
        s.engines->onMove = [&](int engine) {
            detail->restart([&read, engine, n = 0]() mutable -> std::optional<QVariantList> {
                if (n == 300)
                    return std::nullopt;
                ++read;
                return QVariantList{u"paliwo %1.%2"_s.arg(engine + 1).arg(++n), n / 1000.0};
            });
        };
        s.report.setDetail(std::move(stream));

        report::Paginator first(s.report);
        const std::optional<report::Page> page = first.next();
        QVERIFY(page && page->findText(u"paliwo 1.1"_s));
        const int readForFirstPage = read;
        QVERIFY2(read < 60, qPrintable(QString::number(read)));
        QVERIFY(!detail->hasRow(0)); // printed rows are let go

        report::ReportPrinter& p = s.report.prepare();
        p.generateAll();
        QCOMPARE(read, readForFirstPage + 600);
        const QStringList all = reporttest::allTexts(p);
        QCOMPARE(all.filter(u"paliwo "_s).size(), 600);
        QVERIFY(all.indexOf(u"paliwo 1.300"_s) < all.indexOf(u"ciężarowy"_s));
        QVERIFY(all.indexOf(u"ciężarowy"_s) < all.indexOf(u"paliwo 2.1"_s));
        QCOMPARE(all.at(all.indexOf(u"paliwo 2.300"_s) + 1), u"0,300"_s);

        report::ReportPrinter& again = s.report.prepare();
        again.generateAll();
        QCOMPARE(reporttest::allTexts(again), all);
        QCOMPARE(read, readForFirstPage + 1200);
    }

    void reportsWithoutRows()
    {
        // A master without rows: title, column header and summary, no detail band.
        Sample empty({});
        report::ReportPrinter& p = empty.report.prepare();
        p.generateAll();
        QCOMPARE(p.pageCount(), 1);
        QStringList texts = p.page(1).texts();
        QVERIFY(texts.contains(u"TABELA D"_s));
        QVERIFY(texts.contains(u"Lp."_s));
        QCOMPARE(texts.last(), u"                (data)                 "_s);
        QVERIFY(!texts.contains(u"1."_s));

        // No master at all: the same, once.
        report::Report bare;
        bare.addBand(BandKind::Title, 5).addText({0, 0, 50, 5}, u"Tytuł"_s);
        bare.addBand(BandKind::Detail, 5).addText({0, 0, 50, 5}, u"wiersz"_s);
        bare.addBand(BandKind::Summary, 5).addText({0, 0, 50, 5}, u"Podsumowanie"_s);
        report::ReportPrinter& q = bare.prepare();
        q.generateAll();
        QCOMPARE(q.pageCount(), 1);
        QCOMPARE(q.page(1).texts(), (QStringList{u"Tytuł"_s, u"Podsumowanie"_s}));
        QCOMPARE(q.page(1).findText(u"Podsumowanie"_s)->rect.top(), 15.0);
    }

    void hooksAndComputedTexts()
    {
        Sample s({{u"osobowy"_s, fuelRows({{u"benzyna"_s, 1.5}, {u"gaz LPG"_s, 2.0}})},
                  {u"ukryty"_s, fuelRows({{u"olej"_s, 4.0}})},
                  {u"ciężarowy"_s, fuelRows({{u"olej"_s, 0.25}})}});
        report::Report& r = s.report;
        int reportHooks = 0;
        double total = -1;
        r.beforePrint = [&] {
            ++reportHooks;
            total = 0;
        };
        // One engine type's detail band is left out; its fuel lines still print.
        r.band(BandKind::Detail)->beforePrint = [&s](report::Band&) {
            return s.engines->value(u"NAZWA"_s, s.engines->currentRow()) != u"ukryty"_s;
        };
        // The sub-detail hook reads the printed row as the detail's current one, sums it and
        // marks large amounts through an item found by name.
        report::Band& sub = *r.band(BandKind::SubDetail);
        sub.addText({0, 0.5, 10, 5}, {}).setName(u"mark"_s);
        sub.beforePrint = [&s, &total](report::Band& band) {
            const double tonnes = s.fuels->value(u"zuz"_s, s.fuels->currentRow()).toDouble();
            total += tonnes;
            band.item(u"mark"_s)->setText(tonnes > 1.9 ? u"*"_s : QString());
            return true;
        };
        // The last word on a printed text.
        sub.items().at(1)->onPrint = [](QString& text) {
            if (text == u"0,250"_s)
                text = u"mało"_s;
        };
        r.band(BandKind::Summary)->addComputed({100, 0, 30, 5}, [&total] { return report::formatValue(total, u"###0.000"_s); });

        report::ReportPrinter& p = r.prepare();
        p.generateAll();
        const QStringList texts = p.page(1).texts();
        const int first = texts.indexOf(u"1."_s);
        QCOMPARE(texts.mid(first),
                 (QStringList{u"1."_s, u"osobowy"_s, u"benzyna"_s, u"1,500"_s, u"gaz LPG"_s, u"2,000"_s, u"*"_s,
                              u"olej"_s, u"4,000"_s, u"*"_s,
                              u"3."_s, u"ciężarowy"_s, u"olej"_s, u"mało"_s,
                              u"                (data)                 "_s, u"7,750"_s}));
        QCOMPARE(reportHooks, 1);
        // Making the pages again starts the numbering and the hooks afresh.
        report::ReportPrinter& again = r.prepare();
        again.generateAll();
        QCOMPARE(again.page(1).texts(), texts);
        QCOMPARE(reportHooks, 2);
    }
};

TEST_MAIN(QGuiApplication, TestReportLayout)
#include "test_report_layout.moc"
