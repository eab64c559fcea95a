#include "report/paginator.h"

#include <algorithm>

#include "report/band.h"
#include "report/report.h"
#include "report/row_source.h"
#include "report/text_measure.h"

namespace report {

namespace {

// Tolerance of millimetre comparisons: a band that fits exactly must not break the page.
constexpr double epsilon = 0.001;

PageItem lineItem(double x1, double y1, double x2, double y2, double width)
{
    PageItem i;
    i.kind = PageItem::Kind::Line;
    i.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
    i.lineWidth = width;
    return i;
}

} // namespace

Paginator::Paginator(Report& report) : report_(report) {}

std::optional<Page> Paginator::next()
{
    while (finished_.empty() && step_ != Step::Done)
        advance();
    if (finished_.empty())
        return std::nullopt;
    Page p = std::move(finished_.front());
    finished_.pop_front();
    return p;
}

int Paginator::percentDone() const
{
    switch (step_) {
    case Step::Start:
        return 0;
    case Step::Rows: {
        const int count = masterCount();
        return count > 0 ? masterRow_ * 100 / count : 0;
    }
    default:
        return 100;
    }
}

int Paginator::masterCount() const
{
    return report_.master() ? report_.master()->rowCount() : 0;
}

int Paginator::currentMasterRow() const
{
    const int count = masterCount();
    return count > 0 ? std::clamp(masterRow_, 0, count - 1) : -1;
}

void Paginator::advance()
{
    switch (step_) {
    case Step::Start:
        report_.pageNumber_ = 0;
        report_.recordNumber_ = 0;
        if (report_.beforePrint)
            report_.beforePrint();
        if (masterCount() > 0)
            report_.master()->moveTo(0);
        openPage();
        if (Band* title = report_.band(BandKind::Title))
            place(*title, report_.master(), currentMasterRow(), true);
        if (Band* header = report_.band(BandKind::ColumnHeader))
            place(*header, report_.master(), currentMasterRow(), false);
        step_ = Step::Rows;
        break;
    case Step::Rows:
        advanceRows();
        break;
    case Step::Summary:
        if (Band* summary = report_.band(BandKind::Summary))
            place(*summary, report_.master(), currentMasterRow(), true);
        step_ = Step::Close;
        break;
    case Step::Close:
        closePage();
        step_ = Step::Done;
        break;
    case Step::Done:
        break;
    }
}

// One band chain per call: a master row's detail band, or one of its sub-detail bands.
void Paginator::advanceRows()
{
    if (masterRow_ >= masterCount()) {
        step_ = Step::Summary;
        return;
    }
    RowSource* master = report_.master();
    if (detailRow_ < 0) {
        master->moveTo(masterRow_);
        report_.recordNumber_ = masterRow_ + 1;
        if (Band* detailBand = report_.band(BandKind::Detail))
            place(*detailBand, master, masterRow_, true);
        detailRow_ = 0;
        return;
    }
    RowSource* detail = report_.detail();
    Band* subBand = report_.band(BandKind::SubDetail);
    if (subBand && detail && detail->hasRow(detailRow_)) {
        // Hooks read the printed row as the detail's current one.
        detail->moveTo(detailRow_);
        place(*subBand, detail, detailRow_, true);
        ++detailRow_;
        return;
    }
    ++masterRow_;
    detailRow_ = -1;
}

void Paginator::openPage()
{
    ++pagesMade_;
    report_.pageNumber_ = pagesMade_;
    page_.emplace(pagesMade_, report_.pageSize());
    y_ = report_.margins().top();
    bodyOnPage_ = false;
    if (Band* header = report_.band(BandKind::PageHeader))
        place(*header, report_.master(), currentMasterRow(), false);
    // The first page has its column header after the title.
    if (pagesMade_ > 1)
        if (Band* header = report_.band(BandKind::ColumnHeader))
            place(*header, report_.master(), currentMasterRow(), false);
}

void Paginator::closePage()
{
    finished_.push_back(std::move(*page_));
    page_.reset();
}

void Paginator::place(Band& band, const RowSource* rows, int row, bool mayBreak)
{
    if (band.beforePrint && !band.beforePrint(band))
        return;
    Laid laid = layOut(band, rows, row);
    const double bottom = report_.pageSize().height() - report_.margins().bottom();
    // A band taller than a whole page prints where it is rather than on endless new pages.
    if (mayBreak && bodyOnPage_ && y_ + laid.height > bottom + epsilon) {
        closePage();
        openPage();
        laid = layOut(band, rows, row); // its texts may show the new page's number
    }
    const QPointF offset(report_.margins().left(), y_);
    for (PageItem& item : laid.items) {
        item.rect.translate(offset);
        page_->add(std::move(item));
    }
    y_ += laid.height;
    if (mayBreak)
        bodyOnPage_ = true;
    for (const auto& child : band.children())
        place(*child, rows, row, mayBreak);
}

Font Paginator::fontOf(const Band& band, const BandItem& item) const
{
    if (item.font())
        return *item.font();
    return band.font() ? *band.font() : report_.font();
}

Paginator::Laid Paginator::layOut(const Band& band, const RowSource* rows, int row) const
{
    struct TextBlock {
        QStringList lines;
        Font font;
        double lineHeight = 0;
    };
    // Texts first: how far they grow decides the band's height.
    std::vector<TextBlock> blocks;
    double growth = 0;
    for (const auto& item : band.items()) {
        if (!item->isText())
            continue;
        TextBlock b;
        b.font = fontOf(band, *item);
        b.lineHeight = TextMeasure::lineHeight(b.font);
        const QString s = item->printedText(rows, row);
        if (!s.isEmpty())
            b.lines = TextMeasure::lines(s, b.font, item->wordWrap() ? item->rect().width() : 0);
        const double needed = b.lines.size() * b.lineHeight;
        if (band.stretches()) {
            growth = std::max(growth, needed - item->rect().height());
        } else if (b.lines.size() > 1) {
            const int fitting = std::max(1, static_cast<int>((item->rect().height() + epsilon) / b.lineHeight));
            b.lines = b.lines.mid(0, fitting);
        }
        blocks.push_back(std::move(b));
    }

    Laid laid;
    laid.height = band.height() + growth;
    const double width = report_.printableRect().width();
    const Frame& frame = band.frame();
    if (frame.top)
        laid.items.push_back(lineItem(0, 0, width, 0, frame.width));
    if (frame.left)
        laid.items.push_back(lineItem(0, 0, 0, laid.height, frame.width));
    if (frame.right)
        laid.items.push_back(lineItem(width, 0, width, laid.height, frame.width));
    if (frame.bottom)
        laid.items.push_back(lineItem(0, laid.height, width, laid.height, frame.width));

    auto block = blocks.begin();
    for (const auto& item : band.items()) {
        const QRectF r = item->rect();
        // What reaches the band's bottom follows it when it grows: a rule there moves down,
        // vertical rules and boxes get longer.
        const double grown = r.bottom() >= band.height() - epsilon ? growth : 0;
        switch (item->kind()) {
        case BandItem::Kind::HorizontalRule:
            laid.items.push_back(lineItem(r.left(), r.top() + grown, r.right(), r.top() + grown, item->lineWidth()));
            break;
        case BandItem::Kind::VerticalRule:
            laid.items.push_back(lineItem(r.left(), r.top(), r.left(), r.bottom() + grown, item->lineWidth()));
            break;
        case BandItem::Kind::Rectangle: {
            PageItem box;
            box.kind = PageItem::Kind::Rectangle;
            box.rect = r.adjusted(0, 0, 0, grown);
            box.lineWidth = item->lineWidth();
            laid.items.push_back(box);
            break;
        }
        default: {
            const TextBlock& b = *block++;
            for (int i = 0; i < b.lines.size(); ++i) {
                if (b.lines[i].isEmpty())
                    continue;
                PageItem t;
                t.kind = PageItem::Kind::Text;
                t.rect = QRectF(r.left(), r.top() + i * b.lineHeight, r.width(), b.lineHeight);
                t.text = b.lines[i];
                t.font = b.font;
                t.align = item->align();
                laid.items.push_back(std::move(t));
            }
            break;
        }
        }
    }
    return laid;
}

} // namespace report
