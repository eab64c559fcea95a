#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The database a benchmark fills: a new delivered database (schema and reference data) in a
// folder of the benchmark's own, removed when the process ends.
namespace bench {

QString freshDeliveredDatabase();

// The counts given on the command line (after the program's name), or `defaults` when none.
std::vector<int> countsFromArguments(const QStringList& arguments, std::vector<int> defaults);

// The middle one of the measured times.
double median(std::vector<double> times);

// Benchmarks that show windows draw them off screen unless a platform is asked for; call
// before the application object is made.
void offscreenUnlessSet();

// A benchmark that drives windows answers every message box "Tak" and prints its text on the
// standard error.
void answerMessagesYes();

} // namespace bench
