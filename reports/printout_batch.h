#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "data/office_overview.h"
#include "reports/report_window.h"

class Tdm_1;

// The printouts of many taxpayers in one go: for each, the statements (aggregate statement
// and statement) and, on request, the purchase register, one PDF file per taxpayer.
namespace reports {

struct BatchRequest {
    QString folder;
    bool withRegister = false;
    bool withoutPurchases = false; // taxpayers who bought nothing get their (empty) forms too
    bool allowMissingRates = false; // statements whose fee lacks rates are written all the same
};

struct BatchOutcome {
    // MissingRates: not written, as its statements would print too small a fee.
    enum class Result { Written, Skipped, MissingRates, Failed };
    const data::OverviewRow* row = nullptr;
    Result result = Result::Skipped;
    QString file;   // the file written, or that would have been
    QString reason; // why it was skipped or failed, for the user
};

// One taxpayer's printout: the report windows of its aggregate statement and statement and,
// when asked, its purchase register.
struct TaxpayerPrintout {
    std::vector<std::unique_ptr<ReportWindow>> windows;
};

// The printout of an overview row (half: 0 or 1 up to 2012): the amounts are the overview's,
// which are the settlement's. Throws on a database failure or an amount out of range.
TaxpayerPrintout taxpayerPrintout(Tdm_1& dm, const data::Overview& overview, const data::OverviewRow& row, int half,
                                  bool withRegister);

// Whether a run prints or saves the row: a taxpayer who bought nothing only when asked.
inline bool takesPart(const data::OverviewRow& row, const BatchRequest& request)
{
    return row.bought() || request.withoutPurchases;
}

// "<number>_<short name>_<year>[_<half-year>].pdf", made safe as a file name (fileNameSafe).
QString batchFileName(const data::OverviewRow& row, int year, int half);

// Writes the file of one taxpayer of the overview (half: 0 or 1 up to 2012). The file appears
// only whole. A database failure or a file that cannot be written is the outcome's reason,
// never an exception. A taxpayer whose lines lack rates is passed over (MissingRates, the
// rates named in the reason) unless the request allows it.
BatchOutcome writeTaxpayerPdf(Tdm_1& dm, const data::Overview& overview, const data::OverviewRow& row, int half,
                              const BatchRequest& request);
// Prints one taxpayer's printout, report by report, through `printReport` (false when the
// printer refused a report); passed over as writeTaxpayerPdf passes over, Written when printed.
BatchOutcome printTaxpayer(Tdm_1& dm, const data::Overview& overview, const data::OverviewRow& row, int half,
                           const BatchRequest& request, const std::function<bool(report::Report&)>& printReport);
// "Wydrukowano podatników: 3." and the taxpayers passed over for missing rates or not printed.
QString printSummary(const std::vector<BatchOutcome>& outcomes);

// The reason a taxpayer of the overview cannot be printed as it stands: the warning about
// the rates its settlement lacks (data::Settlement::missingRatesWarning), or empty.
QString missingRatesOf(Tdm_1& dm, const data::Overview& overview, const data::OverviewRow& row);


// "Zapisano 12 plików, pominięto 3 (bez zakupów), nie zapisano 1: …": the summary of a run.
QString batchSummary(const std::vector<BatchOutcome>& outcomes, bool stopped);

} // namespace reports
