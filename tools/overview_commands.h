#pragma once

#include <QString>
#include <QStringList>

#include "tools/cli_options.h"

namespace data {
struct Overview;
}

// The office's overview on the command line: every taxpayer's fee and threshold for a period.
namespace tools {

// overview --db NAME --year YYYY [--half I|II] [--tsv]
int overview(const QStringList& args);
// pdf-all --db NAME --year YYYY [--half I|II] --dir DIR [--register] [--without-purchases]
int pdfAll(const QStringList& args);

// The overview as a table for reading (--tsv gives reports::overviewRecords).
QString overviewTable(const data::Overview& o);

extern const Command overviewCommands[2];

} // namespace tools
