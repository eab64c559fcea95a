#include "purchases/purchases_help.h"

#include <QUrl>

#include "desktop/help_system.h"

void registerPurchasesHelp()
{
    // The page is compiled into this static library; its resources are registered by hand.
    Q_INIT_RESOURCE(purchases_help);
    desktop::HelpSystem::addTopic(purchases_help::purchaseEntry, QStringLiteral("Zakupy paliwa"),
                                  QUrl(QStringLiteral("qrc:/help/purchases.html")));
}
