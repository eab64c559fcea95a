#pragma once

#include <QString>

namespace text {

// A name that every file system takes: the characters Windows refuses in file names become "_".
QString fileNameSafe(QString name);

} // namespace text
