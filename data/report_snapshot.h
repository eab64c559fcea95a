#pragma once

#include <vector>

#include "firebird/transaction.h"

namespace ds {
class Dataset;
}

namespace data {

// One consistent picture of the database for the reports: while it lives, the given datasets
// read from one read-only snapshot taken when it began, so that a report's pages agree with
// each other whatever other desks commit meanwhile. Ending it closes those datasets and
// gives them back their usual transaction.
class ReportSnapshot {
public:
    ReportSnapshot(fb::Connection& connection, fb::Transaction& usual, std::vector<ds::Dataset*> datasets);
    ~ReportSnapshot();
    ReportSnapshot(const ReportSnapshot&) = delete;
    ReportSnapshot& operator=(const ReportSnapshot&) = delete;

    fb::Transaction& transaction() { return snapshot_; }
    // Ends it before its holders let it go (the connection is about to close).
    void end() noexcept;

private:
    fb::Connection& connection_;
    fb::Transaction& usual_;
    fb::Transaction snapshot_;
    std::vector<ds::Dataset*> datasets_;
    bool ended_ = false;
};

} // namespace data
