#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QPair>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "dataset/data_event.h"
#include "dataset/error.h"
#include "dataset/field.h"

namespace fb {
class Connection;
class Statement;
class Transaction;
}

namespace ds {

class DataSource;

enum class DatasetState { Inactive, Browse, Edit, Insert, CalcFields };

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false; // string values match when they start with the key
};

// The statements that write one row back: insert and modify take every column as a
// parameter of its name, modify, delete and refresh address the row by "OLD_" + key.
struct WriteStatements {
    QString insertSql;
    QString modifySql;
    QString deleteSql;
    QString refreshSql;
};

// A buffered result of a select, with a current row and Delphi-like states and events.
// All rows are fetched when the dataset opens. Writes go through the write statements and,
// unless switched off, are committed (retaining the transaction) as soon as they succeed,
// so that a posted row survives whatever happens to the process afterwards.
class Dataset : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(Dataset&)>;

    explicit Dataset(const QString& name, QObject* parent = nullptr);
    ~Dataset() override;

    const QString& name() const { return name_; }
    void setDatabase(fb::Connection* connection, fb::Transaction* transaction);
    fb::Connection* connection() const { return connection_; }
    fb::Transaction* transaction() const { return transaction_; }
    void setCommitAfterWrite(bool on) { commitAfterWrite_ = on; }

    // SQL. Replacing the select text of an open dataset closes it first.
    void setSelectSql(const QString& sql);
    const QString& selectSql() const { return selectSql_; }
    void setWriteStatements(const WriteStatements& statements);
    const WriteStatements& writeStatements() const { return write_; }
    bool canModify() const { return !write_.insertSql.isEmpty() || !write_.modifySql.isEmpty() || !write_.deleteSql.isEmpty(); }

    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const;

    // The field takes the generator's next value as soon as a new row starts.
    void setGeneratorField(const QString& field, const QString& generator);

    // Master link: before opening and whenever the master moves to another row, each
    // parameter takes the value of its master field, and an open detail is queried again.
    void setMasterSource(DataSource* master, const QList<QPair<QString, QString>>& paramToMasterField);

    // Fields. Defined fields are kept; without any, fields are made from the columns on open.
    Field& addField(const QString& name, FieldType type, int size = 0, int scale = 0);
    Field& addLookupField(const QString& name, FieldType type, int size, const QString& keyFields,
                          Dataset* lookup, const QString& lookupKeyFields, const QString& resultField);
    Field& addCalculatedField(const QString& name, FieldType type, int size = 0, int scale = 0);
    Field* field(const QString& name) const;  // nullptr when absent (names without regard to case)
    Field& fieldByName(const QString& name) const; // throws ds::Error when absent
    const std::vector<std::unique_ptr<Field>>& fields() const { return fields_; }
    QVariant value(const QString& fieldName) const { return fieldByName(fieldName).value(); }
    void setValue(const QString& fieldName, const QVariant& v) { fieldByName(fieldName).setValue(v); }

    // Lifecycle.
    void open();
    void close(); // an unposted row is dropped
    bool isActive() const { return state_ != DatasetState::Inactive; }
    DatasetState state() const { return state_; }
    bool isEditing() const { return state_ == DatasetState::Edit || state_ == DatasetState::Insert; }
    // Queries again, keeping the current row where its key is still there. After a post
    // refused because another desk changed or deleted the row (RowConflict), it reads that
    // row again instead and keeps what was typed: see rereadConflictingRow.
    void refresh();

    // Counts the times the rows were read from the database or dropped (open, refresh, a
    // master's move, close): a view can tell a reload from rows added or changed by editing.
    quint64 loads() const { return loads_; }

    // Navigation.
    int recordCount() const { return static_cast<int>(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    int recNo() const { return current_; } // -1 when empty
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);

    // Editing.
    void insert(); // a new row before the current one
    void append(); // a new row at the end
    void edit();   // on an empty dataset this inserts
    void post();
    void cancel();
    // Deletes the current row, unless another desk changed or deleted it since it was read
    // here, or holds it now (RowConflict; "Odśwież dane" then shows the stored row).
    void remove();
    // Posts a modified row, cancels an unmodified one.
    void checkBrowseMode();
    // Asks the editors on this dataset to write their pending text into the row now; throws
    // when a field refuses it.
    void updateRecord();
    bool isModified() const { return modified_; }
    // A post was refused because another desk changed or deleted the row being edited.
    bool hasConflict() const { return conflict_; }
    // Reads the conflicting row again: the fields the user changed keep the typed values,
    // the others take the stored ones, and the stored row becomes the one the next post
    // checks against. A row deleted meanwhile becomes a new row with the typed values.
    // Stays in the editing state, so that the next post saves the typed change. What the
    // other desk had changed is kept for takeOtherDeskChanges.
    void rereadConflictingRow();
    // The fields the other desk changed in the row that rereadConflictingRow read again, one
    // line each for the user ("Ilość litrów: 49,00 (tu wpisano 48,00, …)"); empty when it
    // changed nothing of it or no row was read again. Taking them clears them.
    QStringList takeOtherDeskChanges();

    bool locate(const QStringList& fields, const QVariantList& values, LocateOptions options = {});
    bool locate(const QString& field, const QVariant& value, LocateOptions options = {})
    {
        return locate(QStringList{field}, QVariantList{value}, options);
    }
    // Result field of the first row whose key fields equal the values (an open dataset only).
    QVariant lookup(const QStringList& keyFields, const QVariantList& keyValues, const QString& resultField) const;

    // Client-side order of the buffered rows (grid titles), kept when the rows are read again
    // and set on a closed dataset for its opening; an empty list restores the query's order.
    void sortBy(const QList<QPair<QString, bool>>& fieldAscending);
    // The order in which the select gives its rows (its "order by"), said again for the rows
    // posted here: a posted row takes its place in the order shown (this one, or that of
    // sortBy) rather than staying where it was started.
    void setRowOrder(const QList<QPair<QString, bool>>& fieldAscending) { rowOrder_ = fieldAscending; }

    // While disabled, data sources hear nothing; enabling again tells them everything changed
    // (and that the state changed, when it did meanwhile).
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }

    // Events.
    Handler beforeOpen, afterOpen, beforeClose, afterClose;
    Handler beforeInsert, onNewRecord, beforeEdit, beforePost, afterPost, afterCancel;
    Handler beforeDelete, afterDelete, afterScroll, onCalcFields;
    // Wraps the write of a post (the insert or change with the row it gives back, and the
    // commit): the owner
    // holds something of its own while the row is written, or refuses the write by throwing.
    std::function<void(const std::function<void()>& write)> aroundWrite;
    // Names the current row for the messages of a RowConflict ("Dane podatnika 45").
    std::function<QString(const Dataset&)> rowDescription;

    // For fields and models; the value as held, without a copy (a sum or a search over
    // thousands of rows copies none).
    const QVariant& rowValue(int row, int fieldIndex) const;
    QVariant activeValue(int fieldIndex) const;
    QVariant oldRowValue(int fieldIndex) const { return fieldIndex < static_cast<int>(oldRow_.size()) ? oldRow_[fieldIndex] : QVariant(); }
    void setActiveValue(Field& field, const QVariant& converted);
    void registerSource(DataSource* source);
    void unregisterSource(DataSource* source);

signals:
    void dataEvent(ds::DataEvent event, ds::Field* field);

private:
    using Row = std::vector<QVariant>;

    void notify(DataEvent event, Field* field = nullptr);
    void checkActive() const;
    // A write statement, prepared when first needed (none when its SQL is empty).
    fb::Statement* prepared(std::unique_ptr<fb::Statement>& statement, const QString& sql);
    void dropStatements();
    void readRows(bool makeFields);
    void createFieldsFromColumns(const fb::Statement& select);
    void bindColumns(const fb::Statement& select);
    void fetchAll(fb::Statement& select);
    void sortRows(bool keepCurrent);
    bool placeCurrentRow();
    void computeCalcFields(Row& row);
    void startNewRow(int position);
    QVariant masterValue(const QString& masterField) const;
    void applyMasterParams();
    void masterChanged();
    void masterRecordChanged(Field* field);
    void setCurrent(int row, bool notifyScroll);
    void bindRowParams(fb::Statement& st, const Row& row, const Row* old);
    void afterWrite();
    void lockStoredRow(const Row& asRead);
    void releaseRowLocks() noexcept;
    enum class Writing { Save, Delete };
    [[noreturn]] void throwConflict(RowConflict::Kind kind, Writing writing = Writing::Save);
    QString describedRow() const;
    void invalidateLookupIndex() { lookupIndex_.clear(); }
    std::optional<int> findRow(const QStringList& fields, const QVariantList& values, LocateOptions options) const;

    QString name_;
    fb::Connection* connection_ = nullptr;
    fb::Transaction* transaction_ = nullptr;
    bool commitAfterWrite_ = true;
    QString selectSql_;
    WriteStatements write_;
    QHash<QString, QVariant> params_;
    QString generatorField_;
    QString generator_;
    QPointer<DataSource> master_;
    std::vector<QPointer<Dataset>> details_; // datasets whose master is this one
    QList<QPair<QString, QString>> masterLinks_;

    std::vector<std::unique_ptr<Field>> fields_;
    bool dynamicFields_ = false;
    std::vector<int> columnOfField_; // result column of each data field, -1 for others
    std::vector<Row> rows_;
    quint64 loads_ = 0;
    Row editRow_;
    Row oldRow_;
    Row* calcRow_ = nullptr;
    int current_ = -1;
    int insertedAt_ = -1;
    int currentBeforeInsert_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    bool modified_ = false;
    bool conflict_ = false;
    QStringList otherDeskChanges_;
    DatasetState state_ = DatasetState::Inactive;
    int disableCount_ = 0;
    bool pendingNotify_ = false;
    DatasetState stateWhenDisabled_ = DatasetState::Inactive;
    std::vector<DataSource*> sources_;
    QList<QPair<QString, bool>> sortOrder_;
    QList<QPair<QString, bool>> rowOrder_;

    // Prepared when first needed and kept from one reading or write to the next: over a
    // network each prepare is a round trip to the server.
    std::unique_ptr<fb::Statement> selectSt_;
    std::unique_ptr<fb::Statement> insertSt_, modifySt_, deleteSt_, refreshSt_, generatorSt_, lockSt_;
    mutable QHash<QString, QHash<QString, int>> lookupIndex_;
};

} // namespace ds
