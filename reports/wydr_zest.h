#pragma once

#include "reports/statement_window.h"

namespace reports {

// The statement "TABELA D" in the earlier form, for settlement years up to 2005: per
// engine type with rates in the year, the fuels with a rate and the tonnes of each bought
// in the period. A4 portrait.
class Tf_wydr_zest : public StatementWindow {
public:
    Tf_wydr_zest(Tdm_1& dm, const ReportSubject& subject);

private:
    void buildBands();
};

} // namespace reports
