#include "data/report_snapshot.h"

#include "dataset/dataset.h"
#include "desktop/quietly.h"
#include "firebird/connection.h"

namespace data {

ReportSnapshot::ReportSnapshot(fb::Connection& connection, fb::Transaction& usual, std::vector<ds::Dataset*> datasets)
    : connection_(connection), usual_(usual), snapshot_(&connection, fb::Isolation::Snapshot), datasets_(std::move(datasets))
{
    snapshot_.start();
    for (ds::Dataset* d : datasets_)
        d->setDatabase(&connection_, &snapshot_);
}

ReportSnapshot::~ReportSnapshot()
{
    end();
}

void ReportSnapshot::end() noexcept
{
    if (ended_)
        return;
    ended_ = true;
    for (ds::Dataset* d : datasets_)
        d->setDatabase(&connection_, &usual_);
    // It only read: ending it cannot lose anything, and a lost server has ended it already.
    desktop::quietly("ending the reports' snapshot", [this] {
        if (connection_.isOpen())
            snapshot_.commit();
        else
            snapshot_.abandon();
    });
}

} // namespace data
