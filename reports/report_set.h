#pragma once

#include <memory>
#include <vector>

#include "reports/report_window.h"
#include "text/file_name.h"

namespace reports {

struct ReportSubject;

// What the settlement window prints: the pair of statements, or the purchase register.
enum class ReportChoice { Statements, PurchaseRegister };

// The first settlement year printed on the later forms ("od 2005").
constexpr int firstYearOfLaterForms = 2006;

// The name a saved file of the settlement's printout is offered under, without the
// extension: "<short name>_<year>[_<half-year>]_<what>", e.g. "TRANS-POL_2012_II_zestawienie".
QString printoutFileName(const ReportSubject& subject, const QString& what);
// The title of a printout's PDF file: "<what> — <short name> — <period>".
QString printoutTitle(const ReportSubject& subject, const QString& what);

// The report windows of the choice in printing order: the aggregate statement and then the
// statement, each in the form of the selected year, or the purchase register. The datasets
// are set from `subject` and opened; freeing the windows closes them again. Each report offers
// its file under printoutFileName: "zestawienie_zbiorcze", "zestawienie", "wykaz_zakupow".
std::vector<std::unique_ptr<ReportWindow>> createReports(Tdm_1& dm, const ReportSubject& subject, ReportChoice choice);

} // namespace reports
