#pragma once

#include <QVariant>

namespace ds {

class Field;

// A value as the server gave it, in the field's type. The server's types are exact for the
// columns the fields describe, so this never refuses.
QVariant fromDatabase(const Field& f, const QVariant& v);

// Whether two values of a field hold the same stored value: an empty text is no text, as
// the database gives it back.
bool sameStored(const QVariant& a, const QVariant& b);

} // namespace ds
