#include "report/pdf.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "report/page_painter.h"
#include "report/report.h"
#include "report/report_printer.h"
#include "text/write_failure.h"

namespace report {

namespace {

constexpr int pdfDotsPerInch = 600;

// The PDF writer takes and frees its compression buffers, some hundreds of kilobytes, for
// every page; the C library would give such blocks back to the system at each free and take
// them again page after page (a quarter of the time of a long register). Kept instead.
void keepFreedBuffers()
{
#ifdef __GLIBC__
    static const bool once = [] {
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
        return true;
    }();
    (void)once;
#endif
}

// No margins: page items are placed from the paper's corner.
QPageLayout layoutOf(const Report& r)
{
    return QPageLayout(QPageSize(QPageSize::A4), r.orientation(), QMarginsF());
}

PdfOutcome failed(const QString& fileName, const QString& reason)
{
    PdfOutcome outcome;
    outcome.error = QStringLiteral("Nie można zapisać pliku %1.").arg(QDir::toNativeSeparators(fileName));
    if (!reason.isEmpty())
        outcome.error += QLatin1Char('\n') + reason;
    return outcome;
}

PdfOutcome stopped(const QString& fileName)
{
    PdfOutcome outcome;
    outcome.stopped = true;
    outcome.error = QStringLiteral("Przerwano zapisywanie pliku %1.").arg(QDir::toNativeSeparators(fileName));
    return outcome;
}

// Draws the pages as a PDF document on the open device. The outcome's error, when there is
// one, is the reason alone.
PdfOutcome drawPages(const std::vector<ReportPrinter*>& printers, QIODevice& device, const StopAsked& stop)
{
    const auto stopAsked = [&stop] { return stop && stop(); };
    keepFreedBuffers();
    PdfOutcome outcome;
    const Report& first = printers.front()->report();
    QPdfWriter pdf(&device);
    pdf.setResolution(pdfDotsPerInch);
    pdf.setTitle(first.documentTitle());
    // The program that made the file, with its version; a PDF reader shows it as the creator.
    pdf.setCreator(QStringLiteral("%1 %2").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion()).trimmed());
    pdf.setPageLayout(layoutOf(first));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        outcome.error = QStringLiteral("Nie udało się rozpocząć dokumentu PDF.");
        return outcome;
    }
    const auto drawAll = [&] {
        for (ReportPrinter* printer : printers) {
            if (stopAsked())
                return false;
            const bool whole = printer->eachPage([&](const Page& page) {
                if (stopAsked())
                    return false;
                if (outcome.pages > 0) {
                    pdf.setPageLayout(layoutOf(printer->report())); // applies to the page that newPage starts
                    pdf.newPage();
                }
                paintPage(painter, page, pdfDotsPerInch / 25.4);
                ++outcome.pages;
                return true;
            });
            if (!whole)
                return false;
        }
        return true;
    };
    outcome.stopped = !drawAll();
    if (!painter.end() && !outcome.stopped)
        outcome.error = QStringLiteral("Nie udało się zakończyć dokumentu PDF.");
    return outcome;
}

// A device or a pipe cannot be replaced by renaming a file over it: the document is made in
// memory and written to it in one piece.
PdfOutcome writeDirectly(const std::vector<ReportPrinter*>& printers, const QString& fileName, const StopAsked& stop)
{
    QBuffer memory;
    memory.open(QIODevice::WriteOnly);
    PdfOutcome outcome = drawPages(printers, memory, stop);
    if (outcome.stopped)
        return stopped(fileName);
    if (!outcome)
        return failed(fileName, outcome.error);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(memory.data()) != memory.size())
        return failed(fileName, text::writeFailureReason(file, fileName));
    return outcome;
}

} // namespace

PdfOutcome writePdf(const std::vector<ReportPrinter*>& printers, const QString& fileName, const StopAsked& stop)
{
    if (printers.empty())
        return failed(fileName, QStringLiteral("Nie ma stron do zapisania."));
    const QFileInfo existing(fileName);
    if (existing.exists() && !existing.isFile() && !existing.isDir())
        return writeDirectly(printers, fileName, stop);

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return failed(fileName, text::writeFailureReason(file, fileName));
    PdfOutcome outcome = drawPages(printers, file, stop);
    // A failed write is remembered by the file, which then refuses to take the name; its
    // reason is read now, as closing may replace it.
    const QString writeFailure = file.error() == QFileDevice::NoError ? QString() : text::writeFailureReason(file, fileName);
    if (outcome.stopped || !outcome) {
        file.cancelWriting(); // the temporary file goes with `file`
        return outcome.stopped ? stopped(fileName) : failed(fileName, outcome.error);
    }
    if (!file.commit())
        return failed(fileName, writeFailure.isEmpty() ? text::writeFailureReason(file, fileName) : writeFailure);
    return outcome;
}

PdfOutcome writePdf(ReportPrinter& printer, const QString& fileName)
{
    return writePdf(std::vector<ReportPrinter*>{&printer}, fileName);
}

PdfOutcome writePdf(Report& report, const QString& fileName)
{
    return writePdf(report.prepare(), fileName);
}

} // namespace report
