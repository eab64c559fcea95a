#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "dataset/data_event.h"

namespace ds {

class Dataset;
class Field;

// What widgets and detail datasets bind to: one dataset, and the notifications of it.
class DataSource : public QObject {
    Q_OBJECT
public:
    DataSource(const QString& name, Dataset* dataset, QObject* parent = nullptr);
    ~DataSource() override;

    const QString& name() const { return name_; }
    Dataset* dataset() const { return dataset_; }

    // The data-change reaction: the current row moved, its values changed (field given),
    // or the dataset was opened or reloaded (field null). Empty to detach.
    std::function<void(DataSource&, Field*)> onDataChange;
    std::function<void(DataSource&)> onStateChange;

    void deliver(DataEvent event, Field* field);
    // The dataset is going away before this source.
    void forgetDataset() { dataset_ = nullptr; }

signals:
    void dataChanged(ds::Field* field);    // row values or position (field null: whole row)
    void datasetChanged();                 // rows added, removed or reloaded
    void scrolled();                       // another row became current
    void stateChanged();
    void updateRecord();                   // editors: write pending text now

private:
    QString name_;
    Dataset* dataset_;
};

} // namespace ds
