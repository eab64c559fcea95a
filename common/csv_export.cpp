#include "common/csv_export.h"

#include <QDir>

#include "data/period.h"
#include "desktop/messages.h"
#include "desktop/save_file_dialog.h"
#include "text/file_name.h"

namespace common {

QString periodCsvName(const QString& what, int year, int part)
{
    QString name = QStringLiteral("%1_%2").arg(what).arg(year);
    if (data::usesHalfYears(year))
        name += part == 1 ? QStringLiteral("_II") : QStringLiteral("_I");
    return text::fileNameSafe(name) + QStringLiteral(".csv");
}

void exportCsv(QWidget* parent, const QString& suggestedName,
               const std::function<bool(const QString& fileName, QString* error)>& write)
{
    const QString caption = QStringLiteral("Eksport do CSV");
    const QString file = desktop::askSaveFileName(
        {caption, suggestedName, QStringLiteral("Pliki CSV (*.csv)"), QStringLiteral("csv"), QStringLiteral("csv")}, parent);
    if (file.isEmpty())
        return;
    QString error;
    if (write(file, &error))
        desktop::showInformation(QStringLiteral("Zapisano plik %1.").arg(QDir::toNativeSeparators(file)), caption, parent);
    else
        desktop::showError(error, parent);
}

} // namespace common
