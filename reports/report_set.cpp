#include "reports/report_set.h"

#include "reports/report_inputs.h"
#include "reports/w_zak.h"
#include "reports/wydr_zest.h"
#include "reports/wydr_zest2005.h"
#include "reports/zest_zb.h"
#include "reports/zest_zb2005.h"

namespace reports {

std::vector<std::unique_ptr<ReportWindow>> createReports(Tdm_1& dm, const ReportInputs& inputs, ReportChoice choice)
{
    std::vector<std::unique_ptr<ReportWindow>> windows;
    if (choice == ReportChoice::PurchaseRegister) {
        windows.push_back(std::make_unique<Tf_w_zak>(dm, inputs));
        return windows;
    }
    // Made statement first, printed aggregate statement first.
    std::unique_ptr<ReportWindow> statement;
    if (inputs.selectedYear() < firstYearOfLaterForms) {
        statement = std::make_unique<Tf_wydr_zest>(dm, inputs);
        windows.push_back(std::make_unique<Tf_zest_zb>(dm, inputs));
    } else {
        statement = std::make_unique<Tf_wydr_zest2005>(dm, inputs);
        windows.push_back(std::make_unique<Tf_zest_zb2005>(dm, inputs));
    }
    windows.push_back(std::move(statement));
    return windows;
}

} // namespace reports
