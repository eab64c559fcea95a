#include "tools/reports_pdf.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "report/page_painter.h"
#include "report/report.h"
#include "report/report_printer.h"

namespace tools {

namespace {

constexpr int pdfDotsPerInch = 600;

// No margins: page items are placed from the paper's corner.
QPageLayout layoutOf(const report::Report& r)
{
    return QPageLayout(QPageSize(QPageSize::A4), r.orientation(), QMarginsF());
}

} // namespace

int writeReportsPdf(const std::vector<report::Report*>& reports, const QString& fileName)
{
    if (reports.empty())
        return -1;
    QPdfWriter pdf(fileName);
    pdf.setResolution(pdfDotsPerInch);
    pdf.setTitle(reports.front()->title());
    pdf.setCreator(QCoreApplication::applicationName());
    pdf.setPageLayout(layoutOf(*reports.front()));
    QPainter painter;
    if (!painter.begin(&pdf))
        return -1;
    int written = 0;
    for (report::Report* r : reports) {
        report::ReportPrinter& printer = r->prepare();
        printer.generateAll();
        for (int n = 1; n <= printer.pageCount(); ++n) {
            if (written > 0) {
                pdf.setPageLayout(layoutOf(*r)); // applies to the page that newPage starts
                pdf.newPage();
            }
            report::paintPage(painter, printer.page(n), pdfDotsPerInch / 25.4);
            ++written;
        }
    }
    return painter.end() ? written : -1;
}

} // namespace tools
