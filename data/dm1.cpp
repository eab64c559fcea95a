#include "data/dm1.h"

#include "data/connection_settings.h"
#include "dataset/error.h"

Tdm_1* dm_1 = nullptr;

Tdm_1::Tdm_1(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("dm_1"));
    defineDatasets();
    defineQueries();
    for (ds::Dataset* d : findChildren<ds::Dataset*>(QString(), Qt::FindDirectChildrenOnly))
        d->setDatabase(&db_opl, &tr_opl);
    attachHandlers();
}

Tdm_1::~Tdm_1()
{
    try {
        disconnectDatabase();
    } catch (...) {
        // Nothing can be reported any more while the program ends.
    }
}

void Tdm_1::connectFromLocationFile()
{
    connectTo(data::resolveDatabaseName());
}

void Tdm_1::connectTo(const QString& databaseName)
{
    disconnectDatabase();
    db_opl.open(data::clientDatabaseName(databaseName), data::defaultUser(), data::defaultPassword());
}

void Tdm_1::disconnectDatabase()
{
    for (ds::Dataset* d : findChildren<ds::Dataset*>(QString(), Qt::FindDirectChildrenOnly))
        d->close();
    if (tr_opl.isActive())
        tr_opl.commit();
    db_opl.close();
}

ds::Dataset* Tdm_1::dataset(const QString& name) const
{
    return findChild<ds::Dataset*>(name, Qt::FindDirectChildrenOnly);
}
