#pragma once

#include <memory>
#include <vector>

#include "reports/report_window.h"

namespace reports {

class ReportInputs;

// What the settlement window prints: the pair of statements, or the purchase register.
enum class ReportChoice { Statements, PurchaseRegister };

// The first settlement year printed on the later forms ("od 2005").
constexpr int firstYearOfLaterForms = 2006;

// The report windows of the choice in printing order: the aggregate statement and then the
// statement, each in the form of the selected year, or the purchase register. The datasets
// are set from `inputs` and opened; freeing the windows closes them again.
std::vector<std::unique_ptr<ReportWindow>> createReports(Tdm_1& dm, const ReportInputs& inputs, ReportChoice choice);

} // namespace reports
