#pragma once

#include "reports/report_set.h"

class Tdm_1;

namespace reports {
struct ReportSubject;
}

namespace bench {

// Milliseconds from the choice of a preview (the report windows made, as the settlement
// window makes them) until the preview window has drawn the first page of the first report.
double firstPreviewPageMs(Tdm_1& dm, const reports::ReportSubject& inputs, reports::ReportChoice choice);

} // namespace bench
