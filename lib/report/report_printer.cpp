#include "report/report_printer.h"

#include <QTimer>
#include <algorithm>

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

bool ReportPrinter::eachPage(const std::function<bool(const Page&)>& use)
{
    if (status_ == Status::Ready) {
        Paginator paginator(report_);
        while (std::optional<Page> page = paginator.next())
            if (!use(*page))
                return false;
        return true;
    }
    generateAll();
    for (const Page& page : pages_)
        if (!use(page))
            return false;
    return true;
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

void ReportPrinter::previewClosing()
{
    background_ = false;
    emit previewClosed();
}

} // namespace report
