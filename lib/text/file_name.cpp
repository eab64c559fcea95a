#include "text/file_name.h"

#include <QRegularExpression>

namespace text {

QString fileNameSafe(QString name)
{
    static const QRegularExpression unfit(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    return name.replace(unfit, QStringLiteral("_"));
}

} // namespace text
