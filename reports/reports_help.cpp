#include "reports/reports_help.h"

#include <QUrl>

#include "desktop/help_system.h"

void registerReportsHelp()
{
    // The pages are compiled into this static library; its resources are registered by hand.
    Q_INIT_RESOURCE(reports_help);
    desktop::HelpSystem::addTopic(reports_help::settlement, QStringLiteral("Naliczenie opłat"),
                                  QUrl(QStringLiteral("qrc:/help/settlement.html")));
    desktop::HelpSystem::addTopic(reports_help::officeOverview, QStringLiteral("Zestawienie opłat wszystkich podatników"),
                                  QUrl(QStringLiteral("qrc:/help/office_overview.html")));
}
