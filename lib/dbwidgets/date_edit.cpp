#include "dbwidgets/date_edit.h"

#include <QCalendarWidget>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

#include "dbwidgets/cancel_control.h"
#include "desktop/messages.h"
#include "text/formats.h"

namespace dbw {

DateEdit::DateEdit(QWidget* parent) : QWidget(parent)
{
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("text"));
    // Day, month and year (or a year first) with any of the separators the program reads, or
    // the eight or six digits of a date typed without them; the whole text is read when it is
    // taken.
    edit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\s*(\\d{0,8}|\\d{0,4}([-./]\\d{0,2}([-./]\\d{0,4})?)?)\\s*")), edit_));
    edit_->setMaxLength(12);
    edit_->installEventFilter(this);
    const int width = edit_->fontMetrics().horizontalAdvance(QStringLiteral("00-00-00000")) + 12;
    edit_->setMinimumWidth(width);

    button_ = new QToolButton(this);
    button_->setObjectName(QStringLiteral("calendarButton"));
    button_->setArrowType(Qt::DownArrow);
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setToolTip(QStringLiteral("Kalendarz (Alt+Strzałka w dół)"));
    connect(button_, &QToolButton::clicked, this, &DateEdit::showCalendar);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit_);
    layout->addWidget(button_);
    setFocusProxy(edit_);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void DateEdit::setDate(const QDate& date)
{
    if (date == date_ && isModified())
        return;
    date_ = date;
    showDate();
}

void DateEdit::setDateRange(const QDate& minimum, const QDate& maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
}

void DateEdit::showDate()
{
    edit_->setText(text::formatDate(date_));
    edit_->setModified(false);
}

bool DateEdit::inRange(const QDate& date) const
{
    return (!minimum_.isValid() || date >= minimum_) && (!maximum_.isValid() || date <= maximum_);
}

bool DateEdit::isModified() const
{
    return edit_->isModified();
}

QString DateEdit::problem() const
{
    if (!isModified())
        return {};
    const QString typed = edit_->text().trimmed();
    const std::optional<QDate> date = text::parseDate(typed);
    if (!date)
        return typed.isEmpty() ? QStringLiteral("Wpisz datę w postaci dd-mm-rrrr, np. 15-05-2024.")
                               : QStringLiteral("„%1” nie jest poprawną datą. Wpisz datę w postaci dd-mm-rrrr, "
                                                "np. 15-05-2024.")
                                     .arg(typed);
    if (inRange(*date))
        return {};
    QString range;
    if (minimum_.isValid())
        range += QStringLiteral(" od %1").arg(text::formatDate(minimum_));
    if (maximum_.isValid())
        range += QStringLiteral(" do %1").arg(text::formatDate(maximum_));
    return QStringLiteral("Data %1 leży poza dozwolonym zakresem:%2.").arg(text::formatDate(*date), range);
}

bool DateEdit::commit()
{
    if (!isModified())
        return true;
    const QString refusal = problem();
    if (!refusal.isEmpty()) {
        if (!refusing_) {
            refusing_ = true;
            desktop::showWarning(refusal + QStringLiteral("\nKlawisz Esc przywraca poprzednią datę."), {}, this);
            refusing_ = false;
        }
        edit_->setFocus(Qt::OtherFocusReason);
        edit_->selectAll();
        return false;
    }
    const QDate typed = *text::parseDate(edit_->text());
    const bool changed = typed != date_;
    date_ = typed;
    showDate();
    if (changed)
        emit dateEdited(date_);
    return true;
}

void DateEdit::choose(const QDate& date)
{
    if (!date.isValid() || !inRange(date))
        return;
    const bool changed = date != date_;
    date_ = date;
    showDate();
    if (changed)
        emit dateEdited(date_);
}

void DateEdit::step(int days)
{
    const std::optional<QDate> typed = text::parseDate(edit_->text());
    const QDate from = typed ? *typed : date_;
    if (from.isValid())
        choose(from.addDays(days));
}

void DateEdit::showCalendar()
{
    if (!isEnabled())
        return;
    if (!calendar_) {
        calendar_ = new QCalendarWidget(this);
        calendar_->setObjectName(QStringLiteral("calendar"));
        calendar_->setWindowFlags(Qt::Popup);
        calendar_->setLocale(QLocale(QLocale::Polish, QLocale::Poland));
        calendar_->setFirstDayOfWeek(Qt::Monday);
        calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        auto picked = [this](const QDate& date) {
            calendar_->hide();
            choose(date);
            edit_->setFocus(Qt::PopupFocusReason);
        };
        connect(calendar_, &QCalendarWidget::clicked, this, picked);
        connect(calendar_, &QCalendarWidget::activated, this, picked);
    }
    // What was typed is not lost by opening the calendar: it starts on the typed day.
    const std::optional<QDate> typed = text::parseDate(edit_->text());
    calendar_->setDateRange(minimum_.isValid() ? minimum_ : QDate(100, 1, 1),
                            maximum_.isValid() ? maximum_ : QDate(9999, 12, 31));
    calendar_->setSelectedDate(typed ? *typed : date_.isValid() ? date_ : QDate::currentDate());
    calendar_->adjustSize();
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen* s = screen()) {
        const QRect room = s->availableGeometry();
        if (at.y() + calendar_->height() > room.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - calendar_->height());
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - calendar_->width())));
    }
    calendar_->move(at);
    calendar_->show();
    calendar_->setFocus(Qt::PopupFocusReason);
}

bool DateEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edit_)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // A refused date keeps the focus; a good one lets the Tab go on to the next control.
            return plain && !commit();
        case Qt::Key_Return:
        case Qt::Key_Enter:
            commit();
            return true;
        case Qt::Key_Escape:
            if (isModified()) {
                showDate();
                return true;
            }
            return false;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier)) {
                showCalendar();
                return true;
            }
            if (plain) {
                step(key->key() == Qt::Key_Up ? 1 : -1);
                return true;
            }
            return false;
        case Qt::Key_F4:
            showCalendar();
            return true;
        default:
            return false;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Not a message box, a popup (the calendar) or another window taking the focus, nor a
        // cancel button that drops the date anyway.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !refusing_ && !focusGoesToCancel())
            commit();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace dbw
