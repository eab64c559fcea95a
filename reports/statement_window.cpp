#include "reports/statement_window.h"

#include "data/dm1.h"
#include "data/field_names.h"
#include "desktop/quietly.h"
#include "reports/report_inputs.h"

namespace reports {

StatementWindow::StatementWindow(Tdm_1& dm, const ReportInputs& inputs, const QString& caption)
    : ReportWindow(caption, QStringLiteral("Wydruk zużycia paliw")), dm_(dm)
{
    readFromSnapshot(dm);
    openLookups(dm);
    const data::Period period = inputs.period();
    dm.chooseStatementLines(inputs.selectedTaxpayer(), period);
    dm.IBQ_sil_w.setParam(data::par::wybrok, inputs.selectedYear());
    dm.IBQ_opl_w.setParam(data::par::wybrok, inputs.selectedYear());
    dm.IBQ_sil_w.open();
    dm.IBQ_opl_w.open();
    raport().setMaster(dm.IBQ_sil_w);
    raport().setDetail(dm.IBQ_opl_w);
}

StatementWindow::~StatementWindow()
{
    desktop::quietly("closing the statement", [this] {
        dm_.IBQ_sil_w.close();
        dm_.IBQ_opl_w.close();
    });
}

QString StatementWindow::runningNumber()
{
    return QString::number(raport().recordNumber()) + QLatin1Char('.');
}

} // namespace reports
