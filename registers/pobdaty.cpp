#include "registers/pobdaty.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextCharFormat>
#include <QVBoxLayout>

Tf_pobdaty* f_pobdaty = nullptr;

Tf_pobdaty::Tf_pobdaty(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("f_pobdaty"));
    setWindowTitle(QStringLiteral("Data"));

    kalend = new QCalendarWidget(this);
    kalend->setObjectName(QStringLiteral("kalend"));
    kalend->setLocale(QLocale(QLocale::Polish, QLocale::Poland));
    kalend->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    kalend->setGridVisible(true);

    kl_ok = new QPushButton(QStringLiteral("O&K"), this);
    kl_ok->setObjectName(QStringLiteral("kl_ok"));
    kl_ok->setDefault(true);
    kl_anuluj = new QPushButton(QStringLiteral("&Anuluj"), this);
    kl_anuluj->setObjectName(QStringLiteral("kl_anuluj"));
    connect(kl_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(kl_anuluj, &QPushButton::clicked, this, &QDialog::reject);
    // Enter on a day (and a double click) is taken by the calendar itself; it means OK here.
    connect(kalend, &QCalendarWidget::activated, kl_ok, &QPushButton::click);
    connect(kalend, &QCalendarWidget::currentPageChanged, this, &Tf_pobdaty::markDaysBeforeEarliest);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(kl_ok);
    buttons->addStretch();
    buttons->addWidget(kl_anuluj);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(kalend, 1);
    layout->addLayout(buttons);

    // 295 by 316 pixels at 120 dots per inch, never smaller than the calendar needs.
    const double scale = logicalDpiX() / 120.0;
    resize(QSize(qRound(295 * scale), qRound(316 * scale)).expandedTo(minimumSizeHint()));
    kalend->setFocus();
}

void Tf_pobdaty::setDate(const QDate& date)
{
    kalend->setSelectedDate(date);
}

void Tf_pobdaty::setEarliestDate(const QDate& date)
{
    kalend->setMinimumDate(date);
    markDaysBeforeEarliest();
}

// The calendar refuses days before the earliest one but draws them like the others; they
// are greyed so that the user sees which days cannot be picked.
void Tf_pobdaty::markDaysBeforeEarliest()
{
    const QDate first(kalend->yearShown(), kalend->monthShown(), 1);
    QTextCharFormat greyed;
    greyed.setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    // The page shows up to a week before the month and two weeks after it.
    for (QDate day = first.addDays(-7); day < first.addMonths(1).addDays(14); day = day.addDays(1))
        kalend->setDateTextFormat(day, day < kalend->minimumDate() ? greyed : QTextCharFormat());
}

QDate Tf_pobdaty::date() const
{
    return kalend->selectedDate();
}

QDate Tf_pobdaty::earliestDate() const
{
    return kalend->minimumDate();
}
