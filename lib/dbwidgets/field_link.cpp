#include "dbwidgets/field_link.h"

#include "dataset/data_source.h"
#include "dataset/dataset.h"

namespace dbw {

FieldLink::FieldLink(QObject* parent) : QObject(parent) {}

void FieldLink::setDataSource(ds::DataSource* source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &ds::DataSource::dataChanged, this, &FieldLink::dataChanged);
        connect(source_, &ds::DataSource::stateChanged, this, &FieldLink::stateChanged);
        connect(source_, &ds::DataSource::updateRecord, this, &FieldLink::updateRecord);
    }
    emit stateChanged();
    emit dataChanged();
}

void FieldLink::setFieldName(const QString& name)
{
    fieldName_ = name;
    emit dataChanged();
}

ds::Dataset* FieldLink::dataset() const
{
    return source_ ? source_->dataset() : nullptr;
}

ds::Field* FieldLink::field() const
{
    ds::Dataset* d = dataset();
    return d ? d->field(fieldName_) : nullptr;
}

bool FieldLink::isActive() const
{
    ds::Dataset* d = dataset();
    return d && d->isActive();
}

bool FieldLink::isEditing() const
{
    ds::Dataset* d = dataset();
    return d && d->isEditing();
}

bool FieldLink::canModify() const
{
    ds::Field* f = field();
    return isActive() && dataset()->canModify() && f && !f->isReadOnly() && f->kind() != ds::FieldKind::Calculated;
}

void FieldLink::edit()
{
    if (ds::Dataset* d = dataset(); d && d->isActive() && !d->isEditing())
        d->edit();
}

} // namespace dbw
