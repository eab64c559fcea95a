#pragma once

#include <QString>
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

    Service(const QString& server, const QString& user, const QString& password);
    ~Service();
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    // Throws Error with the engine's text when the work fails.
    void backup(const QString& database, const QString& backupFile, const Progress& progress = {});
    // Makes a new database; an existing file of that name is never replaced.
    void restore(const QString& backupFile, const QString& database, const Progress& progress = {});

private:
    void start(const QByteArray& request, const QString& context);
    void follow(const Progress& progress, const QString& context);
    void waitUntilDone(const QString& context);

    unsigned int handle_ = 0;
};

} // namespace fb
