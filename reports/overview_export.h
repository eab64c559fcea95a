#pragma once

#include <QString>
#include <vector>

#include "data/office_overview.h"

namespace reports {

enum class OverviewFormat {
    // For scripts: TAXPAYER records (nr short nip vehicles litres tonnes fee threshold status
    // missing_rates filing) and a TOTAL record, tab-separated, numbers with a decimal point,
    // LF; filing is bez_wykazu, wykaz or wykaz_i_oplata from 2013, empty before.
    Tsv,
    // For a spreadsheet (text::CsvLines): a header line, the rows with the full name, the
    // NIP kept as text and what the taxpayer files, and a line of the rows' totals.
    Csv,
};

// The overview's rows in the order given, in one of the two formats. Numbers are rounded as
// the screen shows them (the program's rounding of the decimal value), so that the grid, the
// CSV and the command line never differ by a grosz or a hundredth of a litre; a fee beyond
// what money holds is "poza zakresem" everywhere.
QString overviewRecords(const data::Overview& overview, const std::vector<const data::OverviewRow*>& rows,
                        OverviewFormat format);

// Every row, by number.
std::vector<const data::OverviewRow*> allRows(const data::Overview& overview);

} // namespace reports
