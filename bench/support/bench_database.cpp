#include "bench_database.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtGlobal>
#include <algorithm>

#include "data/reference_data.h"
#include "desktop/messages.h"

namespace bench {

QString freshDeliveredDatabase()
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/brenvald-bench-XXXXXX"));
    static int counter = 0;
    const QString path = folder.filePath(QStringLiteral("bench-%1.gdb").arg(++counter));
    data::createDeliveredDatabase(path);
    return path;
}

std::vector<int> countsFromArguments(const QStringList& arguments, std::vector<int> defaults)
{
    std::vector<int> counts;
    for (const QString& a : arguments.mid(1))
        counts.push_back(a.toInt());
    return counts.empty() ? defaults : counts;
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void answerMessagesYes()
{
    desktop::setMessageHandler([](const desktop::Message& m) {
        QTextStream(stderr) << "komunikat: " << m.text << '\n';
        return desktop::Answer::Yes;
    });
}

void offscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace bench
