// The editing half of Dataset: new rows, edits, posting, cancelling and deleting.
#include "dataset/dataset.h"

#include "dataset/data_source.h"
#include "dataset/error.h"
#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

namespace ds {

namespace {

void requireModifiable(const Dataset& ds)
{
    if (!ds.canModify())
        throw Error(QStringLiteral("Zbioru danych %1 nie można zmieniać.").arg(ds.name()));
}

// A statement kept from an attachment that has ended is prepared again when next needed.
void forgetIfDead(std::unique_ptr<fb::Statement>& st)
{
    if (st && !st->isLive())
        st.reset();
}

} // namespace

// Prepared once for the dataset, each when first needed (over a network every prepare is a
// round trip), and kept across closing and opening again.
fb::Statement* Dataset::prepared(std::unique_ptr<fb::Statement>& statement, const QString& sql)
{
    forgetIfDead(statement);
    if (!statement && !sql.trimmed().isEmpty())
        statement = std::make_unique<fb::Statement>(*connection_, *transaction_, sql);
    return statement.get();
}

void Dataset::dropStatements()
{
    insertSt_.reset();
    modifySt_.reset();
    deleteSt_.reset();
    refreshSt_.reset();
    generatorSt_.reset();
    lockSt_.reset();
}

void Dataset::bindRowParams(fb::Statement& st, const Row& row, const Row* old)
{
    for (const QString& p : st.paramNames()) {
        const bool isOld = p.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive);
        const Field& f = fieldByName(isOld ? p.mid(4) : p);
        st.setParam(p, (isOld && old) ? (*old)[f.index()] : row[f.index()]);
    }
}

void Dataset::afterWrite()
{
    if (commitAfterWrite_ && transaction_->isActive())
        transaction_->commitRetaining();
}

void Dataset::insert()
{
    checkActive();
    checkBrowseMode();
    requireModifiable(*this);
    if (beforeInsert)
        beforeInsert(*this);
    startNewRow(current_ < 0 ? 0 : current_);
}

void Dataset::append()
{
    checkActive();
    checkBrowseMode();
    requireModifiable(*this);
    if (beforeInsert)
        beforeInsert(*this);
    startNewRow(recordCount());
}

void Dataset::startNewRow(int position)
{
    Row row(fields_.size());
    if (!generatorField_.isEmpty()) {
        Field& g = fieldByName(generatorField_);
        forgetIfDead(generatorSt_);
        if (!generatorSt_)
            generatorSt_ = std::make_unique<fb::Statement>(connection_->generatorQuery(*transaction_, generator_));
        row[g.index()] = g.convert(fb::Connection::drawGeneratorValue(*generatorSt_));
    }
    currentBeforeInsert_ = current_;
    rows_.insert(rows_.begin() + position, std::move(row));
    current_ = position;
    insertedAt_ = position;
    oldRow_.clear();
    state_ = DatasetState::Insert;
    bof_ = eof_ = false;
    notify(DataEvent::StateChanged);
    try {
        if (onNewRecord)
            onNewRecord(*this);
        computeCalcFields(rows_[current_]);
    } catch (...) {
        cancel();
        throw;
    }
    modified_ = false;
    notify(DataEvent::DatasetChanged);
}

void Dataset::edit()
{
    checkActive();
    if (isEditing())
        return;
    if (rows_.empty()) {
        insert();
        return;
    }
    requireModifiable(*this);
    if (beforeEdit)
        beforeEdit(*this);
    oldRow_ = rows_[current_];
    modified_ = false;
    state_ = DatasetState::Edit;
    notify(DataEvent::StateChanged);
}

void Dataset::post()
{
    checkActive();
    if (!isEditing())
        return;
    notify(DataEvent::UpdateRecord);
    if (beforePost)
        beforePost(*this);
    for (const auto& f : fields_)
        if (f->kind() == FieldKind::Data && f->isRequired() && !f->isReadOnly() && !f->value().isValid())
            throw Error(QStringLiteral("Field '%1' must have a value").arg(f->displayName()));
    Row& row = rows_[current_];
    const bool writes = state_ == DatasetState::Insert || modified_;
    const auto write = [&] {
        fb::Statement* written = nullptr;
        try {
            if (state_ == DatasetState::Insert) {
                written = prepared(insertSt_, write_.insertSql);
                if (!written)
                    throw Error(QStringLiteral("Do zbioru danych %1 nie można dodawać wierszy.").arg(name_));
                bindRowParams(*written, row, nullptr);
                written->execute();
            } else if (modified_) {
                written = prepared(modifySt_, write_.modifySql);
                if (!written)
                    throw Error(QStringLiteral("Wierszy zbioru danych %1 nie można zmieniać.").arg(name_));
                lockStoredRow(oldRow_);
                bindRowParams(*written, row, &oldRow_);
                written->execute();
                if (written->columnCount() > 0 ? !written->returnedRow() : written->affectedRows() == 0)
                    throw Error(QStringLiteral("Zapisywanego wiersza nie ma już w bazie danych; odśwież dane."));
            }
        } catch (const fb::Error& e) {
            releaseRowLocks();
            if (e.isConflict())
                throwConflict(RowConflict::Kind::Held);
            throw;
        } catch (...) {
            releaseRowLocks();
            throw;
        }
        // The row as stored, as the write returned it.
        if (written)
            for (const auto& f : fields_) {
                if (f->kind() != FieldKind::Data)
                    continue;
                const int c = written->columnIndex(f->name());
                if (c >= 0)
                    row[f->index()] = f->convert(written->value(c));
            }
        afterWrite();
    };
    if (writes && aroundWrite)
        aroundWrite(write);
    else
        write();
    computeCalcFields(row);
    state_ = DatasetState::Browse;
    modified_ = false;
    conflict_ = false;
    insertedAt_ = -1;
    oldRow_.clear();
    const bool moved = placeCurrentRow();
    notify(DataEvent::StateChanged);
    notify(moved ? DataEvent::DatasetChanged : DataEvent::RecordChanged);
    if (afterPost)
        afterPost(*this);
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    const bool wasInsert = state_ == DatasetState::Insert;
    if (wasInsert) {
        rows_.erase(rows_.begin() + insertedAt_);
        current_ = rows_.empty() ? -1 : std::min(currentBeforeInsert_ < 0 ? 0 : currentBeforeInsert_, recordCount() - 1);
        bof_ = eof_ = rows_.empty(); // an empty dataset stands at both ends
    } else {
        rows_[current_] = oldRow_;
    }
    state_ = DatasetState::Browse;
    modified_ = false;
    conflict_ = false;
    insertedAt_ = -1;
    oldRow_.clear();
    notify(DataEvent::StateChanged);
    notify(wasInsert ? DataEvent::DatasetChanged : DataEvent::RecordChanged);
    if (afterCancel)
        afterCancel(*this);
}

void Dataset::updateRecord()
{
    if (isActive())
        notify(DataEvent::UpdateRecord);
}

void Dataset::checkBrowseMode()
{
    if (!isEditing())
        return;
    notify(DataEvent::UpdateRecord);
    if (modified_)
        post();
    else
        cancel();
}

void Dataset::remove()
{
    checkActive();
    if (state_ == DatasetState::Insert) {
        cancel();
        return;
    }
    if (rows_.empty())
        throw Error(QStringLiteral("Nie można usunąć wiersza: zbiór danych %1 jest pusty.").arg(name_));
    requireModifiable(*this);
    if (state_ == DatasetState::Edit) {
        rows_[current_] = oldRow_;
        state_ = DatasetState::Browse;
        modified_ = false;
        notify(DataEvent::StateChanged);
    }
    if (beforeDelete)
        beforeDelete(*this);
    fb::Statement* removal = prepared(deleteSt_, write_.deleteSql);
    if (!removal)
        throw Error(QStringLiteral("Ze zbioru danych %1 nie można usuwać wierszy.").arg(name_));
    // The same check as a save's: a row another desk changed meanwhile is not deleted unseen.
    try {
        lockStoredRow(rows_[current_]);
        bindRowParams(*removal, rows_[current_], &rows_[current_]);
        removal->execute();
    } catch (const fb::Error& e) {
        releaseRowLocks();
        if (e.isConflict())
            throwConflict(RowConflict::Kind::Held, Writing::Delete);
        throw;
    } catch (...) {
        releaseRowLocks();
        throw;
    }
    afterWrite();
    rows_.erase(rows_.begin() + current_);
    if (current_ >= recordCount())
        current_ = recordCount() - 1;
    eof_ = rows_.empty();
    if (rows_.empty())
        bof_ = true;
    notify(DataEvent::DatasetChanged);
    if (afterDelete)
        afterDelete(*this);
    if (afterScroll)
        afterScroll(*this);
}

} // namespace ds
