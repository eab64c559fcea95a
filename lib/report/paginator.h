#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "report/page.h"
#include "report/page_item.h"

namespace report {

class Band;
class BandItem;
class Report;
class RowSource;
struct Font;

// Walks a report's bands over its rows and cuts the result into pages, one page per call,
// so that its caller can give the event loop a turn between pages. A band that does not fit
// below what the page holds goes to a new page, which starts with the page header and the
// column header. The walk moves the master dataset row by row, reads the detail's rows
// after each move and moves the detail to each row it prints.
class Paginator {
public:
    explicit Paginator(Report& report);

    // The next finished page; nothing once the report is complete.
    std::optional<Page> next();
    bool atEnd() const { return step_ == Step::Done && finished_.empty(); }
    // How far the walk is, 0..100, by master rows printed.
    int percentDone() const;

private:
    enum class Step { Start, Rows, Summary, Close, Done };

    // A band laid out at the top-left corner of the printable area.
    struct Laid {
        double height = 0;
        std::vector<PageItem> items;
    };

    void advance();
    void advanceRows();
    void openPage();
    void closePage();
    // The band and its children; a band in the page's body (mayBreak) that does not fit
    // below what the page holds goes to a new page.
    void place(Band& band, const RowSource* rows, int row, bool mayBreak);
    Laid layOut(const Band& band, const RowSource* rows, int row) const;
    Font fontOf(const Band& band, const BandItem& item) const;
    int masterCount() const;
    // The master row that headers and the summary see: the one printed last, or the first.
    int currentMasterRow() const;

    Report& report_;
    Step step_ = Step::Start;
    int masterRow_ = 0;
    int detailRow_ = -1; // -1: the master row's detail band is still to print
    std::optional<Page> page_;
    double y_ = 0;
    bool bodyOnPage_ = false;
    int pagesMade_ = 0;
    std::deque<Page> finished_;
};

} // namespace report
