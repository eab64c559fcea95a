#pragma once

#include "reports/aggregate_window.h"

namespace reports {

// The aggregate statement in the earlier form, for settlement years up to 2005: the
// taxpayer, the half-year, and for every kind of use of the environment whether it applies
// ("TAK" or " / NIE*", the other struck through); only "1.4. Silniki spalinowe" applies.
class Tf_zest_zb : public AggregateWindow {
public:
    Tf_zest_zb(Tdm_1& dm, const ReportSubject& subject);

private:
    void buildBands();
};

} // namespace reports
