#pragma once

#include <QDate>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "data/period.h"

class Tdm_1;

namespace fb {
class Statement;
}

namespace data {

class ReportSnapshot;

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
};

// The purchase register of a taxpayer (short name) and period, read in the reports' snapshot:
// the statement's lines by vehicle type and fuel at once, each line's purchases as they are
// printed, from one open query over all of them, so that neither the first page waits for
// the last purchase nor a long register is held in memory. When the first line holds few of
// the purchases, its own are read apart, through its vehicles: the first page then waits
// for them, not for the ordering of all the others.
class PurchaseRegister {
public:
    PurchaseRegister(Tdm_1& dm, const QString& taxpayer, const Period& period);
    ~PurchaseRegister();
    PurchaseRegister(const PurchaseRegister&) = delete;
    PurchaseRegister& operator=(const PurchaseRegister&) = delete;

    const std::vector<RegisterLine>& lines() const { return lines_; }
    // The purchases of line `line` (an index of lines()) come next, from its first; a line
    // whose purchases were given already is read again.
    void startLine(size_t line);
    // The next purchase of the line started; nothing after its last.
    std::optional<RegisterPurchase> nextPurchase();

private:
    // A query that runs when its first row is asked for, and again after a restart.
    class Rows {
    public:
        explicit Rows(std::unique_ptr<fb::Statement> query);
        ~Rows();
        void restart() { running_ = false; }
        bool next();
        const fb::Statement& row() const { return *query_; }

    private:
        std::unique_ptr<fb::Statement> query_;
        bool running_ = false;
        bool ended_ = false;
    };
    struct Ahead {
        size_t line = 0;
        RegisterPurchase purchase;
    };
    // The next purchase of the query over all lines, with its line; nothing after the last.
    std::optional<Ahead> fetch();

    std::shared_ptr<ReportSnapshot> snapshot_; // outlives the queries read in it
    std::vector<RegisterLine> lines_;
    std::unique_ptr<Rows> purchases_;
    std::unique_ptr<Rows> firstLine_; // the first line's purchases, when read apart
    std::optional<Ahead> ahead_;      // read, not yet given
    size_t lineOfFetched_ = 0;        // the line the last row read belongs to (rows are in lines' order)
    size_t started_ = 0;
    std::optional<size_t> given_;     // the line of the last purchase given since the queries began
};

} // namespace data
