#include "firebird/service.h"

#include <algorithm>

#include <ibase.h>

#include <QFile>
#include <QThread>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "firebird/environment.h"
#include "firebird/error.h"
#include "firebird/parameter_block.h"

namespace fb {

namespace {

// The engine in this process meets the end of a cut backup with a question for the next volume
// on the process's standard output (and waits for no answer), where it means nothing to the
// user; the service's own account tells the caller. While a local service works, that output
// goes nowhere.
class StandardOutputSilenced {
public:
    explicit StandardOutputSilenced(bool silence)
    {
        if (!silence)
            return;
        std::fflush(stdout);
        const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        saved_ = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
        if (nowhere >= 0 && saved_ >= 0)
            ::dup2(nowhere, STDOUT_FILENO);
        if (nowhere >= 0)
            ::close(nowhere);
    }
    ~StandardOutputSilenced()
    {
        if (saved_ < 0)
            return;
        std::fflush(stdout);
        ::dup2(saved_, STDOUT_FILENO);
        ::close(saved_);
    }
    StandardOutputSilenced(const StandardOutputSilenced&) = delete;
    StandardOutputSilenced& operator=(const StandardOutputSilenced&) = delete;

private:
    int saved_ = -1;
};

// A number of a service request: the tag and the value, low byte first, with no length.
void appendRequestNumber(QByteArray& request, char item, quint32 value)
{
    request.append(item);
    for (int shift = 0; shift < 32; shift += 8)
        request.append(static_cast<char>((value >> shift) & 0xFF));
}

} // namespace

Service::Service(const QString& server, const QString& user, const QString& password)
{
    prepareEnvironment();
    local_ = server.isEmpty();
    const QByteArray name = (server.isEmpty() ? QString() : server + QLatin1Char(':')).toUtf8() + "service_mgr";
    QByteArray spb;
    spb.append(static_cast<char>(isc_spb_version));
    spb.append(static_cast<char>(isc_spb_current_version));
    appendShortText(spb, isc_spb_user_name, user.toUtf8());
    appendShortText(spb, isc_spb_password, password.toUtf8());
    ISC_STATUS_ARRAY status;
    const ProcessSignalsKept kept;
    isc_service_attach(status, static_cast<unsigned short>(name.size()), name.constData(), &handle_,
                       static_cast<unsigned short>(spb.size()), spb.constData());
    if (status[0] == 1 && status[1])
        handle_ = 0;
    check(status, QStringLiteral("attach %1").arg(QString::fromUtf8(name)));
}

Service::~Service()
{
    if (handle_) {
        ISC_STATUS_ARRAY status;
        isc_service_detach(status, &handle_);
    }
}

Service::Account Service::backup(const QString& database, const QString& backupFile, const Progress& progress,
                                 const StopAsked& stop)
{
    QByteArray request(1, static_cast<char>(isc_action_svc_backup));
    appendText(request, isc_spb_dbname, QFile::encodeName(database));
    appendText(request, isc_spb_bkp_file, QFile::encodeName(backupFile));
    request.append(static_cast<char>(isc_spb_verbose));
    const QString context = QStringLiteral("backup %1 to %2").arg(database, backupFile);
    start(request, context);
    return follow(progress, stop, context);
}

Service::Account Service::restore(const QString& backupFile, const QString& database, const Progress& progress,
                                  const StopAsked& stop)
{
    QByteArray request(1, static_cast<char>(isc_action_svc_restore));
    appendText(request, isc_spb_bkp_file, QFile::encodeName(backupFile));
    appendText(request, isc_spb_dbname, QFile::encodeName(database));
    appendRequestNumber(request, isc_spb_options, isc_spb_res_create);
    request.append(static_cast<char>(isc_spb_verbose));
    const QString context = QStringLiteral("restore %1 to %2").arg(backupFile, database);
    start(request, context);
    return follow(progress, stop, context);
}

void Service::start(const QByteArray& request, const QString& context)
{
    ISC_STATUS_ARRAY status;
    isc_service_start(status, &handle_, nullptr, static_cast<unsigned short>(request.size()), request.constData());
    check(status, context);
}

// Reads the engine's account until it ends, as much of it as has come in each request (a
// request is a round trip to a server: one per line made a backup hundreds of them); a
// failure of the work comes as the error of the last query. Each wait is bounded, so that a
// stop is seen while the engine works long without a word (an index of many rows, a backup
// file that is slow to come).
Service::Account Service::follow(const Progress& progress, const StopAsked& stop, const QString& context)
{
    const StandardOutputSilenced silenced(local_);
    Account account;
    // A wait of at most a second: the item, its length in two bytes, the seconds in four.
    const char bounded[] = {static_cast<char>(isc_info_svc_timeout), 4, 0, 1, 0, 0, 0};
    const char items[] = {static_cast<char>(isc_info_svc_to_eof)};
    QByteArray buffer(32768, '\0');
    QByteArray partial; // a line whose end has not come yet
    const auto takeLines = [&](bool all) {
        qsizetype from = 0;
        for (qsizetype end = partial.indexOf('\n'); end >= 0 || (all && from < partial.size());
             end = partial.indexOf('\n', from)) {
            const qsizetype to = end >= 0 ? end : partial.size();
            const QString line = QString::fromUtf8(partial.mid(from, to - from)).trimmed();
            from = to + 1;
            if (line.isEmpty())
                continue;
            account.lines << line;
            if (progress)
                progress(line);
        }
        partial.remove(0, std::min(from, partial.size()));
    };
    for (;;) {
        ISC_STATUS_ARRAY status;
        isc_service_query(status, &handle_, nullptr, sizeof bounded, bounded,
                          sizeof items, items, static_cast<unsigned short>(buffer.size()), buffer.data());
        check(status, context);
        const auto* p = reinterpret_cast<const unsigned char*>(buffer.constData());
        const int length = *p == isc_info_svc_to_eof ? p[1] | (p[2] << 8) : 0;
        const unsigned char after = *p == isc_info_svc_to_eof ? p[3 + length] : *p;
        partial.append(reinterpret_cast<const char*>(p + 3), length);
        takeLines(false);
        if (stop && stop()) {
            account.stopped = true;
            return account;
        }
        // The output is over when a request brings nothing and says neither that it waited
        // in vain nor that more is to come.
        if (length == 0 && after != isc_info_svc_timeout && after != isc_info_truncated) {
            takeLines(true);
            waitUntilDone(context);
            return account;
        }
    }
}

// The account is over before the engine's worker is: it is let finish before the service
// is let go (a process that ended meanwhile would take the worker down with it).
void Service::waitUntilDone(const QString& context)
{
    const char items[] = {static_cast<char>(isc_info_svc_running)};
    char answer[16];
    for (;;) {
        ISC_STATUS_ARRAY status;
        isc_service_query(status, &handle_, nullptr, 0, nullptr, sizeof items, items, sizeof answer, answer);
        check(status, context);
        const auto* p = reinterpret_cast<const unsigned char*>(answer);
        if (*p != isc_info_svc_running || (p[1] | p[2] << 8 | p[3] << 16 | p[4] << 24) == 0)
            return;
        QThread::msleep(10);
    }
}

} // namespace fb
