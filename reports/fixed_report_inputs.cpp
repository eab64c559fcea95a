#include "reports/fixed_report_inputs.h"

namespace reports {

FixedReportInputs::FixedReportInputs(const data::Settlement& settlement, int half) : settlement_(settlement), half_(half) {}

} // namespace reports
