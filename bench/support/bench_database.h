#pragma once

#include <QString>

// The database a benchmark fills: a new delivered database (schema and reference data) in a
// folder of the benchmark's own, removed when the process ends.
namespace bench {

QString freshDeliveredDatabase();

} // namespace bench
