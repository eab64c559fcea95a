#pragma once

#include <QStringList>

#include "tools/cli_options.h"

// The imports from the ledgers, as the command-line tool runs them: the same code as the
// import screens.
namespace tools {

// import-purchases --db NAME --source pkpir|fk --dir DIR --year YYYY [--quarter 1-4] (--all | CODE...)
int importPurchases(const QStringList& args);
// import-taxpayers --db NAME --dir DIR [--overwrite FIELDS] ACCOUNT...
int importTaxpayers(const QStringList& args);

extern const Command importCommands[2];

} // namespace tools
