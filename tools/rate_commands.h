#pragma once

#include <QStringList>

#include "tools/cli_options.h"

// A further year's rates from a file, as the command-line tool loads them: the same loader as
// the rate window.
namespace tools {

// load-rates --db NAME FILE
int loadRates(const QStringList& args);

extern const Command rateCommands[1];

} // namespace tools
