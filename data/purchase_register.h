#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "data/period.h"

class Tdm_1;

namespace data {

struct RegisterPurchase {
    QString registration;
    QString invoice;
    QDate day;
    double litres = 0;
};

// A line of the purchase register: the purchases of one vehicle type and fuel, with their
// litres summed exactly and the tonnes the statement shows for them.
struct RegisterLine {
    int vehicleType = 0;
    int fuel = 0;
    QString vehicleTypeName;
    QString fuelName;
    double litres = 0;
    double tonnes = 0;
    std::vector<RegisterPurchase> purchases;
};

// The purchase register of a taxpayer (short name) and period, as values read in the reports'
// snapshot: the statement's lines by vehicle type and fuel, each with its purchases.
std::vector<RegisterLine> purchaseRegister(Tdm_1& dm, const QString& taxpayer, const Period& period);

} // namespace data
