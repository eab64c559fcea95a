#include "reports/aggregate_window.h"

#include <memory>

#include "data/taxpayers.h"
#include "report/memory_rows.h"
#include "reports/report_subject.h"

namespace reports {

AggregateWindow::AggregateWindow(Tdm_1& dm, const ReportSubject& subject, const QString& caption)
    : ReportWindow(caption, QStringLiteral("Wydruk zestawienia zbiorczego")), subject_(subject)
{
    readFromSnapshot(dm);
    raport().setOrientation(QPageLayout::Portrait);
    data::TaxpayerRecord record = data::Taxpayers(dm).recordForReports(subject.choice.taxpayer);
    raport().setMaster(std::make_unique<report::MemoryRows>(record.columns, std::move(record.rows)));
}

} // namespace reports
