#include "reports/report_window.h"

#include "data/dm1.h"

namespace reports {

ReportWindow::ReportWindow(const QString& caption, const QString& reportTitle) : caption_(caption)
{
    raport_.setTitle(reportTitle);
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::readFromSnapshot(Tdm_1& dm)
{
    snapshot_ = dm.readReportsFromSnapshot();
}

} // namespace reports
