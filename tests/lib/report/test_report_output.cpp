// Making pages in turns of the event loop, drawing them, and writing them as PDF.
#include "sample_report.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <optional>
#include <sys/resource.h>

#include "report/page_painter.h"
#include "report/pdf.h"
#include <QGuiApplication>
#include "test_main.h"

namespace {

// A report of `rows` engine types, two fuel lines each.
std::unique_ptr<reporttest::Sample> longSample(int rows)
{
    QList<QPair<QString, QList<QVariantList>>> engines;
    for (int i = 1; i <= rows; ++i)
        engines.append({u"silnik %1"_s.arg(i), {{u"benzyna"_s, i}, {u"olej"_s, 0.5}}});
    return std::make_unique<reporttest::Sample>(engines);
}

// The files in a folder, by name.
QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// Files may grow to at most `bytes` while it lives; a write beyond fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

// Everything a page shows, item by item, as text.
QStringList describe(const report::Page& page)
{
    QStringList items{u"%1 %2x%3"_s.arg(page.number()).arg(page.size().width()).arg(page.size().height())};
    for (const report::PageItem& i : page.items())
        items << u"%1 %2 %3,%4,%5,%6 %7 %8 %9 %10"_s.arg(int(i.kind)).arg(int(i.align)).arg(i.rect.x()).arg(i.rect.y())
                     .arg(i.rect.width()).arg(i.rect.height()).arg(i.lineWidth).arg(i.text, i.font.family)
                     .arg(i.font.pointSize + (i.font.bold ? 1000 : 0));
    return items;
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
        const auto painted = [&] {
            QImage image(qCeil(210 * scale) + 40, qCeil(297 * scale) + 60, QImage::Format_RGB32);
            image.setDotsPerMeterX(qRound(scale * 1000));
            image.setDotsPerMeterY(qRound(scale * 1000));
            image.fill(Qt::white);
            QPainter painter(&image);
            report::paintPage(painter, page, scale, origin);
            return image;
        };
        const QImage image = painted();
        // Texts drawn again come from the glyphs kept from before: the same pixels.
        QCOMPARE(painted(), image);
        QCOMPARE(painted(), image);

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

    // A preview's pages live in a temporary file; without one, or when the disk is full, in
    // memory. Whichever way, they come back as they were made, in any order.
    void keptPagesComeBackWhole_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("temporary file") << u"file"_s;
        QTest::newRow("no temporary folder") << u"no folder"_s;
        QTest::newRow("full disk") << u"full disk"_s;
    }

    void keptPagesComeBackWhole()
    {
        QFETCH(QString, where);
        auto made = longSample(60);
        made->report.band(BandKind::Title)->addText({0, 0, 185, 4}, u"Zażółć gęślą jaźń"_s).setFont({.pointSize = 12, .bold = true});
        QList<QStringList> expected;
        made->report.prepare().eachPage([&](const report::Page& page) {
            expected << describe(page);
            return true;
        });
        QVERIFY(expected.size() > 2);

        report::ReportPrinter& kept = made->report.prepare();
        {
            const QByteArray savedTemp = qgetenv("TMPDIR");
            if (where == u"no folder"_s)
                qputenv("TMPDIR", "/nonexistent/brenvald");
            std::optional<FileSizeLimit> limit;
            if (where == u"full disk"_s)
                limit.emplace(2000);
            kept.generateAll();
            qputenv("TMPDIR", savedTemp);
        }
        QCOMPARE(kept.pageCount(), expected.size());
        for (int n = kept.pageCount(); n >= 1; --n)
            QCOMPARE(describe(kept.page(n)), expected[n - 1]);
        QCOMPARE(describe(kept.page(1)), expected[0]);
    }

    void pdfHasThePages()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        auto sample = longSample(40);
        report::Report& r = sample->report;
        r.band(BandKind::Title)->addText({0, 0, 185, 2}, u"Zażółć gęślą jaźń ŁÓDŹ"_s).setFont({.pointSize = 6});
        const QString file = dir.filePath(u"zestawienie.pdf"_s);
        const report::PdfOutcome written = report::writePdf(r, file);
        QVERIFY2(written, qPrintable(written.error));
        // Pages no preview asked for are drawn as they are made and not kept.
        QVERIFY(r.printer().status() == report::ReportPrinter::Status::Ready);
        QCOMPARE(r.printer().pageCount(), 0);
        r.printer().generateAll();
        QCOMPARE(written.pages, r.printer().pageCount());
        // Only the file: no temporary file is left beside it.
        QCOMPARE(filesIn(dir.path()), QStringList{u"zestawienie.pdf"_s});
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray content = f.readAll();
        QVERIFY(content.startsWith("%PDF"));
        QVERIFY(content.trimmed().endsWith("%%EOF"));
        QVERIFY(content.size() > 5000);
        // One PDF page per computed page.
        QCOMPARE(content.count("/Type /Page\n"), r.printer().pageCount());
    }

    // Several reports in one file, one after the other, each page in its report's orientation.
    void pdfOfSeveralReports()
    {
        QTemporaryDir dir;
        auto portrait = longSample(40);
        auto landscape = longSample(3);
        landscape->report.setOrientation(QPageLayout::Landscape);
        std::vector<report::ReportPrinter*> printers{&portrait->report.prepare(), &landscape->report.prepare()};
        // The landscape report's pages were made by its preview: they are written from there.
        printers[1]->generateAll();
        const report::PdfOutcome written = report::writePdf(printers, dir.filePath(u"razem.pdf"_s));
        QVERIFY2(written, qPrintable(written.error));
        QCOMPARE(printers[0]->pageCount(), 0);
        printers[0]->generateAll();
        const int portraitPages = printers[0]->pageCount();
        QVERIFY(portraitPages > 1);
        QCOMPARE(written.pages, portraitPages + printers[1]->pageCount());
        QFile f(dir.filePath(u"razem.pdf"_s));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray content = f.readAll();
        QCOMPARE(content.count("/MediaBox [0 0 595.000000 842.000000]"), portraitPages);
        QCOMPARE(content.count("/MediaBox [0 0 842.000000 595.000000]"), written.pages - portraitPages);
    }

    // A file that cannot be written is reported with its name and the reason, and nothing
    // of it is left; a file of that name stays as it was.
    void pdfThatCannotBeWritten_data()
    {
        QTest::addColumn<QString>("name");   // relative to a fresh folder, or absolute
        QTest::addColumn<qint64>("limit");   // the size files may grow to; 0: no limit
        QTest::newRow("full device") << u"/dev/full"_s << qint64(0);
        QTest::newRow("no such folder") << u"brak/katalogu/plik.pdf"_s << qint64(0);
        QTest::newRow("a folder") << u"katalog"_s << qint64(0);
        QTest::newRow("disk full midway") << u"zestawienie.pdf"_s << qint64(4000);
        QTest::newRow("existing file, disk full") << u"stary.pdf"_s << qint64(4000);
    }

    void pdfThatCannotBeWritten()
    {
        QFETCH(QString, name);
        QFETCH(qint64, limit);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"katalog"_s));
        const QString file = QDir(dir.path()).filePath(name);
        const QByteArray old("stara zawartość");
        if (name == u"stary.pdf"_s) {
            QFile existing(file);
            QVERIFY(existing.open(QIODevice::WriteOnly));
            existing.write(old);
        }
        const QStringList before = filesIn(dir.path());
        auto sample = longSample(40);

        report::PdfOutcome written;
        {
            std::optional<FileSizeLimit> full;
            if (limit > 0)
                full.emplace(rlim_t(limit));
            written = report::writePdf(sample->report, file);
        }
        QVERIFY(!written);
        QVERIFY(!written.stopped);
        QVERIFY2(written.error.startsWith(u"Nie można zapisać pliku %1."_s.arg(file)), qPrintable(written.error));
        QVERIFY2(written.error.contains(u'\n'), "the reason follows");
        QCOMPARE(filesIn(dir.path()), before);
        if (name == u"stary.pdf"_s) {
            QFile existing(file);
            QVERIFY(existing.open(QIODevice::ReadOnly));
            QCOMPARE(existing.readAll(), old);
        }
        // A device is written to, never replaced.
        QVERIFY(!QFileInfo(u"/dev/full"_s).isFile());
    }

    // Asked to stop, the writer leaves no file and reports that it stopped.
    void pdfStopsWhenAsked()
    {
        QTemporaryDir dir;
        auto sample = longSample(40);
        int asked = 0;
        const report::PdfOutcome written = report::writePdf(
            {&sample->report.prepare()}, dir.filePath(u"zestawienie.pdf"_s), [&asked] { return ++asked > 3; });
        QVERIFY(!written);
        QVERIFY(written.stopped);
        QVERIFY2(written.error.startsWith(u"Przerwano"_s), qPrintable(written.error));
        QCOMPARE(filesIn(dir.path()), QStringList());
    }
};

TEST_MAIN(QGuiApplication, TestReportOutput)
#include "test_report_output.moc"
