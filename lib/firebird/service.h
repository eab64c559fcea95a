#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace fb {

// The server's service manager: a database copied into a backup file and a backup file made
// into a new database, by the engine itself (the format of gbak, so either restores the
// other's copy). `server` is empty for the engine in this process (a local file), or the
// server part of a connection string ("serwer", "serwer/3051"); the file names are the
// server's.
class Service {
public:
    // Each line of the engine's account of its work, as it comes; the window shows them
    // as progress.
    using Progress = std::function<void(const QString& line)>;
    // Asked between the lines: true leaves the work unfinished.
    using StopAsked = std::function<bool()>;
    // What the engine said of its work, every line; `stopped` when it was left unfinished on
    // request (the engine in this process ends its part with the process; a server goes on).
    struct Account {
        QStringList lines;
        bool stopped = false;
    };

    Service(const QString& server, const QString& user, const QString& password);
    ~Service();
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    // Throws Error with the engine's text when the engine reports the work failed; its own
    // account may say more (a restore that met the end of a cut backup tells it nowhere else).
    Account backup(const QString& database, const QString& backupFile, const Progress& progress = {},
                   const StopAsked& stop = {});
    // Makes a new database; an existing file of that name is never replaced.
    Account restore(const QString& backupFile, const QString& database, const Progress& progress = {},
                    const StopAsked& stop = {});

private:
    void start(const QByteArray& request, const QString& context);
    Account follow(const Progress& progress, const StopAsked& stop, const QString& context);
    void waitUntilDone(const QString& context);

    unsigned int handle_ = 0;
    bool local_ = false;
};

} // namespace fb
