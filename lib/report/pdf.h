#pragma once

#include <QString>

namespace report {

class Report;
class ReportPrinter;

// Writes every page (made now where missing) to a PDF file, A4 in the report's orientation,
// fonts embedded. False when the file could not be written.
bool writePdf(ReportPrinter& printer, const QString& fileName);
// The same for a fresh preparation of the report.
bool writePdf(Report& report, const QString& fileName);

} // namespace report
