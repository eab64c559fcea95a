#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include "data/dm1.h"
#include "firebird/statement.h"

// Rows that the register tests start from, written straight into the test database; the
// statements name their parameters :p0, :p1, ... in the order of the values.
namespace register_rows {

inline void exec(Tdm_1& dm, const QString& sql, const QVariantList& values)
{
    fb::Statement st(dm.db_opl, dm.tr_opl, sql);
    for (int i = 0; i < values.size(); ++i)
        st.setParam(QStringLiteral("p%1").arg(i), values[i]);
    st.execute();
    dm.tr_opl.commitRetaining();
}

inline void addTaxpayer(Tdm_1& dm, int number, const QString& shortName, const QString& name)
{
    exec(dm, QStringLiteral("insert into PODAT (NR_PODAT, NAZSKR, NAZWA, NIP) values (:p0, :p1, :p2, :p3)"),
         {number, shortName, name, QStringLiteral("123-456-32-18")});
}

inline void addVehicle(Tdm_1& dm, const QString& registration, int owner, const QDate& firstDay, const QDate& lastDay = {})
{
    exec(dm, QStringLiteral("insert into SAM (NR_REJ, NR_POD, NR_RODZ_SILN, NR_RODZ_PAL, D_ROZP_U, D_ZAK_U) "
                            "values (:p0, :p1, 1, 1, :p2, :p3)"),
         {registration, owner, firstDay, lastDay.isValid() ? QVariant(lastDay) : QVariant()});
}

inline void addPurchase(Tdm_1& dm, int number, const QString& registration, const QDate& day)
{
    exec(dm, QStringLiteral("insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) "
                            "values (:p0, :p1, 'FV 1', :p2, 1, 40)"),
         {number, registration, day});
}

inline QVariant scalar(Tdm_1& dm, const QString& sql)
{
    fb::Statement st(dm.db_opl, dm.tr_opl, sql);
    st.execute();
    const QVariant v = st.fetch() ? st.value(0) : QVariant();
    st.closeCursor();
    return v;
}

} // namespace register_rows
