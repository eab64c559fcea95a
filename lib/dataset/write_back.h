#pragma once

#include <QStringList>

#include "dataset/dataset.h"

namespace ds {

// The four write statements of a table: every column from a parameter of its name, the row
// addressed by the key columns ("OLD_" + key in modify and delete, the key in refresh).
WriteStatements writeStatementsFor(const QString& table, const QStringList& columns, const QStringList& keyColumns);

} // namespace ds
