#pragma once

#include <QString>
#include <QTextStream>
#include <functional>
#include <vector>

namespace bench {

class ForwardingProxy;

// What a piece of work cost through the counting proxy: its round trips ("turns"), the bytes
// each way and the time it took here.
struct Measure {
    int turns = 0;
    qint64 toServer = 0, toClient = 0;
    double ms = 0;
};

// A line of the table: what was done, and its measures in each run.
struct TurnRow {
    QString what;
    std::vector<Measure> runs;
};

// Whether the work's clients end with it: a client process that has ended may still have its
// last packets (the detach) on their way through the proxy, and they are waited for.
enum class ClientsEnd { Yes, No };

Measure measure(ForwardingProxy& proxy, const std::function<void()>& work, ClientsEnd clientsEnd = ClientsEnd::Yes);

// The table: turns, what they alone cost at a round trip of 10 and 30 ms, the best time here
// and the bytes; a cell shows every run's figure ("a / b") where the runs differ.
void printTurns(QTextStream& out, const QString& firstColumn, const std::vector<TurnRow>& rows);

} // namespace bench
