#include "turn_table.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QThread>

#include <algorithm>

#include "forwarding_proxy.h"

namespace bench {

Measure measure(ForwardingProxy& proxy, const std::function<void()>& work, ClientsEnd clientsEnd)
{
    proxy.resetTurns();
    QElapsedTimer t;
    t.start();
    work();
    const double ms = t.nsecsElapsed() / 1e6;
    while (clientsEnd == ClientsEnd::Yes && proxy.connections() > 0)
        QThread::msleep(5);
    return {proxy.turns(), proxy.bytesToServer(), proxy.bytesToClient(), ms};
}

namespace {

QString cell(const std::vector<Measure>& runs, const std::function<QString(const Measure&)>& of)
{
    const QString first = of(runs.front());
    for (const Measure& m : runs)
        if (of(m) != first) {
            QStringList all;
            for (const Measure& each : runs)
                all << of(each);
            return all.join(QStringLiteral(" / "));
        }
    return first;
}

} // namespace

void printTurns(QTextStream& out, const QString& firstColumn, const std::vector<TurnRow>& rows)
{
    out << firstColumn << "\tobiegi\tprzy RTT 10 ms [s]\tprzy RTT 30 ms [s]\tczas tutaj [ms]\tbajty do serwera\tbajty od serwera\n";
    for (const TurnRow& r : rows) {
        const auto seconds = [](int rttMs) {
            return [rttMs](const Measure& m) { return QString::number(m.turns * rttMs / 1000.0, 'f', 2); };
        };
        double best = r.runs.front().ms;
        for (const Measure& m : r.runs)
            best = std::min(best, m.ms);
        out << r.what << '\t' << cell(r.runs, [](const Measure& m) { return QString::number(m.turns); }) << '\t'
            << cell(r.runs, seconds(10)) << '\t' << cell(r.runs, seconds(30)) << '\t' << QString::number(best, 'f', 0)
            << '\t' << cell(r.runs, [](const Measure& m) { return QString::number(m.toServer); }) << '\t'
            << cell(r.runs, [](const Measure& m) { return QString::number(m.toClient); }) << '\n';
    }
}

} // namespace bench
