#pragma once

#include <QString>

#include "reports/aggregate_window.h"

namespace reports {

// The aggregate statement in the later form, for settlement years from 2006 on: the
// taxpayer, the period, and the table of the kinds of use of the environment with their
// table codes; only "1.4 Silniki spalinowe" (code D) carries a fee. The totals are rounded
// to whole złoty, and a total at or below the exemption threshold is not due (0,00).
class Tf_zest_zb2005 : public AggregateWindow {
public:
    Tf_zest_zb2005(Tdm_1& dm, const ReportSubject& subject);

private:
    void buildBands();
    // Fills sum_d, sum_gazy and sum_og from the settlement window before the report is made.
    void raportBeforePrint();

    QString sum_d;
    QString sum_gazy;
    QString sum_og;
};

} // namespace reports
