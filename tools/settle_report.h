#pragma once

#include <QString>

#include "reports/settlement.h"

namespace tools {

// The settlement as a readable Polish table.
QString settlementTable(const reports::Settlement& s, int half);
// The settlement as tab-separated lines for scripts: LINE, TOTAL and THRESHOLD records,
// numbers with a decimal point and no thousands marks.
QString settlementTsv(const reports::Settlement& s);

} // namespace tools
