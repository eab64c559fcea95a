#include "test_database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/connection_settings.h"
#include "data/reference_data.h"
#include "data/schema.h"
#include "firebird/connection.h"
#include "firebird/transaction.h"

namespace testsupport {

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/brenvald-test-XXXXXX"));
    return dir;
}

enum class Content { Empty, Schema, Delivered };

QString makeTemplate(Content content)
{
    const QString path = folder().filePath(QStringLiteral("template-%1.gdb").arg(static_cast<int>(content)));
    if (content == Content::Delivered) {
        data::createDeliveredDatabase(path);
        return path;
    }
    fb::Connection connection;
    connection.create(path, data::defaultUser(), data::defaultPassword());
    if (content == Content::Schema) {
        fb::Transaction transaction(&connection);
        data::createSchema(connection, transaction);
    }
    connection.close();
    return path;
}

QString copyOf(Content content)
{
    static QString templates[3];
    static int counter = 0;
    QString& t = templates[static_cast<int>(content)];
    if (t.isEmpty())
        t = makeTemplate(content);
    const QString path = folder().filePath(QStringLiteral("db-%1.gdb").arg(++counter));
    if (!QFile::copy(t, path))
        qFatal("cannot copy the template database");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
    return path;
}

} // namespace

QString workDir() { return folder().path(); }
QString freshEmptyDatabase() { return copyOf(Content::Empty); }
QString freshSchemaDatabase() { return copyOf(Content::Schema); }
QString freshDeliveredDatabase() { return copyOf(Content::Delivered); }

} // namespace testsupport
