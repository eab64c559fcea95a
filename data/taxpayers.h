#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

class Tdm_1;

namespace data {

// A taxpayer's stored row: its column names and values (none when there is no such taxpayer).
struct TaxpayerRecord {
    QStringList columns;
    QList<QVariantList> rows;
};

// What the program asks of the register of taxpayers outside its screens.
class Taxpayers {
public:
    explicit Taxpayers(Tdm_1& dm) : dm_(dm) {}

    // The number of the taxpayer that has the short name, other than `exceptNumber`.
    std::optional<int> holderOfShortName(const QString& shortName, int exceptNumber = 0);
    // Every taxpayer's number, ascending.
    QList<int> numbers();
    // The numbers among `numbers` that no taxpayer has.
    QList<int> unknown(const QList<int>& numbers);
    // The row of the taxpayer with the short name, as the aggregate statement prints it, read
    // in the reports' snapshot.
    TaxpayerRecord recordForReports(const QString& shortName);

private:
    Tdm_1& dm_;
};

} // namespace data
