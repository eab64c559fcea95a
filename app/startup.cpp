#include "startup.h"

#include <QLoggingCategory>

#include <exception>

#include "data/dm1.h"
#include "desktop/messages.h"

namespace {

Q_LOGGING_CATEGORY(startupLog, "brenvald.startup")

} // namespace

bool connectDataModule(Tdm_1& dm)
{
    bool connected = false;
    QString failure;
    try {
        dm.connectFromLocationFile();
        connected = true;
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    if (!connected) {
        qCWarning(startupLog).noquote() << "no database:" << failure;
        desktop::showError(failure);
    } else {
        qCInfo(startupLog).noquote() << "connected to" << dm.db_opl.databaseName();
    }
    return connected;
}
