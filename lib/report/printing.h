#pragma once

class QPrinter;

namespace report {

class ReportPrinter;

// The printer, copies, page range and orientation used for one report's printer object (A4
// in the report's orientation until changed); the print setup dialog edits these. They live
// as long as the printer object.
QPrinter& printSettings(ReportPrinter& printer);
// Makes every page still missing, then prints the printer's page range on it (all pages when
// none is chosen), as many copies as asked. False when the printer did not open.
bool print(ReportPrinter& pages, QPrinter& printer);

} // namespace report
