#pragma once

#include <QStringList>

#include "tools/cli_options.h"

// The import of fuel purchases from e-invoices (KSeF), as the command-line tool runs it: the
// same code as the import's screen, preview and store at once.
namespace tools {

// import-invoices --db NAME [--vehicle NR_REJ] PATH...
int importInvoices(const QStringList& args);

extern const Command invoiceCommands[1];

} // namespace tools
