#include "common/period_chooser.h"

#include <QDate>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "common/letter_search.h"
#include "desktop/messages.h"

namespace common {

namespace {

template <class W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

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

} // namespace

PeriodChooser::Parts PeriodChooser::halfYears()
{
    return {QStringLiteral("Półro&cze"), {QStringLiteral("    I"), QStringLiteral("    II")}};
}

PeriodChooser::Parts PeriodChooser::quarters()
{
    return {QStringLiteral("&Kwartał"),
            {QStringLiteral("  I"), QStringLiteral("  II"), QStringLiteral("  III"), QStringLiteral("  IV  ")}};
}

PeriodChooser::PeriodChooser(QWidget* parent, const Parts& parts, bool withTaxpayers) : QWidget(parent)
{
    setObjectName(QStringLiteral("periodChooser"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    int column = 0;

    if (withTaxpayers) {
        lb_pod = named(new QListWidget(this), "lb_pod");
        lb_pod->setFocusPolicy(Qt::ClickFocus);
        lb_pod->setFixedSize(160, 4 * (lb_pod->fontMetrics().height() + 2) + 2 * lb_pod->frameWidth() + 2);
        e_pod = named(new QLabel(QStringLiteral("&Podatnik"), this), "e_pod");
        e_pod->setBuddy(lb_pod);
        grid->addWidget(e_pod, 0, column);
        grid->addWidget(lb_pod, 1, column++, Qt::AlignTop);
        lb_pod->installEventFilter(this);
        connect(lb_pod, &QListWidget::currentRowChanged, this, [this] {
            if (!quiet_)
                emit listChosen();
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
    connect(lb_kwart, &QListWidget::currentRowChanged, this, [this] {
        if (!quiet_)
            emit listChosen();
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
}

QString PeriodChooser::taxpayer() const
{
    return lb_pod && lb_pod->currentItem() ? lb_pod->currentItem()->text() : QString();
}

void PeriodChooser::selectTaxpayer(const QString& name)
{
    if (!lb_pod)
        return;
    for (int i = 0; i < lb_pod->count(); ++i)
        if (lb_pod->item(i)->text() == name)
            selectQuietly(lb_pod, i);
}

int PeriodChooser::year() const
{
    return m_rok->text().trimmed().toInt();
}

void PeriodChooser::setYear(int year)
{
    m_rok->setText(QString::number(year));
}

int PeriodChooser::part() const
{
    return std::max(0, lb_kwart->currentRow());
}

void PeriodChooser::selectPart(int index)
{
    selectQuietly(lb_kwart, index);
}

void PeriodChooser::showParts(bool shown)
{
    lb_kwart->setVisible(shown);
    e_kwart->setVisible(shown);
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

void PeriodChooser::leaveYear()
{
    if (m_rok->text() == yearOnEntry_)
        return;
    if (!m_rok->hasAcceptableInput() || !QDate(year(), 1, 1).isValid()) {
        desktop::showWarning(QStringLiteral("Rok musi się składać z czterech cyfr. Klawisz Esc przywraca poprzedni rok."),
                             {}, this);
        m_rok->setFocus(Qt::OtherFocusReason);
        return;
    }
    yearOnEntry_ = m_rok->text();
    emit yearLeft();
}

bool PeriodChooser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_rok) {
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
            emit listChosen();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace common
