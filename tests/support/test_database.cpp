#include "test_database.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "firebird/connection.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

namespace testsupport {

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/brenvald-test-XXXXXX"));
    return dir;
}

QString copyOf(const QString& templatePath)
{
    static int counter = 0;
    const QString path = folder().filePath(QStringLiteral("db-%1.gdb").arg(++counter));
    if (!QFile::copy(templatePath, path))
        qFatal("cannot copy the template database");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
    return path;
}

QString newTemplate(const QString& name)
{
    const QString path = folder().filePath(name);
    fb::Connection connection;
    connection.create(path, user(), password());
    connection.close();
    return path;
}

} // namespace

QString workDir() { return folder().path(); }
QString user() { return QStringLiteral("sysdba"); }
QString password() { return QStringLiteral("quillform"); }

QString freshEmptyDatabase()
{
    static const QString empty = newTemplate(QStringLiteral("template-empty.gdb"));
    return copyOf(empty);
}

QString freshDatabaseFromScript(const QString& scriptPath)
{
    static QHash<QString, QString> templates;
    QString& made = templates[scriptPath];
    if (made.isEmpty()) {
        QFile file(scriptPath);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read the script %s", qPrintable(scriptPath));
        QString script = QString::fromUtf8(file.readAll());
        script.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"), QRegularExpression::DotMatchesEverythingOption));
        const QString path = newTemplate(QStringLiteral("template-%1.gdb").arg(templates.size()));
        fb::Connection connection;
        connection.open(path, user(), password());
        fb::Transaction transaction(&connection);
        for (const QString& part : script.split(QLatin1Char(';'))) {
            if (part.trimmed().isEmpty())
                continue;
            connection.executeImmediate(transaction, part.trimmed());
            transaction.commitRetaining();
        }
        transaction.commit();
        connection.close();
        made = path;
    }
    return copyOf(made);
}

QList<QVariantList> queryRows(fb::Connection& connection, fb::Transaction& transaction, const QString& sql,
                              const QVariantMap& params)
{
    fb::Statement st(connection, transaction, sql);
    for (auto it = params.begin(); it != params.end(); ++it)
        st.setParam(it.key(), it.value());
    st.execute();
    QList<QVariantList> result;
    while (st.fetch()) {
        QVariantList row;
        for (int c = 0; c < st.columnCount(); ++c)
            row << st.value(c);
        result << row;
    }
    return result;
}

void execute(const QString& database, const QStringList& statements)
{
    fb::Connection c;
    c.open(database, user(), password());
    fb::Transaction t(&c);
    for (const QString& sql : statements)
        c.executeImmediate(t, sql);
    t.commit();
}

qint64 firstNumber(const QString& database, const QString& sql)
{
    fb::Connection c;
    c.open(database, user(), password());
    fb::Transaction t(&c);
    return queryRows(c, t, sql).value(0).value(0).toLongLong();
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace testsupport
