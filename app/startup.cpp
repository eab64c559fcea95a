#include "startup.h"

#include <QFileInfo>
#include <QLoggingCategory>

#include <exception>

#include "data/connection_settings.h"
#include "data/dm1.h"
#include "desktop/messages.h"
#include "first_start.h"

namespace {

Q_LOGGING_CATEGORY(lcStartup, "brenvald.startup")

} // namespace

bool connectDataModule(Tdm_1& dm)
{
    // No database where the program looks: the user is offered one instead of an error.
    const QString name = data::resolveDatabaseName();
    if (!data::isRemoteName(name) && !QFileInfo::exists(data::clientDatabaseName(name))) {
        qCInfo(lcStartup).noquote() << "no database at" << data::clientDatabaseName(name);
        return offerDatabase(dm, data::hasLocationFile() ? data::clientDatabaseName(name) : QString());
    }
    bool connected = false;
    QString failure;
    try {
        dm.connectFromLocationFile();
        connected = true;
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    if (!connected) {
        qCWarning(lcStartup).noquote() << "no database:" << failure;
        desktop::showError(failure);
    } else {
        qCInfo(lcStartup).noquote() << "connected to" << dm.databaseName();
    }
    return connected;
}
