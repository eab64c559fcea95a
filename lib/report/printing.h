#pragma once

class QPrinter;

namespace report {

class ReportPrinter;

// The printer, copies, page range and orientation used for one report's printer object (A4
// in the report's orientation until changed); the print setup dialog edits these. They live
// as long as the printer object.
QPrinter& printSettings(ReportPrinter& printer);
// Prints the printer's page range (all pages when none is chosen), as many copies as asked;
// pages that no preview has made are made as they print and not kept (ReportPrinter::eachPage).
// False when the printer did not open.
bool print(ReportPrinter& pages, QPrinter& printer);

} // namespace report
