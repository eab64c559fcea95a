#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include "data/dm1.h"
#include "firebird/statement.h"

// Rows that the settlement and report tests start from, written straight into the test
// database; the statements name their parameters :p0, :p1, ... in the order of the values.
namespace settlement_rows {

inline void exec(Tdm_1& dm, const QString& sql, const QVariantList& values = {})
{
    fb::Statement st(dm.db_opl, dm.tr_opl, sql);
    for (int i = 0; i < values.size(); ++i)
        st.setParam(QStringLiteral("p%1").arg(i), values[i]);
    st.execute();
    dm.tr_opl.commitRetaining();
}

inline void addTaxpayer(Tdm_1& dm, int number, const QString& shortName, const QString& name,
                        const QString& address = {}, const QString& regon = {}, const QString& phone = {})
{
    exec(dm, QStringLiteral("insert into PODAT (NR_PODAT, NAZSKR, NAZWA, ADRES, REGON, TEL, NIP) "
                            "values (:p0, :p1, :p2, :p3, :p4, :p5, '123-456-32-18')"),
         {number, shortName, name, address, regon, phone});
}

inline void addVehicle(Tdm_1& dm, const QString& registration, int owner, int vehicleType, int fuel)
{
    exec(dm, QStringLiteral("insert into SAM (NR_REJ, NR_POD, NR_RODZ_SILN, NR_RODZ_PAL, D_ROZP_U) "
                            "values (:p0, :p1, :p2, :p3, '2000-01-01')"),
         {registration, owner, vehicleType, fuel});
}

inline void addPurchase(Tdm_1& dm, int number, const QString& registration, const QString& invoice, const QDate& day,
                        int fuel, double litres)
{
    exec(dm, QStringLiteral("insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) "
                            "values (:p0, :p1, :p2, :p3, :p4, :p5)"),
         {number, registration, invoice, day, fuel, litres});
}

// The rate of a vehicle type and fuel in a year, replacing one that is there.
inline void setRate(Tdm_1& dm, int vehicleType, int fuel, int year, double rate)
{
    exec(dm, QStringLiteral("delete from TAB_OPL_SILN where NR_SILN = :p0 and NR_PALIWA = :p1 and ROK = :p2"),
         {vehicleType, fuel, year});
    exec(dm, QStringLiteral("insert into TAB_OPL_SILN (NR_SILN, NR_PALIWA, OPL_ZA_TONE, ROK) values (:p0, :p1, :p2, :p3)"),
         {vehicleType, fuel, rate, year});
}

// The minimum wage and percentage of a year, replacing the row that is there.
inline void setParameters(Tdm_1& dm, int year, double minimumWage, double percentage)
{
    exec(dm, QStringLiteral("delete from PARAM where ROK = :p0"), {year});
    exec(dm, QStringLiteral("insert into PARAM (ROK, PLAC_MIN, WSK_PROC) values (:p0, :p1, :p2)"),
         {year, minimumWage, percentage});
}

} // namespace settlement_rows
