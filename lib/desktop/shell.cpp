#include "desktop/shell.h"

#include "desktop/messages.h"
#include "desktop/signal_catcher.h"

#include <QDesktopServices>
#include <QUrl>

namespace desktop {

namespace {

AddressHandler& handler()
{
    static AddressHandler h;
    return h;
}

} // namespace

bool openAddress(const QString& url)
{
    if (handler()) {
        handler()(url);
        return true;
    }
    const SignalsOpenedForChildren viewerEndsAtLogout;
    if (QDesktopServices::openUrl(QUrl(url)))
        return true;
    showError(QStringLiteral("Nie można otworzyć adresu %1.\nW systemie brak programu, który go obsługuje.")
                  .arg(url));
    return false;
}

bool openFile(const QString& path)
{
    return openAddress(QUrl::fromLocalFile(path).toString());
}

void setAddressHandler(AddressHandler h)
{
    handler() = std::move(h);
}

} // namespace desktop
