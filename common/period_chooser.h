#pragma once

#include <QStringList>
#include <functional>
#include <QWidget>

#include "data/period.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace common {

// The choice at the top of the purchase, settlement and import screens: a taxpayer list
// (short names, letter search), the parts of a year (half-years or quarters, shown only for
// years that use them) and the year, a masked edit of exactly four digits. None of them is
// a tab stop: Tab runs through the screen's own fields, the choice is reached by its
// accelerators or the mouse. The chooser owns the choice: it keeps the one applied and
// offers the user's choices through `chosen`, once the screen lets the old one go. The
// controls keep their object names, so that the screen's tests find them as the screen's own.
class PeriodChooser : public QWidget {
    Q_OBJECT
public:
    PeriodChooser(QWidget* parent, data::YearParts parts, bool withTaxpayers = true);

    // How many names the taxpayer list shows without scrolling (four unless set).
    void setTaxpayerRows(int rows);
    // The taxpayer list's items, the first selected; applied without a choice signal.
    void setTaxpayers(const QStringList& names);
    // Shows a choice and applies it without a choice signal. An empty taxpayer keeps the
    // list's selection; the part counts only for a year that has parts.
    void present(const QString& taxpayer, int year, int part);
    // The choice that the screen shows.
    const data::PeriodChoice& applied() const { return applied_; }
    // Asked before the user's new choice is applied, while applied() is still the old one:
    // false keeps the old choice and brings the controls back to it.
    void setLeaveCheck(std::function<bool()> mayLeave);

    // The controls as they are now, for the headings of printouts.
    QString taxpayerItem() const;
    QString yearText() const;
    QString partItem() const;
    bool yearComplete() const;

    void focusParts();

signals:
    // The user chose: clicked or left a list (a click on the item already chosen too), or left
    // the year field with a new year of four digits (the parts are shown for a year that has
    // them, the first one selected). applied() is the new choice already; changed says
    // whether it differs from the one before.
    void chosen(bool changed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    data::PeriodChoice shown() const;
    void showYear(int year);
    void selectQuietly(QListWidget* list, int row);
    void searchTaxpayer(const QString& typed);
    void listChosen();
    void leaveYear();
    void offer();

    data::YearParts parts_;
    QLabel* e_pod = nullptr;
    QListWidget* lb_pod = nullptr;
    QLabel* e_kwart;
    QListWidget* lb_kwart;
    QLabel* e_rok;
    QLineEdit* m_rok;

    data::PeriodChoice applied_;
    std::function<bool()> mayLeave_;
    QString yearOnEntry_;   // Escape brings it back
    bool quiet_ = false;    // a list's row changes by program
    bool offering_ = false; // the screen is taking a choice
    int offers_ = 0;        // choices offered so far, refused ones included
    int offersAtPress_ = 0; // as many when a mouse button went down on a list
};

} // namespace common
