#include "dataset/dataset.h"

#include <QDateTime>
#include <QLoggingCategory>

#include <algorithm>
#include <numeric>

#include "dataset/data_source.h"
#include "dataset/error.h"
#include "dataset/stored_value.h"
#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/named_params.h"
#include "firebird/numeric.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"
#include "text/polish_order.h"

Q_LOGGING_CATEGORY(lcDataset, "brenvald.dataset")

namespace ds {

namespace {

// Runs one step of a cleanup; what it throws is logged, and the cleanup goes on.
template <class Step>
void quietly(const QString& dataset, const char* step, Step&& run) noexcept
{
    try {
        run();
    } catch (const std::exception& e) {
        qCWarning(lcDataset, "%s, %s: %s", qPrintable(dataset), step, e.what());
    } catch (...) {
        qCWarning(lcDataset, "%s, %s: unknown error", qPrintable(dataset), step);
    }
}

FieldType fieldTypeOf(const fb::Column& c)
{
    if (c.scale < 0 && (c.type == fb::ColumnType::SmallInt || c.type == fb::ColumnType::Integer
                        || c.type == fb::ColumnType::BigInt))
        return FieldType::Decimal;
    switch (c.type) {
    case fb::ColumnType::SmallInt: return FieldType::SmallInt;
    case fb::ColumnType::Integer:
    case fb::ColumnType::BigInt: return FieldType::Integer;
    case fb::ColumnType::Float:
    case fb::ColumnType::Double: return FieldType::Float;
    case fb::ColumnType::Timestamp:
    case fb::ColumnType::Date: return FieldType::Date;
    default: return FieldType::String;
    }
}

QString indexKey(const QVariantList& values)
{
    QString key;
    for (const QVariant& v : values) {
        if (!v.isValid())
            key += QStringLiteral("\x1e");
        else if (v.metaType() == QMetaType::fromType<text::Money>())
            key += QString::number(v.value<text::Money>().units());
        else if (v.metaType() == QMetaType::fromType<double>())
            key += QString::number(v.toDouble(), 'g', 17);
        else if (v.metaType() == QMetaType::fromType<QDate>())
            key += v.toDate().toString(Qt::ISODate);
        else
            key += v.toString();
        key += QLatin1Char('\x1f');
    }
    return key;
}

bool sameValue(const QVariant& a, const QVariant& b, const LocateOptions& o)
{
    if (!a.isValid() || !b.isValid())
        return a.isValid() == b.isValid();
    if (a.metaType() == QMetaType::fromType<QString>()) {
        const Qt::CaseSensitivity cs = o.caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
        return o.partialKey ? a.toString().startsWith(b.toString(), cs) : a.toString().compare(b.toString(), cs) == 0;
    }
    if (a.metaType() == QMetaType::fromType<text::Money>())
        return a.value<text::Money>() == b.value<text::Money>();
    return a == b;
}

// Order of two values of one field for sorting: nulls first, text in Polish alphabetical order.
int compareForSort(const QVariant& a, const QVariant& b)
{
    if (!a.isValid() || !b.isValid())
        return int(a.isValid()) - int(b.isValid());
    if (a.metaType() == QMetaType::fromType<QString>()) {
        const QString& x = *static_cast<const QString*>(a.constData());
        if (b.metaType() != QMetaType::fromType<QString>())
            return text::comparePolish(x, b.toString());
        const QString& y = *static_cast<const QString*>(b.constData());
        return x == y ? 0 : text::comparePolish(x, y);
    }
    auto order = [](const auto& x, const auto& y) { return x < y ? -1 : (y < x ? 1 : 0); };
    if (a.metaType() == QMetaType::fromType<QDate>())
        return order(a.toDate(), b.toDate());
    if (a.metaType() == QMetaType::fromType<text::Money>())
        return order(a.value<text::Money>(), b.value<text::Money>());
    return order(a.toDouble(), b.toDouble());
}

} // namespace

Dataset::Dataset(const QString& name, QObject* parent) : QObject(parent), name_(name)
{
    setObjectName(name);
}

Dataset::~Dataset()
{
    if (master_)
        if (Dataset* m = master_->dataset())
            m->details_.erase(std::remove(m->details_.begin(), m->details_.end(), this), m->details_.end());
    for (DataSource* s : sources_)
        s->forgetDataset();
}

void Dataset::setDatabase(fb::Connection* connection, fb::Transaction* transaction)
{
    close();
    if (connection == connection_ && transaction == transaction_)
        return;
    // A statement runs in the transaction it was prepared with.
    selectSt_.reset();
    dropStatements();
    connection_ = connection;
    transaction_ = transaction;
}

void Dataset::setSelectSql(const QString& sql)
{
    if (sql == selectSql_)
        return;
    close();
    selectSt_.reset();
    selectSql_ = sql;
}

void Dataset::setWriteStatements(const WriteStatements& statements)
{
    dropStatements();
    write_ = statements;
}

void Dataset::setParam(const QString& name, const QVariant& value)
{
    params_.insert(name.toUpper(), value);
}

QVariant Dataset::param(const QString& name) const
{
    return params_.value(name.toUpper());
}

void Dataset::setGeneratorField(const QString& field, const QString& generator)
{
    generatorField_ = field;
    generator_ = generator;
    generatorSt_.reset();
}

void Dataset::setMasterSource(DataSource* master, const QList<QPair<QString, QString>>& paramToMasterField)
{
    if (master_) {
        disconnect(master_, nullptr, this, nullptr);
        if (Dataset* old = master_->dataset())
            old->details_.erase(std::remove(old->details_.begin(), old->details_.end(), this), old->details_.end());
    }
    master_ = master;
    masterLinks_ = paramToMasterField;
    if (master_) {
        if (Dataset* m = master_->dataset())
            m->details_.push_back(this);
        connect(master_, &DataSource::scrolled, this, &Dataset::masterChanged);
        connect(master_, &DataSource::datasetChanged, this, &Dataset::masterChanged);
        connect(master_, &DataSource::dataChanged, this, &Dataset::masterRecordChanged);
    }
}

Field& Dataset::addField(const QString& name, FieldType type, int size, int scale)
{
    if (dynamicFields_) {
        close();
        fields_.clear();
        dynamicFields_ = false;
    }
    fields_.push_back(std::make_unique<Field>(this, static_cast<int>(fields_.size()), name, type, FieldKind::Data, size, scale));
    return *fields_.back();
}

Field& Dataset::addLookupField(const QString& name, FieldType type, int size, const QString& keyFields,
                               Dataset* lookup, const QString& lookupKeyFields, const QString& resultField)
{
    fields_.push_back(std::make_unique<Field>(this, static_cast<int>(fields_.size()), name, type, FieldKind::Lookup, size, 0));
    fields_.back()->setLookup(keyFields, lookup, lookupKeyFields, resultField);
    return *fields_.back();
}

Field& Dataset::addCalculatedField(const QString& name, FieldType type, int size, int scale)
{
    fields_.push_back(std::make_unique<Field>(this, static_cast<int>(fields_.size()), name, type, FieldKind::Calculated, size, scale));
    return *fields_.back();
}

Field* Dataset::field(const QString& name) const
{
    for (const auto& f : fields_)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field& Dataset::fieldByName(const QString& name) const
{
    if (Field* f = field(name))
        return *f;
    throw Error(QStringLiteral("%1: Field '%2' not found").arg(name_, name));
}

// Lifecycle ----------------------------------------------------------------------------

void Dataset::checkActive() const
{
    if (!isActive())
        throw Error(QStringLiteral("Zbiór danych %1 jest zamknięty.").arg(name_));
}

void Dataset::open()
{
    if (isActive())
        return;
    if (!connection_ || !transaction_)
        throw Error(QStringLiteral("Zbiór danych %1 nie ma połączenia z bazą danych.").arg(name_));
    if (beforeOpen)
        beforeOpen(*this);
    readRows(fields_.empty() || dynamicFields_);
    state_ = DatasetState::Browse;
    current_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    modified_ = false;
    invalidateLookupIndex();
    notify(DataEvent::StateChanged);
    notify(DataEvent::DatasetChanged);
    if (afterOpen)
        afterOpen(*this);
    if (afterScroll)
        afterScroll(*this);
}

// Reads the rows of the select with the present parameters (the master's among them), making
// the fields from its columns first when asked. The prepared select is kept for the next
// reading; one whose attachment has ended, or that the engine no longer knows, is prepared
// again, and one that failed is dropped with whatever it left open.
void Dataset::readRows(bool makeFields)
{
    applyMasterParams();
    std::unique_ptr<fb::Statement> select = std::move(selectSt_);
    if (select && !select->isLive())
        select.reset();
    const bool kept = select != nullptr;
    const auto execute = [&] {
        if (!select)
            select = std::make_unique<fb::Statement>(*connection_, *transaction_, selectSql_);
        for (const QString& p : select->paramNames())
            select->setParam(p, params_.value(p.toUpper()));
        select->execute();
    };
    try {
        execute();
    } catch (const fb::Error& e) {
        if (!kept || !e.isStatementGone())
            throw;
        select.reset();
        execute();
    }
    if (makeFields)
        createFieldsFromColumns(*select);
    bindColumns(*select);
    fetchAll(*select);
    invalidateLookupIndex();
    selectSt_ = std::move(select);
}

void Dataset::createFieldsFromColumns(const fb::Statement& select)
{
    fields_.clear();
    for (int c = 0; c < select.columnCount(); ++c) {
        const fb::Column& col = select.column(c);
        const FieldType t = fieldTypeOf(col);
        const int size = t == FieldType::String ? col.length : 0;
        const int scale = t == FieldType::Decimal ? -col.scale : 0;
        fields_.push_back(std::make_unique<Field>(this, c, col.name, t, FieldKind::Data, size, scale));
    }
    dynamicFields_ = true;
}

void Dataset::bindColumns(const fb::Statement& select)
{
    columnOfField_.assign(fields_.size(), -1);
    for (const auto& f : fields_) {
        if (f->kind() != FieldKind::Data)
            continue;
        const int c = select.columnIndex(f->name());
        if (c < 0)
            throw Error(QStringLiteral("%1: Field '%2' not found").arg(name_, f->name()));
        columnOfField_[f->index()] = c;
    }
}

void Dataset::fetchAll(fb::Statement& select)
{
    ++loads_;
    rows_.clear();
    const bool calc = onCalcFields && std::any_of(fields_.begin(), fields_.end(),
                                                  [](const auto& f) { return f->kind() == FieldKind::Calculated; });
    const size_t n = fields_.size();
    while (select.fetch()) {
        Row row(n);
        for (size_t i = 0; i < n; ++i)
            if (columnOfField_[i] >= 0)
                row[i] = fromDatabase(*fields_[i], select.value(columnOfField_[i]));
        rows_.push_back(std::move(row));
    }
    if (calc)
        for (Row& row : rows_)
            computeCalcFields(row);
    sortRows(false);
}

void Dataset::sortRows(bool keepCurrent)
{
    std::vector<std::pair<const Field*, bool>> keys;
    for (const auto& [name, ascending] : sortOrder_)
        if (const Field* f = field(name))
            keys.emplace_back(f, ascending);
    if (keys.empty() || rows_.size() < 2)
        return;
    const int n = recordCount();
    std::vector<QVariantList> keyValues(n);
    for (int r = 0; r < n; ++r)
        for (const auto& k : keys)
            keyValues[r] << k.first->valueAt(r);
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        for (size_t i = 0; i < keys.size(); ++i) {
            const int c = compareForSort(keyValues[x][int(i)], keyValues[y][int(i)]);
            if (c != 0)
                return keys[i].second ? c < 0 : c > 0;
        }
        return false;
    });
    std::vector<Row> sorted;
    sorted.reserve(n);
    for (int r : order)
        sorted.push_back(std::move(rows_[r]));
    rows_ = std::move(sorted);
    if (keepCurrent && current_ >= 0)
        current_ = static_cast<int>(std::find(order.begin(), order.end(), current_) - order.begin());
    invalidateLookupIndex();
}

// Moves the current row among the others, which stand in the order shown, to the place that
// order gives it: after the rows it does not come before. True when it moved.
bool Dataset::placeCurrentRow()
{
    std::vector<std::pair<const Field*, bool>> keys;
    for (const auto& [name, ascending] : sortOrder_.isEmpty() ? rowOrder_ : sortOrder_)
        if (const Field* f = field(name))
            keys.emplace_back(f, ascending);
    if (keys.empty() || current_ < 0 || rows_.size() < 2)
        return false;
    // The row's own keys once; every other row's as held, without copies: a save among tens
    // of thousands of rows compares them all.
    std::vector<QVariant> own;
    for (const auto& key : keys)
        own.push_back(key.first->valueAt(current_));
    QVariant looked;
    const auto valueOf = [this, &looked](const Field& f, int row) -> const QVariant& {
        return f.kind() == FieldKind::Lookup ? (looked = f.valueAt(row)) : rowValue(row, f.index());
    };
    // Texts are compared in the Polish order, which costs far more than an equality: rows in
    // order hold runs of one text (a registration among thousands of purchases), and a text
    // equal to the row before's has its comparison.
    struct Last {
        const QString* text = nullptr;
        int order = 0;
    };
    std::vector<Last> last(keys.size());
    const auto compare = [&](size_t k, const QVariant& other) {
        if (other.metaType() != QMetaType::fromType<QString>())
            return compareForSort(own[k], other);
        const QString& text = *static_cast<const QString*>(other.constData());
        if (!last[k].text || *last[k].text != text)
            last[k] = {&text, compareForSort(own[k], other)};
        return last[k].order;
    };
    const auto notAfter = [&](int r) {
        for (size_t k = 0; k < keys.size(); ++k) {
            const int c = compare(k, valueOf(*keys[k].first, r));
            if (c != 0)
                return keys[k].second ? c > 0 : c < 0;
        }
        return true;
    };
    int place = 0; // among the other rows
    for (int r = 0; r < recordCount(); ++r)
        if (r != current_ && notAfter(r))
            place = (r < current_ ? r : r - 1) + 1;
    if (place == current_)
        return false;
    Row row = std::move(rows_[current_]);
    rows_.erase(rows_.begin() + current_);
    rows_.insert(rows_.begin() + place, std::move(row));
    current_ = place;
    invalidateLookupIndex();
    return true;
}

void Dataset::sortBy(const QList<QPair<QString, bool>>& fieldAscending)
{
    // A closed dataset keeps the order for its next opening (its fields may not exist yet);
    // an open one refuses an unknown field, or a row it cannot post, before anything changes.
    if (isActive()) {
        for (const auto& key : fieldAscending)
            fieldByName(key.first);
        checkBrowseMode();
    }
    const bool wasSorted = !sortOrder_.isEmpty();
    sortOrder_ = fieldAscending;
    if (!isActive())
        return;
    if (sortOrder_.isEmpty()) {
        if (wasSorted)
            refresh(); // the query's own order
        return;
    }
    sortRows(true);
    notify(DataEvent::DatasetChanged);
}

void Dataset::computeCalcFields(Row& row)
{
    if (!onCalcFields)
        return;
    const DatasetState saved = state_;
    Row* savedRow = calcRow_;
    for (const auto& f : fields_)
        if (f->kind() == FieldKind::Calculated)
            row[f->index()] = QVariant();
    calcRow_ = &row;
    state_ = DatasetState::CalcFields;
    try {
        onCalcFields(*this);
    } catch (...) {
        state_ = saved;
        calcRow_ = savedRow;
        throw;
    }
    state_ = saved;
    calcRow_ = savedRow;
}

void Dataset::close()
{
    if (!isActive())
        return;
    // Closing runs on every way out (destructors among them): it always ends closed, and what
    // the reactions to it throw is logged, not passed on.
    if (beforeClose)
        quietly(name_, "before close", [this] { beforeClose(*this); });
    if (isEditing())
        quietly(name_, "cancel", [this] { cancel(); });
    ++loads_;
    rows_.clear();
    current_ = -1;
    bof_ = eof_ = true;
    insertedAt_ = -1;
    oldRow_.clear();
    modified_ = false;
    state_ = DatasetState::Inactive;
    invalidateLookupIndex();
    quietly(name_, "notifying the close", [this] {
        notify(DataEvent::StateChanged);
        notify(DataEvent::DatasetChanged);
    });
    if (afterClose)
        quietly(name_, "after close", [this] { afterClose(*this); });
}

void Dataset::refresh()
{
    checkActive();
    if (conflict_ && isEditing()) {
        rereadConflictingRow();
        return;
    }
    checkBrowseMode();
    QStringList keys;
    const fb::PositionalSql positional = fb::toPositional(write_.deleteSql.isEmpty() ? write_.modifySql : write_.deleteSql);
    for (const QString& p : positional.positions)
        if (p.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive))
            keys << p.mid(4);
    QVariantList keyValues;
    for (const QString& k : keys)
        keyValues << (current_ >= 0 ? fieldByName(k).value() : QVariant());
    const int oldRow = current_;

    readRows(false);
    current_ = rows_.empty() ? -1 : std::clamp(oldRow, 0, recordCount() - 1);
    if (!keys.isEmpty() && oldRow >= 0)
        if (const auto row = findRow(keys, keyValues, {}))
            current_ = *row;
    bof_ = current_ <= 0;
    eof_ = rows_.empty();
    notify(DataEvent::DatasetChanged);
    if (afterScroll)
        afterScroll(*this);
}

// Master link ---------------------------------------------------------------------------

// The master's value of a link field, null when the master has no current row.
QVariant Dataset::masterValue(const QString& masterField) const
{
    Dataset* m = master_ ? master_->dataset() : nullptr;
    const bool hasRow = m && m->isActive() && !m->isEmpty();
    return hasRow ? m->fieldByName(masterField).value() : QVariant();
}

void Dataset::applyMasterParams()
{
    if (!master_)
        return;
    for (const auto& [param, masterField] : masterLinks_)
        params_.insert(param.toUpper(), masterValue(masterField));
}

// The master's current row changed as a whole (posted, cancelled). When that changed the
// link values (a renumbered key, which the database carries over to the detail rows), the
// rows shown belong to no master any more: query again.
void Dataset::masterRecordChanged(Field* field)
{
    if (field || !isActive())
        return;
    for (const auto& [param, masterField] : masterLinks_) {
        if (masterValue(masterField) != params_.value(param.toUpper())) {
            masterChanged();
            return;
        }
    }
}

void Dataset::masterChanged()
{
    if (!isActive())
        return;
    checkBrowseMode();
    Dataset* m = master_ ? master_->dataset() : nullptr;
    if (!m || !m->isActive()) {
        // A closed master has no row: no detail rows, and nothing to ask the database.
        rows_.clear();
        current_ = -1;
        bof_ = eof_ = true;
        invalidateLookupIndex();
        notify(DataEvent::DatasetChanged);
        return;
    }
    readRows(false);
    current_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    notify(DataEvent::DatasetChanged);
    if (afterScroll)
        afterScroll(*this);
}

// Navigation -----------------------------------------------------------------------------

void Dataset::setCurrent(int row, bool notifyScroll)
{
    if (row == current_)
        return;
    // A detail's pending row belongs to the master's current row: it is posted (or refused)
    // before the master moves, so that a refusal leaves both where they were.
    for (const QPointer<Dataset>& detail : details_)
        if (detail && detail->isActive())
            detail->checkBrowseMode();
    current_ = row;
    if (notifyScroll) {
        notify(DataEvent::Scrolled);
        if (afterScroll)
            afterScroll(*this);
    }
}

void Dataset::moveTo(int row)
{
    checkActive();
    checkBrowseMode();
    if (rows_.empty())
        return;
    row = std::clamp(row, 0, recordCount() - 1);
    bof_ = eof_ = false;
    setCurrent(row, true);
}

void Dataset::first()
{
    moveTo(0);
    bof_ = true;
    eof_ = rows_.empty();
}

void Dataset::last()
{
    moveTo(recordCount() - 1);
    eof_ = true;
    bof_ = rows_.empty();
}

void Dataset::next()
{
    checkActive();
    checkBrowseMode();
    if (current_ + 1 >= recordCount()) {
        eof_ = true;
        return;
    }
    bof_ = eof_ = false;
    setCurrent(current_ + 1, true);
}

void Dataset::prior()
{
    checkActive();
    checkBrowseMode();
    if (current_ <= 0) {
        bof_ = true;
        return;
    }
    bof_ = eof_ = false;
    setCurrent(current_ - 1, true);
}

// Values ---------------------------------------------------------------------------------

const QVariant& Dataset::rowValue(int row, int fieldIndex) const
{
    static const QVariant none;
    if (row < 0 || row >= recordCount())
        return none;
    return rows_[row][fieldIndex];
}

QVariant Dataset::activeValue(int fieldIndex) const
{
    if (state_ == DatasetState::CalcFields && calcRow_)
        return (*calcRow_)[fieldIndex];
    return rowValue(current_, fieldIndex);
}

void Dataset::setActiveValue(Field& field, const QVariant& converted)
{
    if (state_ == DatasetState::CalcFields) {
        (*calcRow_)[field.index()] = converted;
        return;
    }
    Row& row = rows_[current_];
    row[field.index()] = converted;
    modified_ = true;
    invalidateLookupIndex();
    if (field.onChange && !field.reactionBlocked())
        field.onChange(field);
    if (field.kind() == FieldKind::Data && onCalcFields && isEditing())
        computeCalcFields(rows_[current_]);
    notify(DataEvent::FieldChanged, &field);
}

std::optional<int> Dataset::findRow(const QStringList& fieldNames, const QVariantList& values, LocateOptions options) const
{
    std::vector<Field*> fs;
    QVariantList keys;
    for (int i = 0; i < fieldNames.size(); ++i) {
        Field& f = fieldByName(fieldNames[i].trimmed());
        fs.push_back(&f);
        QVariant v = i < values.size() ? values[i] : QVariant();
        keys << (f.type() == FieldType::String ? (v.isValid() ? QVariant(v.toString()) : v) : f.convert(v));
    }
    for (int r = 0; r < recordCount(); ++r) {
        bool all = true;
        for (size_t i = 0; i < fs.size() && all; ++i)
            all = sameValue(fs[i]->valueAt(r), keys[static_cast<int>(i)], options);
        if (all)
            return r;
    }
    return std::nullopt;
}

bool Dataset::locate(const QStringList& fieldNames, const QVariantList& values, LocateOptions options)
{
    checkActive();
    checkBrowseMode();
    const auto row = findRow(fieldNames, values, options);
    if (!row)
        return false;
    bof_ = eof_ = false;
    setCurrent(*row, true);
    return true;
}

QVariant Dataset::lookup(const QStringList& keyFields, const QVariantList& keyValues, const QString& resultField) const
{
    if (!isActive() || rows_.empty())
        return {};
    std::vector<Field*> fs;
    QStringList names;
    for (const QString& k : keyFields) {
        fs.push_back(&fieldByName(k.trimmed()));
        names << fs.back()->name();
    }
    const QString indexName = names.join(QLatin1Char(';'));
    auto it = lookupIndex_.find(indexName);
    if (it == lookupIndex_.end()) {
        QHash<QString, int> index;
        for (int r = recordCount() - 1; r >= 0; --r) {
            QVariantList vs;
            for (Field* f : fs)
                vs << f->valueAt(r);
            index.insert(indexKey(vs), r);
        }
        it = lookupIndex_.insert(indexName, index);
    }
    QVariantList converted;
    for (size_t i = 0; i < fs.size(); ++i) {
        const QVariant v = static_cast<int>(i) < keyValues.size() ? keyValues[static_cast<int>(i)] : QVariant();
        try {
            converted << fs[i]->convert(v);
        } catch (const Error&) {
            return {};
        }
    }
    const auto found = it->constFind(indexKey(converted));
    if (found == it->constEnd())
        return {};
    return fieldByName(resultField).valueAt(*found);
}

// Notifications --------------------------------------------------------------------------

void Dataset::registerSource(DataSource* source)
{
    sources_.push_back(source);
}

void Dataset::unregisterSource(DataSource* source)
{
    sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

void Dataset::disableControls()
{
    if (disableCount_++ == 0)
        stateWhenDisabled_ = state_;
}

void Dataset::enableControls()
{
    if (disableCount_ == 0 || --disableCount_ > 0)
        return;
    const bool pending = pendingNotify_;
    pendingNotify_ = false;
    // Controls that follow the state (buttons, editors) learn of a change they missed.
    if (state_ != stateWhenDisabled_)
        notify(DataEvent::StateChanged);
    if (pending)
        notify(DataEvent::DatasetChanged);
}

void Dataset::notify(DataEvent event, Field* field)
{
    if (event == DataEvent::DatasetChanged || event == DataEvent::RecordChanged)
        invalidateLookupIndex();
    if (disableCount_ > 0) {
        pendingNotify_ = true;
        return;
    }
    emit dataEvent(event, field);
    const std::vector<DataSource*> sources = sources_;
    for (DataSource* s : sources)
        s->deliver(event, field);
}

} // namespace ds
