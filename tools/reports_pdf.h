#pragma once

#include <QString>
#include <vector>

namespace report {
class Report;
}

namespace tools {

// Writes the pages of the reports, one report after the other, into one PDF file; each page
// keeps its report's orientation. Returns the number of pages written, or -1 when the file
// could not be written.
int writeReportsPdf(const std::vector<report::Report*>& reports, const QString& fileName);

} // namespace tools
