#pragma once

#include <QString>
#include <QStringList>

namespace data {
struct Overview;
}

// The office's overview on the command line: every taxpayer's fee and threshold for a period.
namespace tools {

// overview --db NAME --year YYYY [--half I|II] [--tsv]
int overview(const QStringList& args);
// pdf-all --db NAME --year YYYY [--half I|II] --dir DIR [--register] [--without-purchases]
int pdfAll(const QStringList& args);

// TAXPAYER and TOTAL records, tab-separated, numbers with a decimal point, money with two
// decimals: TAXPAYER nr short nip vehicles litres tonnes fee threshold status missing_rates.
QString overviewTsv(const data::Overview& o);
// The same rows as a table for reading.
QString overviewTable(const data::Overview& o);

extern const char* overviewUsage;

} // namespace tools
