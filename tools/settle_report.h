#pragma once

#include <QString>

#include "data/settlement.h"

namespace tools {

// The settlement as a readable Polish table.
QString settlementTable(const data::Settlement& s, int half);
// The settlement as tab-separated lines for scripts: LINE, TOTAL and THRESHOLD records,
// numbers with a decimal point and no thousands marks.
QString settlementTsv(const data::Settlement& s);

} // namespace tools
