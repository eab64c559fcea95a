#pragma once

#include <QDate>
#include <QString>

namespace data {

// A screen's registration in the data module for as long as this object lives: the slot
// points at the screen from construction and is cleared on destruction, also when an
// exception ends the screen's work. Screens hold one while their data is open.
template <class Screen>
class ScreenLink {
public:
    ScreenLink(Screen*& slot, Screen* screen) : slot_(slot), screen_(screen) { slot_ = screen_; }
    ~ScreenLink()
    {
        if (slot_ == screen_)
            slot_ = nullptr;
    }
    ScreenLink(const ScreenLink&) = delete;
    ScreenLink& operator=(const ScreenLink&) = delete;

private:
    Screen*& slot_;
    Screen* screen_;
};

// What the data module needs of the open fee-rate screen: its list of years.
class FeeRateScreen {
public:
    virtual ~FeeRateScreen() = default;
    virtual QString shownYear() const = 0;   // the text of the year list, "" when none
    virtual bool hasYear(int year) const = 0;
    virtual void addYear(int year) = 0;      // the list keeps itself sorted
    virtual void removeYear(int year) = 0;
    virtual void selectLastYear() = 0;       // selects nothing when the list is empty
    // Sets the select text of IBDS_opl for the year now shown.
    virtual void rebuildRateQuery() = 0;
};

// What the data module needs of the open taxpayer screen: its list of short names.
class TaxpayerScreen {
public:
    virtual ~TaxpayerScreen() = default;
    virtual void addShortName(const QString& name) = 0;    // the list keeps itself sorted
    virtual void removeShortName(const QString& name) = 0; // when it is there
};

// What the data module needs of the open purchase screen: the period it shows, its date
// picker, its fuel list and its status line. The picker's range binds only the dates the
// user types or picks; the picker shows a purchase's date as it is.
class PurchaseScreen {
public:
    virtual ~PurchaseScreen() = default;
    virtual QDate periodStart() const = 0;
    virtual QDate periodEnd() const = 0;
    virtual QDate pickerDate() const = 0;
    virtual QDate pickerEarliest() const = 0;
    virtual QDate pickerLatest() const = 0;
    virtual void setPickerRange(const QDate& earliest, const QDate& latest) = 0;
    virtual void setPickerDate(const QDate& date) = 0;
    // While detached, a date picked by the user does not reach D_ZAK (zm_dzak).
    virtual void setDateReactionAttached(bool attached) = 0;
    // Editable and a tab stop for a diesel vehicle; read-only and skipped otherwise.
    virtual void setFuelListEditable(bool editable) = 0;
    // A short note in the screen's status line; "" clears it.
    virtual void showNote(const QString& text) = 0;
    // The vehicle just chosen cannot take a purchase in the period; the screen says why.
    virtual void vehicleRefused(const QString& message) = 0;
};

} // namespace data
