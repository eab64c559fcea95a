#include "tables/tables_help.h"

#include <QUrl>

#include "desktop/help_system.h"

void registerTablesHelp()
{
    // The pages are compiled into this static library; its resources are registered by hand.
    Q_INIT_RESOURCE(tables_help);
    using desktop::HelpSystem;
    HelpSystem::addTopic(tables_help::fuelTypes, QStringLiteral("Rodzaje paliw"),
                         QUrl(QStringLiteral("qrc:/help/fuel_types.html")));
    HelpSystem::addTopic(tables_help::vehicleTypes, QStringLiteral("Rodzaje pojazdów"),
                         QUrl(QStringLiteral("qrc:/help/vehicle_types.html")));
    HelpSystem::addTopic(tables_help::feeRates, QStringLiteral("Stawki opłat"),
                         QUrl(QStringLiteral("qrc:/help/fee_rates.html")));
    HelpSystem::addTopic(tables_help::yearlyParameters, QStringLiteral("Wskaźniki"),
                         QUrl(QStringLiteral("qrc:/help/yearly_parameters.html")));
}
