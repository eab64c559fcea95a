// The half of Dataset that deals with other desks: a row changed, deleted or held by another
// connection between reading it here and saving it.
#include "dataset/dataset.h"

#include <QLoggingCategory>

#include <optional>
#include <utility>

#include "dataset/stored_value.h"
#include "firebird/error.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

Q_DECLARE_LOGGING_CATEGORY(lcDataset)

namespace ds {

namespace {

QString shownValue(const Field& f, const QVariant& v)
{
    const QString text = v.isValid() ? f.format(v, false) : QString();
    return text.isEmpty() ? QStringLiteral("(puste)") : text;
}

// One field the other desk changed, as the user is told before saving: the value stored
// there, and what stays on the screen when the same field was typed here.
QString otherDeskChange(const Field& f, const QVariant& stored, const std::optional<QVariant>& typed)
{
    QString line = QStringLiteral("%1: %2").arg(f.displayName(), shownValue(f, stored));
    if (typed)
        line += sameStored(*typed, stored)
                    ? QStringLiteral(" (tak samo jak wpisano tutaj)")
                    : QStringLiteral(" — tutaj wpisano %1 i ta wartość zostanie zapisana").arg(shownValue(f, *typed));
    return line;
}

} // namespace

QString Dataset::describedRow() const
{
    if (rowDescription)
        if (const QString d = rowDescription(*this); !d.isEmpty())
            return d;
    return QStringLiteral("Dane tego wiersza");
}

void Dataset::throwConflict(RowConflict::Kind kind, Writing writing)
{
    const QString row = describedRow();
    QString text;
    if (writing == Writing::Delete) {
        switch (kind) {
        case RowConflict::Kind::Changed:
            text = QStringLiteral("%1 zmieniono na innym stanowisku po ich odczytaniu, więc nie zostały usunięte. Naciśnij "
                                  "„Odśwież dane”, aby zobaczyć dane zapisane na tamtym stanowisku, i usuń je ponownie, "
                                  "jeśli nadal trzeba.")
                       .arg(row);
            break;
        case RowConflict::Kind::Deleted:
            text = QStringLiteral("%1 usunięto już na innym stanowisku. Naciśnij „Odśwież dane”, aby zobaczyć dane "
                                  "zapisane w bazie.")
                       .arg(row);
            break;
        case RowConflict::Kind::Held:
            text = QStringLiteral("%1 są właśnie zmieniane na innym stanowisku, więc nie zostały usunięte. Spróbuj ponownie "
                                  "za chwilę.")
                       .arg(row);
            break;
        }
        throw RowConflict(kind, text);
    }
    switch (kind) {
    case RowConflict::Kind::Changed:
        text = QStringLiteral("%1 zmieniono na innym stanowisku po ich odczytaniu. Wpisane zmiany są nadal na ekranie: "
                              "naciśnij „Odśwież dane”, aby wczytać dane zapisane na tamtym stanowisku razem z wpisanymi "
                              "zmianami, sprawdź je i zapisz ponownie.")
                   .arg(row);
        break;
    case RowConflict::Kind::Deleted:
        text = QStringLiteral("%1 usunięto na innym stanowisku po ich odczytaniu. Wpisane dane są nadal na ekranie: "
                              "naciśnij „Odśwież dane”, a potem „Akceptuj”, aby zapisać je ponownie jako nowy wiersz, "
                              "albo „Anuluj zmiany”, aby z nich zrezygnować.")
                   .arg(row);
        break;
    case RowConflict::Kind::Held:
        text = QStringLiteral("%1 są właśnie zmieniane na innym stanowisku. Wpisane zmiany są nadal na ekranie: "
                              "spróbuj zapisać je ponownie za chwilę.")
                   .arg(row);
        break;
    }
    conflict_ = kind != RowConflict::Kind::Held;
    throw RowConflict(kind, text);
}

// Reads the stored row by the key it had when it was read here, and holds it until the
// transaction commits: nobody changes it between this check and the write. A row held by
// another desk makes this wait the transaction's bounded time and fail with a conflict.
void Dataset::lockStoredRow(const Row& asRead)
{
    // The stored row as it is now, held for this transaction until it commits.
    if (write_.refreshSql.trimmed().isEmpty() || !prepared(lockSt_, write_.refreshSql + QStringLiteral(" with lock")))
        return;
    const Writing writing = isEditing() ? Writing::Save : Writing::Delete;
    bindRowParams(*lockSt_, asRead, nullptr);
    lockSt_->execute();
    if (!lockSt_->fetch())
        throwConflict(RowConflict::Kind::Deleted, writing);
    for (const auto& f : fields_) {
        if (f->kind() != FieldKind::Data)
            continue;
        const int c = lockSt_->columnIndex(f->name());
        if (c >= 0 && !sameStored(fromDatabase(*f, lockSt_->value(c)), asRead[f->index()])) {
            lockSt_->closeCursor();
            throwConflict(RowConflict::Kind::Changed, writing);
        }
    }
    lockSt_->closeCursor();
}

// A write that failed after the row was held lets it go at once, so that other desks do not
// wait for this one's next save.
void Dataset::releaseRowLocks() noexcept
{
    if (!commitAfterWrite_ || !transaction_ || !transaction_->isActive())
        return;
    try {
        transaction_->commitRetaining();
    } catch (const std::exception& e) {
        qCWarning(lcDataset, "%s, releasing the row after a failed write: %s", qPrintable(name_), e.what());
    }
}

void Dataset::rereadConflictingRow()
{
    checkActive();
    if (!conflict_ || !isEditing())
        return;
    if (!prepared(refreshSt_, write_.refreshSql))
        return;
    const Row& base = oldRow_.empty() ? rows_[current_] : oldRow_;
    bindRowParams(*refreshSt_, base, nullptr);
    refreshSt_->execute();
    Row& row = rows_[current_];
    otherDeskChanges_.clear();
    if (refreshSt_->fetch()) {
        Row stored = base;
        for (const auto& f : fields_) {
            if (f->kind() != FieldKind::Data)
                continue;
            const int c = refreshSt_->columnIndex(f->name());
            if (c < 0)
                continue;
            const int i = f->index();
            stored[i] = fromDatabase(*f, refreshSt_->value(c));
            const bool typed = !sameStored(row[i], base[i]);
            if (!sameStored(stored[i], base[i]))
                otherDeskChanges_ << otherDeskChange(*f, stored[i], typed ? std::optional<QVariant>(row[i]) : std::nullopt);
            if (!typed) // the stored value
                row[i] = stored[i];
        }
        refreshSt_->closeCursor();
        oldRow_ = std::move(stored);
        state_ = DatasetState::Edit;
    } else {
        // Deleted meanwhile: what was typed is saved as a new row.
        oldRow_.clear();
        insertedAt_ = current_;
        currentBeforeInsert_ = current_;
        state_ = DatasetState::Insert;
    }
    computeCalcFields(row);
    modified_ = true;
    conflict_ = false;
    notify(DataEvent::StateChanged);
    notify(DataEvent::RecordChanged);
}

QStringList Dataset::takeOtherDeskChanges()
{
    return std::exchange(otherDeskChanges_, {});
}

} // namespace ds
