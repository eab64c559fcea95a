#include "registers/registers_help.h"

#include <QUrl>

#include "desktop/help_system.h"

void registerRegistersHelp()
{
    // The pages are compiled into this static library; its resources are registered by hand.
    Q_INIT_RESOURCE(registers_help);
    using desktop::HelpSystem;
    HelpSystem::addTopic(registers_help::taxpayers, QStringLiteral("Dane ewidencyjne podatnika"),
                         QUrl(QStringLiteral("qrc:/help/taxpayers.html")));
    HelpSystem::addTopic(registers_help::vehicles, QStringLiteral("Samochody"),
                         QUrl(QStringLiteral("qrc:/help/vehicles.html")));
}
