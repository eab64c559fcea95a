#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;

namespace common {

// The choice at the top of the purchase, settlement and import screens: a taxpayer list
// (short names, letter search), the parts of a year (half-years or quarters, shown only for
// years that use them) and the year, a masked edit of exactly four digits. None of them is
// a tab stop: Tab runs through the screen's own fields, the choice is reached by its
// accelerators or the mouse. The screen applies a choice when it hears of it; the controls
// keep their object names, so that the screen and its tests find them as the screen's own.
class PeriodChooser : public QWidget {
    Q_OBJECT
public:
    struct Parts {
        QString label;     // with its accelerator
        QStringList items; // one per part of the year
    };
    static Parts halfYears(); // "Półro&cze": "    I", "    II"
    static Parts quarters();  // "&Kwartał": "  I", "  II", "  III", "  IV  "

    PeriodChooser(QWidget* parent, const Parts& parts, bool withTaxpayers = true);

    QLabel* e_pod = nullptr;
    QListWidget* lb_pod = nullptr;
    QLabel* e_kwart;
    QListWidget* lb_kwart;
    QLabel* e_rok;
    QLineEdit* m_rok;

    // The taxpayer list's items; the first is selected (without a choice signal).
    void setTaxpayers(const QStringList& names);
    // The selected taxpayer, "" when the list is empty.
    QString taxpayer() const;
    void selectTaxpayer(const QString& name); // without a choice signal
    // The year as typed (the integer value of the trimmed text).
    int year() const;
    void setYear(int year);
    // The selected part of the year: 0 for the first.
    int part() const;
    void selectPart(int index); // without a choice signal
    // Shows or hides the parts list and its label.
    void showParts(bool shown);

signals:
    // The user chose in a list (a click, an arrow key) or left it; the screen applies what
    // the lists show now.
    void listChosen();
    // The year field was left with a changed year of four digits. An incomplete year is
    // refused here with a message, and the focus goes back to the field.
    void yearLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectQuietly(QListWidget* list, int row);
    void searchTaxpayer(const QString& typed);
    void leaveYear();

    QString yearOnEntry_; // Escape brings it back
    bool quiet_ = false;  // a list's row changes by program
};

} // namespace common
