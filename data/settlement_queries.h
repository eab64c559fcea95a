#pragma once

#include <QString>
#include <QVariant>
#include <vector>

#include "text/money.h"

// The queries of the settlement and of the printed statements. Each gives the rows that the
// same query on the view ROZL gives, but sums the purchases of the taxpayer and period first,
// reached through the taxpayer's vehicles and the purchases' index on vehicle and date, and
// joins the fuel and the rate to the few sums afterwards rather than to every purchase. Every
// litre total is exact (litreSumSql). The rate is the one of the purchases' year: a period
// lies within one calendar year.
namespace data {

// The sum of the purchases' litres (`column`, e.g. "Z.IL_ZAK") as the nearest double to their
// exact sum: each quantity taken in whole millionths of a litre, which a double adds without
// error, so that the order the engine adds them in cannot move a total across a rounding
// boundary of the tonnes or the fee. litreSumOf gives the same total from part sums so made.
QString litreSumSql(const QString& column);
double litreSumOf(const std::vector<double>& partSums);

// How a query reaches the taxpayer's purchases. ByVehicle: vehicle by vehicle through the
// index on vehicle and date, reading only the taxpayer's purchases of the period; right for a
// taxpayer among many. ByScan: one pass over the period's purchases (through the date index,
// so that a period without purchases, or one year of several, costs only its own rows), each
// matched to the taxpayer's vehicles in a hash table; right for a taxpayer with most of the
// purchases, whose purchases the index on vehicle would fetch page by page once per vehicle.
enum class PurchaseAccess { ByVehicle, ByScan };
// A scan pays from a third of all vehicles on: the vehicles stand in for the purchases,
// which cannot be counted without reading them. `allVehicles` may be an estimate.
PurchaseAccess purchaseAccess(int taxpayerVehicles, int allVehicles);

// IBQ_rozl: one line per vehicle and purchased fuel of the taxpayer (:naz) in the period
// (:dpocz, :dkon), ordered by registration and fuel.
QString settlementSql(PurchaseAccess access = PurchaseAccess::ByVehicle);
// IBQ_rozl_d: the purchases of one vehicle (:nr_rej) and fuel (:nr_rodz_pal) in the period,
// by date and invoice number.
QString settlementPurchasesSql();
// IBQ_rozl_w: one line per vehicle type and purchased fuel of the taxpayer in the period,
// ordered by type and fuel.
QString statementLinesSql(PurchaseAccess access = PurchaseAccess::ByVehicle);
// The lines of statementLinesSql with the number of their purchases after them.
QString registerLinesSql(PurchaseAccess access);
// Every purchase of the taxpayer (:naz) in the period (:dpocz, :dkon) with the vehicle type and
// fuel of its statement line, in the order of the lines and within a line by date and invoice.
QString registerPurchasesSql(PurchaseAccess access);
// The same of one line (:nr_rodz_siln, :nr_rodz_pal), read through the taxpayer's vehicles of
// its type: what a line of a few vehicles among many costs to read.
QString registerLinePurchasesSql();

// A NUMERIC(9,4) column (the litre mass) as money: four places, exactly.
text::Money moneyOfColumn(const QVariant& value);
// IBQ_rozl_w1: the purchases of one vehicle type (:nr_rodz_siln) and fuel (:nr_rodz_pal) of
// the taxpayer in the period, by date and invoice number.
QString statementPurchasesSql();

} // namespace data
