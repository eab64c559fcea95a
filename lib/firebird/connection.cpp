#include "firebird/connection.h"

#include <ibase.h>

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>

#include "firebird/environment.h"
#include "firebird/error.h"
#include "firebird/one_request.h"
#include "firebird/parameter_block.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

namespace fb {

namespace {

constexpr char windows1250[] = "WIN1250";
// The engine's default cache, in pages.
constexpr int defaultPageBuffers = 2048;
constexpr quint32 connectTimeoutSeconds = 15;
std::atomic<quint64> attachmentsMade{0};

QString checkedIdentifier(const QString& name)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z][A-Za-z0-9_$]*$"));
    if (!identifier.match(name).hasMatch())
        throw Error(QStringLiteral("Niepoprawna nazwa generatora: %1").arg(name));
    return name;
}

QString declaredName(const QString& declared)
{
    return declared.trimmed().isEmpty() ? QStringLiteral("NONE") : declared.trimmed();
}

} // namespace

Connection::~Connection()
{
    abandon();
}

void Connection::abandon()
{
    if (handle_) {
        ISC_STATUS_ARRAY status;
        isc_detach_database(status, &handle_);
        handle_ = 0;
        attachment_ = 0;
    }
}

void Connection::open(const QString& databaseName, const QString& user, const QString& password, CharacterSetRead read)
{
    prepareEnvironment();
    if (handle_)
        close();
    if (databaseName.trimmed().isEmpty())
        throw Error(QStringLiteral("Nie podano nazwy bazy danych."), QStringLiteral("attach"));
    // Attached as a database of this version declares it; one of an earlier version, which
    // declares no character set, is attached again without one.
    attach(databaseName, user, password, windows1250);
    user_ = user;
    password_ = password;
    characterSet_ = QLatin1String(windows1250);
    if (read == CharacterSetRead::Now)
        readDeclaredCharacterSet();
}

void Connection::readDeclaredCharacterSet()
{
    characterSetDeclared(firstValue(declaredCharacterSetSql()).toString());
}

bool Connection::attachesAgainFor(const QString& declared) const
{
    return declaredName(declared) != QLatin1String(windows1250) && characterSet_ == QLatin1String(windows1250) && handle_;
}

void Connection::characterSetDeclared(const QString& declared)
{
    const QString name = declaredName(declared);
    if (attachesAgainFor(declared)) {
        const QString database = name_;
        close();
        attach(database, user_, password_, {});
    }
    characterSet_ = name;
}

QString Connection::declaredCharacterSetSql()
{
    return QStringLiteral("select rdb$character_set_name from rdb$database");
}

int Connection::pageBuffersFor(const QString& file, qint64 limit)
{
    QFile f(file);
    if (limit <= 0 || !f.open(QIODevice::ReadOnly))
        return 0;
    // The header page begins with the page size: a 16-bit number after 16 bytes of page header.
    const QByteArray head = f.read(18);
    if (head.size() < 18)
        return 0;
    const qint64 pageSize = static_cast<unsigned char>(head[16]) | static_cast<unsigned char>(head[17]) << 8;
    if (pageSize < 1024)
        return 0;
    const qint64 pages = f.size() / pageSize;
    const qint64 wanted = std::min(pages + pages / 10, limit / pageSize);
    return wanted > defaultPageBuffers ? static_cast<int>(wanted) : 0;
}

int Connection::pageBuffers()
{
    return firstValue(QStringLiteral("select MON$PAGE_BUFFERS from MON$DATABASE")).toInt();
}

QVariant Connection::firstValue(const QString& sql)
{
    Transaction tr(this);
    Statement q(*this, tr, sql);
    q.execute();
    const QVariant value = q.fetch() ? q.value(0) : QVariant();
    q.closeCursor();
    tr.commit();
    return value;
}

void Connection::attach(const QString& databaseName, const QString& user, const QString& password,
                        const QByteArray& characterSet)
{
    QByteArray dpb;
    dpb.append(static_cast<char>(isc_dpb_version1));
    appendShortText(dpb, isc_dpb_user_name, user.toUtf8());
    appendShortText(dpb, isc_dpb_password, password.toUtf8());
    if (!characterSet.isEmpty())
        appendShortText(dpb, isc_dpb_lc_ctype, characterSet);
    // A server that does not answer is given up after this many seconds, not the system's minutes.
    appendNumber(dpb, isc_dpb_connect_timeout, connectTimeoutSeconds);
    // The engine takes a cache size from the attachment that opens the database only as a
    // setting of its configuration, not as the number of buffers of older clients.
    if (pageBuffers_ > 0)
        appendShortText(dpb, isc_dpb_config, QByteArrayLiteral("DefaultDbCachePages=") + QByteArray::number(pageBuffers_));
    const QByteArray path = QFile::encodeName(databaseName);
    ISC_STATUS_ARRAY status;
    {
        const ProcessSignalsKept kept;
        isc_attach_database(status, static_cast<short>(path.size()), path.constData(), &handle_,
                            static_cast<short>(dpb.size()), dpb.constData());
    }
    if (status[0] == 1 && status[1])
        handle_ = 0;
    check(status, QStringLiteral("attach %1").arg(databaseName));
    attachment_ = ++attachmentsMade;
    name_ = databaseName;
}

void Connection::close()
{
    if (!handle_)
        return;
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &handle_);
    handle_ = 0;
    attachment_ = 0;
    check(status, QStringLiteral("detach"));
}

void Connection::drop()
{
    if (!handle_)
        return;
    ISC_STATUS_ARRAY status;
    isc_drop_database(status, &handle_);
    check(status, QStringLiteral("drop database %1").arg(name_));
    handle_ = 0;
    attachment_ = 0;
}

void Connection::create(const QString& databaseName, const QString& user, const QString& password,
                        int pageSize, Declared declared)
{
    prepareEnvironment();
    if (handle_)
        close();
    auto quoted = [](QString s) { return QLatin1Char('\'') + s.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\''); };
    const QByteArray sql = QFile::encodeName(
        QStringLiteral("CREATE DATABASE %1 USER %2 PASSWORD %3 PAGE_SIZE %4 DEFAULT CHARACTER SET %5")
            .arg(quoted(databaseName), quoted(user), quoted(password))
            .arg(pageSize)
            .arg(declared == Declared::Windows1250 ? QLatin1String(windows1250) : QLatin1String("NONE")));
    isc_tr_handle tr = 0;
    ISC_STATUS_ARRAY status;
    {
        const ProcessSignalsKept kept;
        isc_dsql_execute_immediate(status, &handle_, &tr, 0, sql.constData(), dialect, nullptr);
    }
    if (status[0] == 1 && status[1])
        handle_ = 0;
    check(status, QStringLiteral("create database %1").arg(databaseName));
    name_ = databaseName;
    // The attachment that created it has no character set: attached again, text is
    // Windows-1250 from the first row on.
    close();
    open(databaseName, user, password);
}

void Connection::executeImmediate(Transaction& tr, const QString& sql)
{
    runOnce(*this, tr, sql);
}

qint64 Connection::nextGeneratorValue(Transaction& tr, const QString& generator)
{
    Statement query = generatorQuery(tr, generator);
    return drawGeneratorValue(query);
}

Statement Connection::generatorQuery(Transaction& tr, const QString& generator)
{
    return Statement(*this, tr, QStringLiteral("select gen_id(%1, 1) from rdb$database").arg(checkedIdentifier(generator)));
}

qint64 Connection::drawGeneratorValue(Statement& generatorQuery)
{
    generatorQuery.execute();
    if (!generatorQuery.fetch())
        throw Error(QStringLiteral("Generator nie zwrócił wartości."), generatorQuery.sql());
    const qint64 value = generatorQuery.value(0).toLongLong();
    generatorQuery.closeCursor();
    return value;
}

void Connection::setGenerator(Transaction& tr, const QString& generator, qint64 value)
{
    executeImmediate(tr, QStringLiteral("set generator %1 to %2").arg(checkedIdentifier(generator)).arg(value));
}

} // namespace fb
