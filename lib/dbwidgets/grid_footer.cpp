#include "dbwidgets/grid_footer.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "dataset/field.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/grid_model.h"

namespace dbw {

GridFooter::GridFooter(DBGrid* grid) : QWidget(grid), grid_(grid)
{
    setObjectName(QStringLiteral("footer"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

int GridFooter::lineHeight() const
{
    QFont bold = font();
    bold.setBold(true);
    return QFontMetrics(bold).height() + 4;
}

QFont GridFooter::cellFont(bool bold) const
{
    QFont f = font();
    f.setBold(bold);
    return f;
}

// Room on each side of a figure.
constexpr int cellMargin = 3;

const FooterCell& GridFooter::cellOf(const QString& field)
{
    auto found = cells_.find(field);
    if (found == cells_.end())
        found = cells_.insert(field, grid_->footerCell(field));
    return *found;
}

void GridFooter::fitColumns()
{
    cells_.clear();
    QHeaderView* header = grid_->horizontalHeader();
    for (int column = 0; column < grid_->gridModel()->columnCount(); ++column) {
        const ds::Field* f = grid_->gridModel()->fieldAt(column);
        if (!f || header->isSectionHidden(column))
            continue;
        const FooterCell& cell = cellOf(f->name());
        const QFontMetrics metrics(cellFont(cell.bold));
        int needed = 0;
        for (const QString& line : cell.lines)
            needed = std::max(needed, metrics.horizontalAdvance(line) + 2 * cellMargin + 2);
        if (needed > header->sectionSize(column))
            header->resizeSection(column, needed);
    }
}

void GridFooter::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, 0, width(), 0);
    const QHeaderView* header = grid_->horizontalHeader();
    const int offset = grid_->viewport()->x();
    for (int column = 0; column < grid_->gridModel()->columnCount(); ++column) {
        const ds::Field* f = grid_->gridModel()->fieldAt(column);
        if (!f || header->isSectionHidden(column))
            continue;
        const FooterCell& cell = cellOf(f->name());
        if (cell.lines.isEmpty())
            continue;
        p.setFont(cellFont(cell.bold));
        p.setPen(palette().color(QPalette::WindowText));
        const int x = offset + header->sectionViewportPosition(column);
        const int w = header->sectionSize(column);
        const Qt::Alignment align = (f->isNumeric() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        for (int line = 0; line < cell.lines.size(); ++line)
            p.drawText(QRect(x + cellMargin, 2 + line * lineHeight(), w - 2 * cellMargin, lineHeight()), align, cell.lines[line]);
    }
}

bool GridFooter::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QHeaderView* header = grid_->horizontalHeader();
        const int column = header->logicalIndexAt(help->pos().x() - grid_->viewport()->x());
        const ds::Field* f = grid_->gridModel()->fieldAt(column);
        // "total|selection": each line of the footer has its part of the hint.
        const QStringList parts = f ? cellOf(f->name()).hint.split(QLatin1Char('|')) : QStringList();
        const int line = std::max(0, (help->pos().y() - 2) / lineHeight());
        const QString hint = parts.isEmpty() ? QString() : parts.value(std::min(line, static_cast<int>(parts.size()) - 1));
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, this);
        return true;
    }
    return QWidget::event(event);
}

} // namespace dbw
