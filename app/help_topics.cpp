#include "help_topics.h"

#include "desktop/help_system.h"
#include "import/import_help.h"
#include "purchases/purchases_help.h"
#include "registers/registers_help.h"
#include "reports/reports_help.h"
#include "tables/tables_help.h"

#include <QUrl>

void registerHelpTopics()
{
    // The pages are compiled into this static library; its resources are registered by hand.
    Q_INIT_RESOURCE(help);
    using desktop::HelpSystem;
    HelpSystem::addTopic(HelpSystem::ContentsContext, QStringLiteral("Spis treści"),
                         QUrl(QStringLiteral("qrc:/help/contents.html")));
    HelpSystem::addTopic(help_context::mainWindow, QStringLiteral("Okno główne programu"),
                         QUrl(QStringLiteral("qrc:/help/main_window.html")));
    HelpSystem::addTopic(help_context::databaseLocation, QStringLiteral("Położenie bazy danych"),
                         QUrl(QStringLiteral("qrc:/help/database_location.html")));
    HelpSystem::addTopic(help_context::backup, QStringLiteral("Kopia zapasowa bazy danych"),
                         QUrl(QStringLiteral("qrc:/help/backup.html")));
    registerTablesHelp();
    registerRegistersHelp();
    registerPurchasesHelp();
    registerReportsHelp();
    registerImportHelp();
}
