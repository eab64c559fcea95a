#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

namespace dbw {

// A date typed as the program writes dates ("15-05-2024", also "5-5-2024") or chosen from
// a drop-down calendar. The text is taken as a whole when the user leaves the edit, presses
// Enter or Tab, or when the row it belongs to is posted: never section by section, so a
// date is never stored other than as typed. A date that cannot be read, or lies outside the
// allowed range, is refused with a message and the user stays in the edit; Escape brings
// back the date shown before (the message says so). Tab leaves the edit at once. Moving to a
// cancel control (setCancelsRow) takes nothing.
class DateEdit : public QWidget {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

    QDate date() const { return date_; }
    // Shows a date set by the program; no dateEdited. A date outside the range is shown as
    // it is (a stored date is never altered by showing it); the range binds only what the
    // user types or picks. Text being typed stays while the date shown stays the same.
    void setDate(const QDate& date);
    // Drops typed text and shows the date again.
    void revert() { showDate(); }
    QDate minimumDate() const { return minimum_; }
    QDate maximumDate() const { return maximum_; }
    void setDateRange(const QDate& minimum, const QDate& maximum);

    // Why the typed text cannot be taken ("" when it can, or when nothing was typed).
    QString problem() const;
    // Takes typed text: true when there was none or it became the date (dateEdited when the
    // date changed); false after refusing it with a message, the focus back in the edit.
    bool commit();
    bool isModified() const;
    // A date chosen as from the calendar: within the range, it becomes the date and
    // dateEdited follows.
    void choose(const QDate& date);
    void showCalendar();

    QLineEdit* lineEdit() const { return edit_; }

signals:
    void dateEdited(const QDate& date); // by the user only

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showDate();
    bool inRange(const QDate& date) const;
    void step(int days);

    QLineEdit* edit_;
    QToolButton* button_;
    QCalendarWidget* calendar_ = nullptr;
    QDate date_;
    QDate minimum_;
    QDate maximum_;
    bool refusing_ = false; // a refusal's message box is up
};

} // namespace dbw
