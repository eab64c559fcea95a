#pragma once

#include <QDate>

namespace data {

// The days a vehicle takes purchases, from its first day of use (D_ROZP_U) and its last day
// of use (D_ZAK_U, invalid while it is still in use). The two ways purchases come in keep two
// rules, each the rule of its own screen, so they stand side by side here:
// - keyed by hand, the last day of use is a day of use (the purchase screen's calendar offers
//   it);
// - taken over from a ledger, it is not: an entry dated on the last day of use is passed over
//   (the purchase import's rule).
struct DaysOfUse {
    QDate first; // invalid: no earliest day
    QDate last;  // invalid: no latest day
    bool contains(const QDate& day) const
    {
        return (!first.isValid() || day >= first) && (!last.isValid() || day <= last);
    }
};

inline DaysOfUse daysForKeyedPurchases(const QDate& firstDayOfUse, const QDate& lastDayOfUse)
{
    return {firstDayOfUse, lastDayOfUse};
}

inline DaysOfUse daysForImportedPurchases(const QDate& firstDayOfUse, const QDate& lastDayOfUse)
{
    return {firstDayOfUse, lastDayOfUse.isValid() ? lastDayOfUse.addDays(-1) : QDate()};
}

} // namespace data
