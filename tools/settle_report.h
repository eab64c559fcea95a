#pragma once

#include <QString>

#include "data/settlement.h"

namespace tools {

// The settlement as a readable Polish table.
QString settlementTable(const data::Settlement& s, int half);
// The settlement as tab-separated lines for scripts: LINE, TOTAL and THRESHOLD records,
// numbers with a decimal point and no thousands marks; from 2013 a FILING record with what
// the firm files (bez_wykazu, wykaz, wykaz_i_oplata).
QString settlementTsv(const data::Settlement& s);

} // namespace tools
