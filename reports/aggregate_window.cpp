#include "reports/aggregate_window.h"

#include "data/dm1.h"
#include "reports/report_inputs.h"

namespace reports {

AggregateWindow::AggregateWindow(Tdm_1& dm, const ReportInputs& inputs, const QString& caption)
    : ReportWindow(caption, QStringLiteral("Wydruk zestawienia zbiorczego")), inputs_(inputs)
{
    readFromSnapshot(dm, Names::NotNeeded);
    raport().setOrientation(QPageLayout::Portrait);
    keepOpen(dm.openAggregateStatement(inputs.selectedTaxpayer()));
    raport().setMaster(dm.IBQ_zbior_w);
}

} // namespace reports
