#include "reports/printout_batch.h"

#include <QDir>

#include "report/pdf.h"
#include "report/report.h"
#include "reports/report_set.h"

namespace reports {

QString batchFileName(const data::OverviewRow& row, int year, int half)
{
    QString name = QStringLiteral("%1_%2_%3").arg(row.number).arg(row.shortName.trimmed()).arg(year);
    if (data::usesHalfYears(year))
        name += half == 1 ? QStringLiteral("_II") : QStringLiteral("_I");
    return fileNameSafe(name) + QStringLiteral(".pdf");
}

TaxpayerPrintout taxpayerPrintout(Tdm_1& dm, const data::Overview& overview, const data::OverviewRow& row, int half,
                                  bool withRegister)
{
    TaxpayerPrintout printout;
    printout.inputs = std::make_unique<FixedReportInputs>(overview.settlementOf(row), half);
    printout.windows = createReports(dm, *printout.inputs, ReportChoice::Statements);
    if (withRegister)
        for (auto& w : createReports(dm, *printout.inputs, ReportChoice::PurchaseRegister))
            printout.windows.push_back(std::move(w));
    return printout;
}

BatchOutcome writeTaxpayerPdf(Tdm_1& dm, const data::Overview& overview, const data::OverviewRow& row, int half,
                              const BatchRequest& request)
{
    BatchOutcome outcome;
    outcome.row = &row;
    outcome.file = QDir(request.folder).filePath(batchFileName(row, overview.year, half));
    if (!takesPart(row, request)) {
        outcome.reason = QStringLiteral("bez zakupów w okresie");
        return outcome;
    }
    try {
        const TaxpayerPrintout printout = taxpayerPrintout(dm, overview, row, half, request.withRegister);
        std::vector<report::ReportPrinter*> printers;
        for (const auto& w : printout.windows)
            printers.push_back(&w->raport().prepare());
        const report::PdfOutcome written = report::writePdf(printers, outcome.file);
        if (!written) {
            outcome.result = BatchOutcome::Result::Failed;
            outcome.reason = written.error;
            return outcome;
        }
    } catch (const std::exception& e) {
        outcome.result = BatchOutcome::Result::Failed;
        outcome.reason = QString::fromUtf8(e.what());
        return outcome;
    }
    outcome.result = BatchOutcome::Result::Written;
    return outcome;
}

QString batchSummary(const std::vector<BatchOutcome>& outcomes, bool stopped)
{
    int written = 0, skipped = 0;
    QStringList failures;
    for (const BatchOutcome& o : outcomes) {
        if (o.result == BatchOutcome::Result::Written)
            ++written;
        else if (o.result == BatchOutcome::Result::Skipped)
            ++skipped;
        else
            failures << QStringLiteral("%1 %2: %3").arg(o.row->number).arg(o.row->shortName, o.reason);
    }
    QString text = QStringLiteral("Zapisano plików: %1. Pominięto (bez zakupów): %2. Nie zapisano: %3.")
                       .arg(written)
                       .arg(skipped)
                       .arg(failures.size());
    if (stopped)
        text += QStringLiteral("\nPrzerwano na życzenie: pozostali podatnicy nie mają plików.");
    if (!failures.isEmpty())
        text += QStringLiteral("\n\n") + failures.join(QLatin1Char('\n'));
    return text;
}

} // namespace reports
