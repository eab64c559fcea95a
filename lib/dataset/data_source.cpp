#include "dataset/data_source.h"

#include "dataset/dataset.h"

namespace ds {

DataSource::DataSource(const QString& name, Dataset* dataset, QObject* parent)
    : QObject(parent), name_(name), dataset_(dataset)
{
    setObjectName(name);
    if (dataset_)
        dataset_->registerSource(this);
}

DataSource::~DataSource()
{
    if (dataset_)
        dataset_->unregisterSource(this);
}

void DataSource::deliver(DataEvent event, Field* field)
{
    switch (event) {
    case DataEvent::FieldChanged:
    case DataEvent::RecordChanged:
        emit dataChanged(field);
        if (onDataChange)
            onDataChange(*this, field);
        break;
    case DataEvent::Scrolled:
        emit scrolled();
        emit dataChanged(nullptr);
        if (onDataChange)
            onDataChange(*this, nullptr);
        break;
    case DataEvent::DatasetChanged:
        emit datasetChanged();
        emit dataChanged(nullptr);
        if (onDataChange)
            onDataChange(*this, nullptr);
        break;
    case DataEvent::StateChanged:
        emit stateChanged();
        if (onStateChange)
            onStateChange(*this);
        break;
    case DataEvent::UpdateRecord:
        emit updateRecord();
        break;
    }
}

} // namespace ds
