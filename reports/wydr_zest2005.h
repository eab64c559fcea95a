#pragma once

#include "reports/statement_window.h"
#include "text/money.h"

namespace reports {

// The statement "TABELA D" in the later form, for settlement years from 2006 on: per engine
// type with rates in the year, the fuels with a rate, the tonnes bought in the period, the
// rate and the fee, and the total fee. A4 landscape.
class Tf_wydr_zest2005 : public StatementWindow {
public:
    Tf_wydr_zest2005(Tdm_1& dm, const ReportSubject& subject);

private:
    void buildBands();

    // The sum of the printed fees (each already rounded), added up as the lines print.
    text::Money total_;
};

} // namespace reports
