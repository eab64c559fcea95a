#include "program_database.h"

#include <QFile>

#include "data/reference_data.h"
#include "data/schema.h"
#include "firebird/connection.h"
#include "firebird/transaction.h"

namespace testsupport {

namespace {

// A fresh copy of a template made once per process by `make`.
template <class Make>
QString copyOfTemplate(QString& made, const QString& name, Make make)
{
    if (made.isEmpty()) {
        made = workDir() + QLatin1Char('/') + name;
        make(made);
    }
    static int counter = 0;
    const QString path = workDir() + QStringLiteral("/program-%1.gdb").arg(++counter);
    if (!QFile::copy(made, path))
        qFatal("cannot copy the template database");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
    return path;
}

} // namespace

QString freshSchemaDatabase()
{
    static QString made;
    return copyOfTemplate(made, QStringLiteral("template-schema.gdb"), [](const QString& path) {
        fb::Connection connection;
        connection.create(path, user(), password());
        fb::Transaction transaction(&connection);
        data::createSchema(connection, transaction);
        connection.close();
    });
}

QString freshDeliveredDatabase()
{
    static QString made;
    return copyOfTemplate(made, QStringLiteral("template-delivered.gdb"),
                          [](const QString& path) { data::createDeliveredDatabase(path); });
}

} // namespace testsupport
