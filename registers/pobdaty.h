#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QPushButton;

// The date picker ("Data"): a month calendar with OK and Anuluj. The caller sets the date,
// and optionally the earliest day that may be picked, shows it modally and reads the date
// after OK.
class Tf_pobdaty : public QDialog {
    Q_OBJECT
public:
    explicit Tf_pobdaty(QWidget* parent = nullptr);

    void setDate(const QDate& date);
    // Days before it cannot be picked; a date set before it moves to it.
    void setEarliestDate(const QDate& date);
    QDate date() const;
    QDate earliestDate() const;

private:
    void markDaysBeforeEarliest();

    QCalendarWidget* kalend;
    QPushButton* kl_ok;
    QPushButton* kl_anuluj;
};

// The open date picker, while one is shown.
extern Tf_pobdaty* f_pobdaty;
