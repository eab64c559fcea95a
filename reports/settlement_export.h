#pragma once

#include <QString>

#include "data/settlement.h"

namespace reports {

// The settlement for a spreadsheet (text::CsvLines): the taxpayer and period, a line per
// vehicle and fuel as the settlement window shows them, then the totals, the amount, the
// threshold, whether the fee is paid and (from 2013) what the firm files.
QString settlementCsv(const data::Settlement& s, int part);

} // namespace reports
