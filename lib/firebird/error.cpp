#include "firebird/error.h"

#include <ibase.h>

#include <QLoggingCategory>
#include <QStringList>

#include <algorithm>

#include "text/cp1250.h"

Q_LOGGING_CATEGORY(lcDatabase, "brenvald.database")

namespace fb {

Error::Error(const QString& message, const QString& context, long sqlCode, std::vector<long> codes)
    : std::runtime_error(message.toStdString()), message_(message), context_(context),
      sqlCode_(sqlCode), codes_(std::move(codes))
{
}

bool Error::hasCode(long code) const
{
    return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
}

namespace {

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

} // namespace

void check(const intptr_t* status, const QString& context)
{
    if (!(status[0] == 1 && status[1] != 0))
        return;
    const ISC_STATUS* cursor = status;
    QStringList lines;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0)
        lines << text::fromCp1250(QByteArray(buffer)).trimmed();
    const long sqlCode = isc_sqlcode(status);
    throw Error(lines.join(QLatin1Char('\n')), context, sqlCode, errorCodes(status));
}

void logFailure(const std::exception& failure)
{
    const auto* database = dynamic_cast<const Error*>(&failure);
    if (!database) {
        qCWarning(lcDatabase).noquote() << "failure:" << QString::fromUtf8(failure.what());
        return;
    }
    QStringList codes;
    for (long code : database->codes())
        codes << QString::number(code);
    qCWarning(lcDatabase).noquote() << "database error while" << database->context() << "| SQLCODE"
                                    << database->sqlCode() << "| codes" << codes.join(QLatin1Char(',')) << "|"
                                    << database->message();
}

} // namespace fb
