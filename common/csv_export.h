#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace common {

// "<what>_<year>[_I|_II].csv", safe as a file name: the name a period's CSV file is offered under.
QString periodCsvName(const QString& what, int year, int part);

// "Eksport do CSV": asks where to save (starting in the CSV files' folder), has `write` write
// the file, and says what came of it. `write` gives false with the reason when it could not.
void exportCsv(QWidget* parent, const QString& suggestedName,
               const std::function<bool(const QString& fileName, QString* error)>& write);

} // namespace common
