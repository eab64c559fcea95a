#include "reports/statement_window.h"

#include "data/dm1.h"
#include "reports/report_inputs.h"

namespace reports {

StatementWindow::StatementWindow(Tdm_1& dm, const ReportInputs& inputs, const QString& caption)
    : ReportWindow(caption, QStringLiteral("Wydruk zużycia paliw")), dm_(dm)
{
    readFromSnapshot(dm, Names::Needed);
    keepOpen(dm.openStatement(inputs.selectedTaxpayer(), inputs.selectedYear(), inputs.period(), inputs.settlement()));
    raport().setMaster(dm.IBQ_sil_w);
    raport().setDetail(dm.IBQ_opl_w);
}

QString StatementWindow::runningNumber()
{
    return QString::number(raport().recordNumber()) + QLatin1Char('.');
}

} // namespace reports
