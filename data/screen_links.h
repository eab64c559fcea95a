#pragma once

#include <QString>

namespace data {

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

} // namespace data
