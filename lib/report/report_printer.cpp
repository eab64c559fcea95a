#include "report/report_printer.h"

#include <QTimer>
#include <algorithm>
#include <stdexcept>

#include "report/paginator.h"
#include "report/report.h"

namespace report {

ReportPrinter::ReportPrinter(Report& report, QObject* parent) : QObject(parent), report_(report) {}

ReportPrinter::~ReportPrinter() = default;

Page ReportPrinter::page(int number) const
{
    if (number < 1 || number > pageCount())
        throw std::out_of_range("no such page");
    return pages_->at(number - 1);
}

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
    for (int n = 1; n <= pageCount(); ++n)
        if (!use(page(n)))
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
        if (std::optional<Page> page = paginator_->next()) {
            if (!pages_)
                pages_ = std::make_unique<PageStore>();
            pages_->add(*page);
        }
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
