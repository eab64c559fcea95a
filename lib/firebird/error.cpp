#include "firebird/error.h"

#include <ibase.h>

#include <QStringList>

#include <algorithm>

#include "text/cp1250.h"

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

} // namespace fb
