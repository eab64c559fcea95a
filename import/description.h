#pragma once

#include <QString>

namespace ledger {

// What a ledger entry's description says of a fuel purchase: its last two slash-separated
// parts are the registration number and the quantity in litres ("olej napędowy/WE 12345/45.50").
struct Description {
    enum class Outcome {
        Purchase,       // both found
        NotAPurchase,   // fewer than two slashes: no trace in the log
        BadQuantity,    // the quantity is no number
        NoRegistration, // the registration number is empty
    };
    Outcome outcome = Outcome::NotAPurchase;
    QString registration;
    double litres = 0.0;
};

Description rozbierz_opis(const QString& description);

// A number with the decimal comma, as the ledgers' quantities are read: an optional sign,
// digits with at most one comma, an optional exponent; blanks around it are allowed.
bool readDecimalComma(const QString& text, double& value);

// "Zapisano 22 rekordy": the count of stored purchases with its Polish ending.
QString countLine(int count);

} // namespace ledger
