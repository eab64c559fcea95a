#include "firebird/error.h"

#include <ibase.h>

#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>

#include "text/cp1250.h"

Q_LOGGING_CATEGORY(lcDatabase, "brenvald.database")
Q_LOGGING_CATEGORY(lcFailure, "brenvald.failure")

namespace fb {

Error::Error(const QString& message, const QString& context, long sqlCode, std::vector<long> codes,
             const QString& engineText)
    : std::runtime_error(message.toStdString()), message_(message), engineText_(engineText), context_(context),
      sqlCode_(sqlCode), codes_(std::move(codes))
{
}

bool Error::hasCode(long code) const
{
    return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
}

bool Error::isConnectionLost() const
{
    for (long code : {isc_network_error, isc_net_read_err, isc_net_write_err, isc_lost_db_connection,
                      isc_conn_lost, isc_att_shutdown, isc_shutdown}) {
        if (hasCode(code))
            return true;
    }
    return false;
}

bool Error::isConflict() const
{
    for (long code : {isc_lock_conflict, isc_update_conflict, isc_deadlock, isc_lock_timeout}) {
        if (hasCode(code))
            return true;
    }
    return false;
}

bool Error::isDatabaseFailure() const
{
    for (long code : {isc_io_error, isc_io_write_err, isc_io_read_err, isc_db_corrupt, isc_bug_check}) {
        if (hasCode(code))
            return true;
    }
    return false;
}

bool Error::isDuplicateKey() const
{
    return hasCode(isc_unique_key_violation) || hasCode(isc_no_dup);
}

bool Error::isStatementGone() const
{
    return hasCode(isc_bad_stmt_handle) || hasCode(isc_dsql_stmt_handle) || hasCode(isc_unprepared_stmt);
}

bool Error::isFileInUse() const
{
    return hasCode(isc_already_opened);
}

QString Error::constraint() const
{
    static const QRegularExpression name(QStringLiteral("constraint \"([^\"]+)\""));
    return name.match(message_).captured(1);
}

QStringList Error::keyValues() const
{
    static const QRegularExpression key(QStringLiteral("Problematic key value is \\((.*)\\)"));
    // The server quotes a text as it is, apostrophes inside and all: a value runs up to the
    // next column's name.
    static const QRegularExpression column(QStringLiteral("(?:^|, )\"[^\"]+\" = "));
    const QString pairs = key.match(message_).captured(1);
    QList<QRegularExpressionMatch> names;
    for (auto it = column.globalMatch(pairs); it.hasNext();)
        names << it.next();
    QStringList values;
    for (qsizetype n = 0; n < names.size(); ++n) {
        const qsizetype start = names[n].capturedEnd();
        const qsizetype end = n + 1 < names.size() ? names[n + 1].capturedStart() : pairs.size();
        QString v = pairs.mid(start, end - start);
        if (v.size() >= 2 && v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))
            v = v.mid(1, v.size() - 2);
        values << v;
    }
    return values;
}

namespace {

RefusalExplainer& refusalExplainer()
{
    static RefusalExplainer explainer;
    return explainer;
}

std::vector<long> errorCodes(const ISC_STATUS* status)
{
    std::vector<long> codes;
    for (const ISC_STATUS* p = status; *p != isc_arg_end;) {
        const ISC_STATUS kind = *p++;
        const ISC_STATUS value = *p++;
        if (kind == isc_arg_gds)
            codes.push_back(value);
        else if (kind == isc_arg_cstring)
            ++p; // a counted string takes one more slot
    }
    return codes;
}

// The server's texts carry what they quote as the bytes it got: file names in the
// system's encoding (UTF-8), stored values in Windows-1250. Polish text in Windows-1250 is
// almost never valid UTF-8, so valid UTF-8 is read as such and anything else as the code page.
QString serverText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(bytes);
    return utf8.hasError() ? text::fromCp1250(bytes) : decoded;
}

} // namespace

void check(const intptr_t* status, const QString& context)
{
    if (!(status[0] == 1 && status[1] != 0))
        return;
    const ISC_STATUS* cursor = status;
    QStringList lines;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0)
        lines << serverText(QByteArray(buffer)).trimmed();
    const long sqlCode = isc_sqlcode(status);
    Error error(lines.join(QLatin1Char('\n')), context, sqlCode, errorCodes(status));
    // The server's own words are English and technical: the user is told first, in Polish,
    // what happened, and the server's text follows for whoever diagnoses it.
    const auto explained = [&](const QString& sentence) {
        return Error(sentence + QStringLiteral("\n\n") + error.message(), context, sqlCode, error.codes());
    };
    const bool attaching = context.startsWith(QLatin1String("attach"));
    if (attaching && (error.isConnectionLost() || error.hasCode(isc_unavailable)))
        throw explained(QStringLiteral("Nie można połączyć się z serwerem bazy danych: serwer nie działa, nie odpowiada albo "
                                       "nazwa serwera lub numer portu są błędne."));
    if (error.hasCode(isc_login))
        throw explained(QStringLiteral("Serwer bazy danych nie przyjął nazwy użytkownika lub hasła (program łączy się jako "
                                       "SYSDBA, chyba że ustawiono ISC_USER i ISC_PASSWORD)."));
    if (attaching && error.hasCode(isc_bad_db_format))
        throw explained(QStringLiteral("Ten plik nie jest bazą danych (albo jest bazą innej wersji serwera)."));
    // A file too short to hold a database's first page (an empty one, say) is read, not missing.
    if (attaching && error.hasCode(isc_io_error) && error.message().contains(QLatin1String("File size is less than expected")))
        throw explained(QStringLiteral("Ten plik nie jest bazą danych: jest pusty albo krótszy niż nagłówek bazy danych."));
    if (attaching && error.hasCode(isc_io_error) && !error.isFileInUse())
        throw explained(QStringLiteral("Nie można otworzyć pliku bazy danych: nie ma go pod tą nazwą albo brak prawa do jego "
                                       "odczytu i zapisu."));
    if (!attaching && error.isDatabaseFailure())
        throw explained(error.hasCode(isc_io_write_err)
                            ? QStringLiteral("Nie można zapisać pliku bazy danych: brak miejsca na dysku albo błąd zapisu.")
                            : QStringLiteral("Baza danych nie może dalej pracować: błąd odczytu lub zapisu jej pliku albo "
                                             "uszkodzony plik."));
    if (error.hasCode(isc_no_priv))
        throw explained(QStringLiteral("Użytkownik, jako który program łączy się z bazą, nie ma uprawnień do tej operacji."));
    // The engine's line ("Error reading data from the connection.") tells the user nothing
    // more: it goes to the log only.
    if (error.isConnectionLost())
        throw Error(QStringLiteral("Utracono połączenie z serwerem bazy danych. Dane zapisane do tej pory są w bazie; gdy serwer znów "
                                   "działa, połącz się z bazą ponownie."),
                    context, sqlCode, error.codes(), error.message());
    if (error.isConflict())
        throw Error(QStringLiteral("Dane, które ta operacja zmienia, są właśnie zmieniane na innym stanowisku (lub w innym programie). "
                                   "Spróbuj ponownie za chwilę.\n\n") + error.message(), context, sqlCode, error.codes());
    if (refusalExplainer())
        if (const QString sentence = refusalExplainer()(error); !sentence.isEmpty())
            throw Error(sentence + QStringLiteral("\n\n") + error.message(), context, sqlCode, error.codes());
    throw error;
}

void setRefusalExplainer(RefusalExplainer explainer)
{
    refusalExplainer() = std::move(explainer);
}

void logFailure(const std::exception& failure)
{
    const auto* database = dynamic_cast<const Error*>(&failure);
    if (!database) {
        qCWarning(lcFailure).noquote() << QString::fromUtf8(failure.what());
        return;
    }
    QStringList codes;
    for (long code : database->codes())
        codes << QString::number(code);
    const QString engine = database->engineText().isEmpty() ? QString() : QStringLiteral(" | engine: ") + database->engineText();
    qCWarning(lcDatabase).noquote() << "database error while" << database->context() << "| SQLCODE"
                                    << database->sqlCode() << "| codes" << codes.join(QLatin1Char(',')) << "|"
                                    << database->message() + engine;
}

} // namespace fb
