#include "dbwidgets/leave_row.h"

#include "dataset/dataset.h"
#include "dataset/error.h"
#include "desktop/attempt.h"
#include "desktop/messages.h"

namespace dbw {

namespace {

// What the user knows a field by: its label, or that of the lookup column that sets it.
QString userName(const ds::Dataset& d, const ds::Field& f)
{
    if (!f.isVisible())
        for (const auto& other : d.fields())
            if (other->kind() == ds::FieldKind::Lookup && other->keyFields().compare(f.name(), Qt::CaseInsensitive) == 0
                && other->isVisible() && !other->displayLabel().isEmpty())
                return other->displayLabel();
    return f.displayName();
}

// Drops the row when the user says so; false when they stay with it.
bool dropIfTheUserSays(ds::Dataset& d, const QString& question, QWidget* parent)
{
    if (desktop::ask(question, {}, parent) != desktop::Answer::Yes)
        return false;
    d.cancel();
    return true;
}

// Posts the row. When the server is gone the row cannot be saved anywhere: the user is asked
// once whether to drop it, rather than being held on a screen that can neither save nor close.
bool postOrDropOnLostConnection(ds::Dataset& d, QWidget* parent)
{
    bool lost = false;
    const bool posted = desktop::attempt(parent, [&] {
        try {
            d.post();
        } catch (const std::exception& e) {
            if (!ds::isConnectionLost(e))
                throw;
            lost = true;
        }
    });
    if (!lost)
        return posted;
    return dropIfTheUserSays(d,
                             QStringLiteral("Utracono połączenie z serwerem bazy danych, więc wprowadzonych danych nie można zapisać.\n"
                                            "Czy je porzucić?"),
                             parent);
}

} // namespace

QStringList missingValues(const ds::Dataset& d)
{
    QStringList missing;
    for (const auto& f : d.fields())
        if (f->kind() == ds::FieldKind::Data && f->isRequired() && !f->isReadOnly() && f->isNull())
            missing << userName(d, *f);
    return missing;
}

bool leaveRow(ds::Dataset& d, QWidget* parent, const std::function<bool()>& untouched)
{
    if (!d.isActive() || !d.isEditing())
        return true;
    try {
        d.updateRecord();
    } catch (const std::exception& e) {
        // A field that refuses what was typed into it never holds the user on the row.
        return dropIfTheUserSays(d, QStringLiteral("%1\n\nCzy porzucić wprowadzone dane?").arg(QString::fromUtf8(e.what())),
                                 parent);
    }
    const bool isNew = d.state() == ds::DatasetState::Insert;
    if (isNew ? (untouched ? untouched() : !d.isModified()) : !d.isModified()) {
        d.cancel();
        return true;
    }
    const QStringList missing = missingValues(d);
    if (missing.isEmpty())
        return postOrDropOnLostConnection(d, parent);
    return dropIfTheUserSays(d,
                             QStringLiteral("Wprowadzone dane są niepełne (brak: %1) i nie można ich zapisać.\n"
                                            "Czy je porzucić?")
                                 .arg(missing.join(QStringLiteral(", "))),
                             parent);
}

} // namespace dbw
