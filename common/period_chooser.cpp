#include "common/period_chooser.h"

#include <QDate>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScopeGuard>
#include <QTimer>

#include "common/letter_search.h"
#include "desktop/messages.h"
#include "desktop/named.h"

using desktop::named;

namespace common {

namespace {

// A move of the focus that leaves a control for good: not to a popup, a message box or
// another program.
bool leftForGood(const QEvent* event)
{
    if (event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

constexpr int partWidth = 48;

struct PartList {
    QString label;     // with its accelerator
    QStringList items; // one per part of the year
};

PartList partList(data::YearParts parts)
{
    if (parts == data::YearParts::HalfYears)
        return {QStringLiteral("Półro&cze"), {QStringLiteral("    I"), QStringLiteral("    II")}};
    return {QStringLiteral("&Kwartał"),
            {QStringLiteral("  I"), QStringLiteral("  II"), QStringLiteral("  III"), QStringLiteral("  IV  ")}};
}

} // namespace

PeriodChooser::PeriodChooser(QWidget* parent, data::YearParts yearParts, bool withTaxpayers)
    : QWidget(parent), parts_(yearParts)
{
    const PartList parts = partList(yearParts);
    setObjectName(QStringLiteral("periodChooser"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    int column = 0;

    if (withTaxpayers) {
        lb_pod = named(new QListWidget(this), "lb_pod");
        lb_pod->setFocusPolicy(Qt::ClickFocus);
        setTaxpayerRows(4);
        e_pod = named(new QLabel(QStringLiteral("&Podatnik"), this), "e_pod");
        e_pod->setBuddy(lb_pod);
        grid->addWidget(e_pod, 0, column);
        grid->addWidget(lb_pod, 1, column++, Qt::AlignTop);
        lb_pod->installEventFilter(this);
        lb_pod->viewport()->installEventFilter(this);
        connect(lb_pod, &QListWidget::currentRowChanged, this, [this] {
            if (!quiet_)
                listChosen();
        });
    }

    // The parts of the year side by side, each marked over its whole cell when chosen.
    lb_kwart = named(new QListWidget(this), "lb_kwart");
    lb_kwart->setFocusPolicy(Qt::ClickFocus);
    lb_kwart->setFlow(QListView::LeftToRight);
    lb_kwart->setWrapping(false);
    lb_kwart->addItems(parts.items);
    const QSize cell(partWidth, lb_kwart->fontMetrics().height() + 4);
    lb_kwart->setGridSize(cell);
    for (int i = 0; i < lb_kwart->count(); ++i)
        lb_kwart->item(i)->setSizeHint(cell);
    lb_kwart->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lb_kwart->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lb_kwart->setFixedSize(static_cast<int>(parts.items.size()) * partWidth + 2 * lb_kwart->frameWidth() + 4,
                           cell.height() + 4 + 2 * lb_kwart->frameWidth());
    e_kwart = named(new QLabel(parts.label, this), "e_kwart");
    e_kwart->setBuddy(lb_kwart);
    grid->addWidget(e_kwart, 0, column);
    grid->addWidget(lb_kwart, 1, column++, Qt::AlignTop);
    lb_kwart->installEventFilter(this);
    lb_kwart->viewport()->installEventFilter(this);
    connect(lb_kwart, &QListWidget::currentRowChanged, this, [this] {
        if (!quiet_)
            listChosen();
    });

    m_rok = named(new QLineEdit(this), "m_rok");
    m_rok->setInputMask(QStringLiteral("9999;_")); // exactly four digits
    m_rok->setFocusPolicy(Qt::ClickFocus);
    m_rok->setFixedWidth(m_rok->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    e_rok = named(new QLabel(QStringLiteral("R&ok"), this), "e_rok");
    e_rok->setBuddy(m_rok);
    grid->addWidget(e_rok, 0, column);
    grid->addWidget(m_rok, 1, column, Qt::AlignTop);
    grid->setColumnStretch(column + 1, 1); // the controls keep to the left
    m_rok->installEventFilter(this);
}

void PeriodChooser::setTaxpayerRows(int rows)
{
    if (lb_pod)
        lb_pod->setFixedSize(160, rows * (lb_pod->fontMetrics().height() + 2) + 2 * lb_pod->frameWidth() + 2);
}

void PeriodChooser::setTaxpayers(const QStringList& names)
{
    if (!lb_pod)
        return;
    quiet_ = true;
    lb_pod->clear();
    lb_pod->addItems(names);
    if (lb_pod->count() > 0)
        lb_pod->setCurrentRow(0);
    quiet_ = false;
    applied_ = shown();
}

void PeriodChooser::present(const QString& taxpayer, int year, int part)
{
    if (lb_pod && !taxpayer.isEmpty())
        for (int i = 0; i < lb_pod->count(); ++i)
            if (lb_pod->item(i)->text() == taxpayer)
                selectQuietly(lb_pod, i);
    showYear(year);
    if (data::usesHalfYears(year))
        selectQuietly(lb_kwart, part);
    yearOnEntry_ = m_rok->text();
    applied_ = shown();
}

void PeriodChooser::setLeaveCheck(std::function<bool()> mayLeave)
{
    mayLeave_ = std::move(mayLeave);
}

data::PeriodChoice PeriodChooser::shown() const
{
    return data::periodChoice(parts_, taxpayerItem(), m_rok->text().trimmed().toInt(), std::max(0, lb_kwart->currentRow()));
}

QString PeriodChooser::taxpayerItem() const
{
    return lb_pod && lb_pod->currentItem() ? lb_pod->currentItem()->text() : QString();
}

QString PeriodChooser::yearText() const
{
    return m_rok->text();
}

QString PeriodChooser::partItem() const
{
    return lb_kwart->currentItem() ? lb_kwart->currentItem()->text() : QString();
}

bool PeriodChooser::yearComplete() const
{
    return m_rok->hasAcceptableInput();
}

void PeriodChooser::focusParts()
{
    lb_kwart->setFocus(Qt::OtherFocusReason);
}

// The year's text, and its parts shown only when the year has them.
void PeriodChooser::showYear(int year)
{
    m_rok->setText(QString::number(year));
    lb_kwart->setVisible(data::usesHalfYears(year));
    e_kwart->setVisible(data::usesHalfYears(year));
}

void PeriodChooser::selectQuietly(QListWidget* list, int row)
{
    quiet_ = true;
    list->setCurrentRow(row);
    quiet_ = false;
}

void PeriodChooser::searchTaxpayer(const QString& typed)
{
    const std::optional<QChar> letter = searchLetter(typed);
    if (!letter)
        return;
    QStringList items;
    for (int i = 0; i < lb_pod->count(); ++i)
        items << lb_pod->item(i)->text();
    const int row = firstItemStartingWith(items, *letter);
    // The choice takes effect when the list is clicked or left.
    if (row >= 0)
        selectQuietly(lb_pod, row);
}

// A list clicked or left. A year typed but not applied yet (its field not left) is applied
// first; an incomplete one has been refused by leaving its field, the lists go back.
void PeriodChooser::listChosen()
{
    if (m_rok->text().trimmed().toInt() == applied_.year) {
        offer();
    } else if (yearComplete()) {
        leaveYear();
    } else {
        const data::PeriodChoice kept = applied_;
        present(kept.taxpayer, kept.year, kept.part);
    }
}

void PeriodChooser::leaveYear()
{
    if (yearComplete() && m_rok->text().toInt() == applied_.year)
        return;
    if (!m_rok->hasAcceptableInput() || !QDate(m_rok->text().toInt(), 1, 1).isValid()) {
        desktop::showWarning(QStringLiteral("Rok musi się składać z czterech cyfr. Klawisz Esc przywraca poprzedni rok."),
                             {}, this);
        m_rok->setFocus(Qt::OtherFocusReason);
        return;
    }
    yearOnEntry_ = m_rok->text();
    const int year = m_rok->text().toInt();
    showYear(year);
    if (data::usesHalfYears(year))
        selectQuietly(lb_kwart, 0);
    offer();
}

void PeriodChooser::offer()
{
    // A question of the screen while it takes a choice leaves the lists without a new one.
    if (offering_)
        return;
    ++offers_;
    offering_ = true;
    const auto done = qScopeGuard([this] { offering_ = false; });
    const data::PeriodChoice next = shown();
    const bool changed = !(next == applied_);
    if (changed && mayLeave_ && !mayLeave_()) {
        const data::PeriodChoice kept = applied_;
        present(kept.taxpayer, kept.year, kept.part);
        // A click marks its item after the row change that asked: marked once more when the
        // click is over.
        QTimer::singleShot(0, this, [this, kept] {
            if (applied_ == kept)
                present(kept.taxpayer, kept.year, kept.part);
        });
        return;
    }
    applied_ = next;
    emit chosen(changed);
}

bool PeriodChooser::eventFilter(QObject* watched, QEvent* event)
{
    if ((lb_pod && watched == lb_pod->viewport()) || watched == lb_kwart->viewport()) {
        // A click that moved to another item offered it as the button went down; a click on
        // the item already chosen offers it again when the button comes up (the settlement
        // shows what other desks keyed since).
        if (event->type() == QEvent::MouseButtonPress)
            offersAtPress_ = offers_;
        else if (event->type() == QEvent::MouseButtonRelease && offers_ == offersAtPress_)
            listChosen();
    } else if (watched == m_rok) {
        // A refused year brings the focus back: the year to return to stays the last good one.
        if (event->type() == QEvent::FocusIn && m_rok->hasAcceptableInput())
            yearOnEntry_ = m_rok->text();
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            m_rok->setText(yearOnEntry_);
            return true;
        }
        if (leftForGood(event) && window()->isVisible())
            leaveYear();
    } else if (watched == lb_pod || watched == lb_kwart) {
        if (watched == lb_pod && event->type() == QEvent::KeyPress) {
            const QString typed = static_cast<QKeyEvent*>(event)->text();
            if (typed.size() == 1 && typed.front().isPrint()) {
                // Printable keys search by the first letter only; the list's own search by a
                // typed prefix stays off, so that a digit changes nothing.
                searchTaxpayer(typed);
                return true;
            }
        }
        if (leftForGood(event) && window()->isVisible())
            listChosen();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace common
