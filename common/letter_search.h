#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace common {

// The letter that a key typed into a taxpayer list searches for, upper-cased: one of A to Z
// or a Polish letter (Ą Ć Ę Ł Ń Ó Ś Ź Ż) in either case; nothing for any other text.
std::optional<QChar> searchLetter(const QString& typed);
// The first item whose first character, upper-cased, is `letter`; -1 when there is none.
int firstItemStartingWith(const QStringList& items, QChar letter);

} // namespace common
