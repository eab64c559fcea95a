#pragma once

#include <QStringList>

// A further year's rates from a file, as the command-line tool loads them: the same loader as
// the rate window.
namespace tools {

// load-rates --db NAME FILE
int loadRates(const QStringList& args);

extern const char* rateUsage;

} // namespace tools
