#include "report/printing.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <limits>

#include "report/page.h"
#include "report/page_painter.h"
#include "report/report.h"
#include "report/report_printer.h"

namespace report {

namespace {

// The print settings of a printer object, kept as its child so that they go with it.
class PrintSettings : public QObject {
public:
    explicit PrintSettings(ReportPrinter& owner) : QObject(&owner), printer(QPrinter::HighResolution)
    {
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), owner.report().orientation(), QMarginsF()));
        printer.setFullPage(true);
        printer.setDocName(owner.report().title());
    }
    QPrinter printer;
};

} // namespace

QPrinter& printSettings(ReportPrinter& pages)
{
    auto* settings = pages.findChild<PrintSettings*>(QString(), Qt::FindDirectChildrenOnly);
    if (!settings)
        settings = new PrintSettings(pages);
    return settings->printer;
}

bool print(ReportPrinter& pages, QPrinter& printer)
{
    // Page items are placed from the paper's corner, not from the printer's margins.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    int first = 1;
    int last = std::numeric_limits<int>::max();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::max(first, printer.toPage());
    }
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    const double pixelsPerMm = printer.resolution() / 25.4;
    bool firstSheet = true;
    for (int copy = 0; copy < copies; ++copy) {
        // Each copy walks the pages again: a long report is never held whole for printing.
        pages.eachPage([&](const Page& page) {
            if (page.number() < first)
                return true;
            if (page.number() > last)
                return false;
            if (!firstSheet)
                printer.newPage();
            firstSheet = false;
            paintPage(painter, page, pixelsPerMm);
            return true;
        });
    }
    return painter.end();
}

} // namespace report
