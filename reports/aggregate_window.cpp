#include "reports/aggregate_window.h"

#include "data/dm1.h"
#include "data/field_names.h"
#include "desktop/quietly.h"
#include "reports/report_inputs.h"

namespace reports {

AggregateWindow::AggregateWindow(Tdm_1& dm, const ReportInputs& inputs, const QString& caption)
    : ReportWindow(caption, QStringLiteral("Wydruk zestawienia zbiorczego")), dm_(dm), inputs_(inputs)
{
    readFromSnapshot(dm);
    raport().setOrientation(QPageLayout::Portrait);
    dm.IBQ_zbior_w.setParam(data::par::naz, inputs.selectedTaxpayer());
    dm.IBQ_zbior_w.open();
    raport().setMaster(dm.IBQ_zbior_w);
}

AggregateWindow::~AggregateWindow()
{
    desktop::quietly("closing the aggregate statement", [this] { dm_.IBQ_zbior_w.close(); });
}

} // namespace reports
