#include "reports/printout_batch.h"

#include <QDir>
#include <QStringList>

#include "data/dm1.h"
#include "data/settlement.h"
#include "report/pdf.h"
#include "report/report.h"
#include "reports/report_set.h"
#include "reports/report_subject.h"

namespace reports {

QString batchFileName(const data::OverviewRow& row, int year, int half)
{
    QString name = QStringLiteral("%1_%2_%3").arg(row.number).arg(row.shortName.trimmed()).arg(year);
    if (data::usesHalfYears(year))
        name += half == 1 ? QStringLiteral("_II") : QStringLiteral("_I");
    return text::fileNameSafe(name) + QStringLiteral(".pdf");
}

TaxpayerPrintout taxpayerPrintout(Tdm_1& dm, const data::Overview& overview, const data::OverviewRow& row, int half,
                                  bool withRegister)
{
    TaxpayerPrintout printout;
    const ReportSubject subject(overview.settlementOf(row), half);
    printout.windows = createReports(dm, subject, ReportChoice::Statements);
    if (withRegister)
        for (auto& w : createReports(dm, subject, ReportChoice::PurchaseRegister))
            printout.windows.push_back(std::move(w));
    return printout;
}

namespace {

// One taxpayer of a run: passed over when it bought nothing (unless asked) or when its lines
// lack rates (unless allowed); otherwise `output` puts its printout out, and what it throws,
// or the reason it gives, fails the taxpayer alone.
BatchOutcome takeTaxpayer(Tdm_1& dm, const data::Overview& overview, const data::OverviewRow& row, int half,
                          const BatchRequest& request, const std::function<QString(const TaxpayerPrintout&)>& output)
{
    BatchOutcome outcome;
    outcome.row = &row;
    if (!takesPart(row, request)) {
        outcome.reason = QStringLiteral("bez zakupów w okresie");
        return outcome;
    }
    try {
        if (row.linesWithoutRate > 0 && !request.allowMissingRates) {
            outcome.result = BatchOutcome::Result::MissingRates;
            outcome.reason = missingRatesOf(dm, overview, row);
            return outcome;
        }
        outcome.reason = output(taxpayerPrintout(dm, overview, row, half, request.withRegister));
    } catch (const std::exception& e) {
        outcome.reason = QString::fromUtf8(e.what());
    }
    outcome.result = outcome.reason.isEmpty() ? BatchOutcome::Result::Written : BatchOutcome::Result::Failed;
    return outcome;
}

} // namespace

BatchOutcome writeTaxpayerPdf(Tdm_1& dm, const data::Overview& overview, const data::OverviewRow& row, int half,
                              const BatchRequest& request)
{
    const QString file = QDir(request.folder).filePath(batchFileName(row, overview.year, half));
    BatchOutcome outcome = takeTaxpayer(dm, overview, row, half, request, [&file](const TaxpayerPrintout& printout) {
        std::vector<report::ReportPrinter*> printers;
        for (const auto& w : printout.windows)
            printers.push_back(&w->raport().prepare());
        const report::PdfOutcome written = report::writePdf(printers, file);
        return written ? QString() : written.error;
    });
    outcome.file = file;
    return outcome;
}

BatchOutcome printTaxpayer(Tdm_1& dm, const data::Overview& overview, const data::OverviewRow& row, int half,
                           const BatchRequest& request, const std::function<bool(report::Report&)>& printReport)
{
    return takeTaxpayer(dm, overview, row, half, request, [&printReport](const TaxpayerPrintout& printout) {
        for (const auto& w : printout.windows)
            if (!printReport(w->raport()))
                return QStringLiteral("Nie można drukować na wybranej drukarce.");
        return QString();
    });
}

QString printSummary(const std::vector<BatchOutcome>& outcomes)
{
    int printed = 0;
    QStringList lacking, failures;
    for (const BatchOutcome& o : outcomes) {
        const QString line = QStringLiteral("%1 %2: %3").arg(o.row->number).arg(o.row->shortName, o.reason);
        if (o.result == BatchOutcome::Result::Written)
            ++printed;
        else if (o.result == BatchOutcome::Result::MissingRates)
            lacking << line;
        else if (o.result == BatchOutcome::Result::Failed)
            failures << line;
    }
    QString summary = QStringLiteral("Wydrukowano podatników: %1.").arg(printed);
    if (!lacking.isEmpty())
        summary += QStringLiteral("\nPominięto (brak stawek, opłata byłaby zaniżona):\n") + lacking.join(QLatin1Char('\n'));
    if (!failures.isEmpty())
        summary += QStringLiteral("\nNie wydrukowano:\n") + failures.join(QLatin1Char('\n'));
    return summary;
}

QString missingRatesOf(Tdm_1& dm, const data::Overview& overview, const data::OverviewRow& row)
{
    if (row.linesWithoutRate == 0)
        return {};
    return data::computeSettlement(dm, row.shortName, overview.year, overview.period, overview.parameters)
        .missingRatesWarning();
}

QString batchSummary(const std::vector<BatchOutcome>& outcomes, bool stopped)
{
    int written = 0, skipped = 0;
    QStringList lacking, failures;
    for (const BatchOutcome& o : outcomes) {
        const QString line = QStringLiteral("%1 %2: %3").arg(o.row->number).arg(o.row->shortName, o.reason);
        switch (o.result) {
        case BatchOutcome::Result::Written: ++written; break;
        case BatchOutcome::Result::Skipped: ++skipped; break;
        case BatchOutcome::Result::MissingRates: lacking << line; break;
        case BatchOutcome::Result::Failed: failures << line; break;
        }
    }
    QString text = QStringLiteral("Zapisano plików: %1. Pominięto (bez zakupów): %2.").arg(written).arg(skipped);
    if (!lacking.isEmpty())
        text += QStringLiteral(" Pominięto (brak stawek, opłata byłaby zaniżona): %1.").arg(lacking.size());
    text += QStringLiteral(" Nie zapisano: %1.").arg(failures.size());
    if (stopped)
        text += QStringLiteral("\nPrzerwano na życzenie: pozostali podatnicy nie mają plików.");
    if (!lacking.isEmpty() || !failures.isEmpty())
        text += QStringLiteral("\n\n") + (lacking + failures).join(QLatin1Char('\n'));
    return text;
}

} // namespace reports
