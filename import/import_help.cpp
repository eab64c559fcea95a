#include "import/import_help.h"

#include <QUrl>

#include "desktop/help_system.h"

void registerImportHelp()
{
    // The pages are compiled into this static library; its resources are registered by hand.
    Q_INIT_RESOURCE(import_help);
    desktop::HelpSystem::addTopic(import_help::taxpayerImport, QStringLiteral("Przepisanie danych podatników z systemu PKPiR"),
                                  QUrl(QStringLiteral("qrc:/help/import_taxpayers.html")));
    desktop::HelpSystem::addTopic(import_help::purchaseImport, QStringLiteral("Import zakupów paliw z systemu PKPiR lub FK"),
                                  QUrl(QStringLiteral("qrc:/help/import_purchases.html")));
    desktop::HelpSystem::addTopic(import_help::invoiceImport, QStringLiteral("Import zakupów z e-faktur (KSeF)"),
                                  QUrl(QStringLiteral("qrc:/help/import_invoices.html")));
}
