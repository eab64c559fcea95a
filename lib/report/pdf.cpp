#include "report/pdf.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "report/page_painter.h"
#include "report/report.h"
#include "report/report_printer.h"

namespace report {

namespace {

constexpr int pdfDotsPerInch = 600;

} // namespace

bool writePdf(ReportPrinter& printer, const QString& fileName)
{
    printer.generateAll();
    const Report& r = printer.report();
    QPdfWriter pdf(fileName);
    pdf.setResolution(pdfDotsPerInch);
    pdf.setTitle(r.title());
    pdf.setCreator(QCoreApplication::applicationName());
    // No margins: page items are placed from the paper's corner.
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), r.orientation(), QMarginsF()));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    for (int n = 1; n <= printer.pageCount(); ++n) {
        if (n > 1)
            pdf.newPage();
        paintPage(painter, printer.page(n), pdfDotsPerInch / 25.4);
    }
    return painter.end();
}

bool writePdf(Report& report, const QString& fileName)
{
    return writePdf(report.prepare(), fileName);
}

} // namespace report
