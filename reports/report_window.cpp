#include "reports/report_window.h"

#include "data/dm1.h"

namespace reports {

ReportWindow::ReportWindow(const QString& caption, const QString& reportTitle) : caption_(caption)
{
    raport_.setTitle(reportTitle);
}

void ReportWindow::openLookups(Tdm_1& dm)
{
    for (ds::Dataset* d : {&dm.ibds_pal, &dm.IBDS_siln}) {
        if (d->isActive() && !d->isEditing())
            d->refresh();
        d->open();
    }
}

} // namespace reports
