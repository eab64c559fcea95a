#include "bench_database.h"

#include <QDir>
#include <QTemporaryDir>

#include "data/reference_data.h"

namespace bench {

QString freshDeliveredDatabase()
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/brenvald-bench-XXXXXX"));
    static int counter = 0;
    const QString path = folder.filePath(QStringLiteral("bench-%1.gdb").arg(++counter));
    data::createDeliveredDatabase(path);
    return path;
}

} // namespace bench
