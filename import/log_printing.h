#pragma once

#include <QStringList>

class QWidget;

// Printing the import log: the print dialog, then the lines in a fixed-pitch font of 10
// points (Courier New CE where the ledgers' system has it; here the metric-compatible
// Liberation Mono), one line step apart, n − 1 lines to a page, where n is the page height
// less 50 pixels in line steps.
namespace importlog {

// The lines a page holds, for a page height and a line step in printer pixels.
int linesPerPage(int pageHeight, int lineStep);
// False when the dialog was cancelled or the printer did not open.
bool print(const QStringList& lines, QWidget* parent);

} // namespace importlog
