#include "preview_timing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include "report/page_view.h"
#include "report/report.h"
#include "report/report_printer.h"
#include "reports/pod_wydr.h"

namespace bench {

double firstPreviewPageMs(Tdm_1& dm, const reports::ReportSubject& inputs, reports::ReportChoice choice)
{
    QElapsedTimer clock;
    clock.start();
    auto windows = reports::createReports(dm, inputs, choice);
    report::ReportPrinter& printer = windows.front()->raport().prepare();
    auto* preview = new TCustPreview(&printer);
    double shown = 0;
    QEventLoop loop;
    QObject::connect(&printer, &report::ReportPrinter::pageAvailable, &loop, [&](int count) {
        if (count < 1 || shown > 0)
            return;
        preview->findChild<report::PageView*>(QStringLiteral("QRPreview1"))->widget()->repaint();
        shown = clock.nsecsElapsed() / 1e6;
        loop.quit();
    });
    preview->showMaximized();
    loop.exec();
    preview->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return shown;
}

} // namespace bench
