#pragma once

#include <QObject>
#include <QSizeF>
#include <functional>
#include <memory>
#include <vector>

#include "report/page.h"
#include "report/page_store.h"

namespace report {

class Paginator;
class Report;

// The generated form of a report (its "printer object"): the pages made so far, kept in a
// page store outside memory, and the state of their making (printing and its settings:
// report/printing.h). Pages come one by one, each step in a turn of the event loop of its
// own, so that a window stays alive while a long report is made on the one thread; printing
// and PDF make whatever is left at once.
class ReportPrinter : public QObject {
    Q_OBJECT
public:
    enum class Status { Ready, Generating, Finished };
    Q_ENUM(Status)

    explicit ReportPrinter(Report& report, QObject* parent = nullptr);
    ~ReportPrinter() override;

    Report& report() const { return report_; }
    Status status() const { return status_; }
    int pageCount() const { return pages_ ? pages_->count() : 0; }
    // Page `number`, from 1 to pageCount().
    Page page(int number) const;
    QSizeF pageSize() const; // mm

    // Makes the pages in turns of the event loop. The first turn announces the start
    // (pageAvailable(0) while the status is still Ready); each further turn adds a page.
    // Calling it again, or while pages are being made, changes nothing.
    void start();
    // Makes every page still missing, now.
    void generateAll();
    // Hands the pages to `use` in order until it returns false (the outcome is then false).
    // Pages already being made (a preview's) are all made and handed from here; when none
    // were, they are made one at a time and not kept, so that writing or printing a long
    // report holds one page in memory, and this object stays as it was.
    bool eachPage(const std::function<bool(const Page&)>& use);

    // The preview showing these pages is closing: stop making pages in the background (the
    // pages made are kept; printing still completes them).
    void previewClosing();

signals:
    // After each step: the number of pages made so far (0 at the start).
    void pageAvailable(int count);
    void progress(int percent);
    void finished();
    void previewClosed();

private:
    void schedule();
    void step();
    void advance();

    Report& report_;
    Status status_ = Status::Ready;
    std::unique_ptr<Paginator> paginator_;
    std::unique_ptr<PageStore> pages_; // made with the first page
    bool background_ = false; // steps are being scheduled on the event loop
};

} // namespace report
