#include "startup.h"

#include <exception>

#include "data/dm1.h"
#include "desktop/messages.h"

bool connectDataModule(Tdm_1& dm)
{
    try {
        dm.connectFromLocationFile();
        return true;
    } catch (const std::exception& e) {
        desktop::showError(QString::fromUtf8(e.what()));
        return false;
    }
}
