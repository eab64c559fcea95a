#include "report/report_printer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTimer>
#include <algorithm>

#include "report/page_painter.h"
#include "report/paginator.h"
#include "report/report.h"

namespace report {

ReportPrinter::ReportPrinter(Report& report, QObject* parent) : QObject(parent), report_(report) {}

ReportPrinter::~ReportPrinter() = default;

QSizeF ReportPrinter::pageSize() const
{
    return report_.pageSize();
}

void ReportPrinter::start()
{
    if (background_ || status_ == Status::Finished)
        return;
    background_ = true;
    schedule();
}

void ReportPrinter::schedule()
{
    QTimer::singleShot(0, this, &ReportPrinter::step);
}

void ReportPrinter::step()
{
    if (!background_)
        return;
    advance();
    if (status_ == Status::Finished)
        background_ = false;
    else
        schedule();
}

void ReportPrinter::generateAll()
{
    while (status_ != Status::Finished)
        advance();
    background_ = false;
}

void ReportPrinter::advance()
{
    switch (status_) {
    case Status::Ready:
        paginator_ = std::make_unique<Paginator>(report_);
        emit progress(0);
        emit pageAvailable(0);
        status_ = Status::Generating;
        return;
    case Status::Generating:
        if (std::optional<Page> page = paginator_->next())
            pages_.push_back(std::move(*page));
        if (paginator_->atEnd())
            status_ = Status::Finished;
        emit progress(paginator_->percentDone());
        emit pageAvailable(pageCount());
        if (status_ == Status::Finished)
            emit finished();
        return;
    case Status::Finished:
        return;
    }
}

QPrinter& ReportPrinter::printSettings()
{
    if (!printSettings_) {
        printSettings_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printSettings_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), report_.orientation(), QMarginsF()));
        printSettings_->setFullPage(true);
        printSettings_->setDocName(report_.title());
    }
    return *printSettings_;
}

bool ReportPrinter::print(QPrinter& printer)
{
    generateAll();
    // Page items are placed from the paper's corner, not from the printer's margins.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    int first = 1;
    int last = pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::min(last, std::max(first, printer.toPage()));
    }
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    const double pixelsPerMm = printer.resolution() / 25.4;
    bool firstSheet = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int n = first; n <= last; ++n) {
            if (!firstSheet)
                printer.newPage();
            firstSheet = false;
            paintPage(painter, page(n), pixelsPerMm);
        }
    }
    return painter.end();
}

void ReportPrinter::previewClosing()
{
    background_ = false;
    emit previewClosed();
}

} // namespace report
