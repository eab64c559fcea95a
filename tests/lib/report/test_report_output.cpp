// Making pages in turns of the event loop, drawing them, and writing them as PDF.
#include "sample_report.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include "report/page_painter.h"
#include "report/pdf.h"

namespace {

// A report of `rows` engine types, two fuel lines each.
std::unique_ptr<reporttest::Sample> longSample(int rows)
{
    QList<QPair<QString, QList<QVariantList>>> engines;
    for (int i = 1; i <= rows; ++i)
        engines.append({u"silnik %1"_s.arg(i), {{u"benzyna"_s, i}, {u"olej"_s, 0.5}}});
    return std::make_unique<reporttest::Sample>(engines);
}

bool darkPixelIn(const QImage& image, const QRect& area)
{
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

class TestReportOutput : public QObject {
    Q_OBJECT

private slots:
    void pagesComeOneTurnAtATime()
    {
        auto sample = longSample(60);
        report::ReportPrinter& p = sample->report.prepare();
        QCOMPARE(p.status(), report::ReportPrinter::Status::Ready);

        // A timer of the event loop counts its turns; each notice notes how many had passed.
        int turns = 0;
        QTimer ticker;
        ticker.setInterval(0);
        connect(&ticker, &QTimer::timeout, this, [&turns] { ++turns; });
        ticker.start();
        struct Notice {
            int count;
            int turns;
            report::ReportPrinter::Status status;
        };
        QList<Notice> notices;
        connect(&p, &report::ReportPrinter::pageAvailable, this,
                [&](int count) { notices << Notice{count, turns, p.status()}; });
        QList<int> percents;
        connect(&p, &report::ReportPrinter::progress, this, [&percents](int percent) { percents << percent; });
        QSignalSpy finished(&p, &report::ReportPrinter::finished);

        p.start();
        p.start(); // a second start changes nothing
        QCOMPARE(p.status(), report::ReportPrinter::Status::Ready);
        QVERIFY(notices.isEmpty());
        QVERIFY(finished.wait(20000));

        QCOMPARE(p.status(), report::ReportPrinter::Status::Finished);
        QVERIFY(p.pageCount() >= 4);
        // The start is announced while ready, then one more page per notice.
        QCOMPARE(notices.size(), p.pageCount() + 1);
        QCOMPARE(notices.first().count, 0);
        QCOMPARE(notices.first().status, report::ReportPrinter::Status::Ready);
        for (int i = 1; i < notices.size(); ++i) {
            QCOMPARE(notices[i].count, i);
            QVERIFY2(notices[i].turns > notices[i - 1].turns, "the event loop turned between two pages");
            QCOMPARE(notices[i].status, i == notices.size() - 1 ? report::ReportPrinter::Status::Finished
                                                                 : report::ReportPrinter::Status::Generating);
        }
        QCOMPARE(finished.count(), 1);
        QCOMPARE(percents.size(), notices.size());
        QCOMPARE(percents.first(), 0);
        QCOMPARE(percents.last(), 100);
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
        QVERIFY(percents.at(1) < 100);

        // The pages are those that making them at once gives.
        auto again = longSample(60);
        report::ReportPrinter& q = again->report.prepare();
        q.generateAll();
        QCOMPARE(reporttest::allTexts(q), reporttest::allTexts(p));

        // A preview that closes stops the making; printing or PDF completes it later.
        auto third = longSample(60);
        report::ReportPrinter& r = third->report.prepare();
        QSignalSpy pages(&r, &report::ReportPrinter::pageAvailable);
        QSignalSpy closed(&r, &report::ReportPrinter::previewClosed);
        r.start();
        QVERIFY(pages.wait());
        QVERIFY(pages.wait());
        r.previewClosing();
        QCOMPARE(closed.count(), 1);
        const int made = r.pageCount();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(r.pageCount(), made);
        QCOMPARE(r.status(), report::ReportPrinter::Status::Generating);
        r.generateAll();
        QCOMPARE(r.status(), report::ReportPrinter::Status::Finished);
        QCOMPARE(reporttest::allTexts(r), reporttest::allTexts(q));
    }

    void painterDrawsTheItems()
    {
        reporttest::Sample s({{u"osobowy"_s, {{u"benzyna"_s, 1.5}}}});
        report::ReportPrinter& p = s.report.prepare();
        p.generateAll();
        const report::Page& page = p.page(1);

        // Four pixels per millimetre on an image of its own resolution, with an offset.
        const double scale = 4;
        const QPoint origin(20, 30);
        QImage image(qCeil(210 * scale) + 40, qCeil(297 * scale) + 60, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(scale * 1000));
        image.setDotsPerMeterY(qRound(scale * 1000));
        image.fill(Qt::white);
        QPainter painter(&image);
        report::paintPage(painter, page, scale, origin);
        painter.end();

        const auto onImage = [&](const QRectF& mm) {
            return QRectF(origin + mm.topLeft() * scale, mm.size() * scale).toAlignedRect();
        };
        for (const QString& text : {u"TABELA D"_s, u"benzyna"_s, u"1,500"_s, u"Strona:"_s})
            QVERIFY2(darkPixelIn(image, onImage(p.page(1).findText(text)->rect)), qPrintable(text));
        // The right-aligned number ends at its item's right edge.
        const QRectF number = onImage(page.findText(u"1,500"_s)->rect);
        QVERIFY(darkPixelIn(image, QRect(number.right() - 8, number.top(), 8, number.height())));
        QVERIFY(!darkPixelIn(image, QRect(number.left(), number.top(), 10, number.height())));
        // The margins stay blank.
        QVERIFY(!darkPixelIn(image, onImage({0, 0, 210, 9.5})));
        QVERIFY(!darkPixelIn(image, onImage({0, 0, 9.5, 297})));
        QVERIFY(!darkPixelIn(image, onImage({195.5, 0, 14.5, 297})));
        QVERIFY(!darkPixelIn(image, onImage({0, 281.5, 210, 15.5})));
        // The box of the column header: its left edge is drawn.
        QVERIFY(darkPixelIn(image, onImage({9.8, 28, 0.4, 2})));
    }

    void pdfHasThePages()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        auto sample = longSample(40);
        report::Report& r = sample->report;
        r.band(BandKind::Title)->addText({0, 0, 185, 2}, u"Zażółć gęślą jaźń ŁÓDŹ"_s).setFont({.pointSize = 6});
        const QString file = dir.filePath(u"zestawienie.pdf"_s);
        QVERIFY(report::writePdf(r, file));
        QVERIFY(r.printer().status() == report::ReportPrinter::Status::Finished);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray content = f.readAll();
        QVERIFY(content.startsWith("%PDF"));
        QVERIFY(content.size() > 5000);
        // One PDF page per computed page.
        QCOMPARE(content.count("/Type /Page\n"), r.printer().pageCount());

        // A file that cannot be written is reported.
        QVERIFY(!report::writePdf(r, dir.filePath(u"brak/katalogu/plik.pdf"_s)));
    }
};

QTEST_MAIN(TestReportOutput)
#include "test_report_output.moc"
