#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace report {

class Report;
class ReportPrinter;

// What writing a PDF file came to.
struct PdfOutcome {
    int pages = 0;        // pages in the file written
    QString error;        // why no file was written, in words for the user; empty when it was
    bool stopped = false; // the writing was abandoned because the caller asked to stop
    explicit operator bool() const { return error.isEmpty(); }
};

// Asked before each report's pages are made and before each page is drawn; true abandons
// the file.
using StopAsked = std::function<bool()>;

// Writes the pages of the printers' reports, one report after the other, into one PDF file:
// A4, each page in its own report's orientation, fonts embedded; pages still missing are
// made now. The bytes go to a temporary file in the same folder, which takes the file's name
// only when complete: a failure or a stop leaves no part of a file behind and an existing
// file as it was. A name that exists and is no regular file (a device, a pipe) is written
// directly, all at once.
PdfOutcome writePdf(const std::vector<ReportPrinter*>& printers, const QString& fileName, const StopAsked& stop = {});
// The pages of one printer object.
PdfOutcome writePdf(ReportPrinter& printer, const QString& fileName);
// The pages of a fresh preparation of the report.
PdfOutcome writePdf(Report& report, const QString& fileName);

} // namespace report
