#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "dataset/data_source.h"

namespace ds {
class Dataset;
class Field;
}

namespace dbw {

// Ties a widget to one field of a data source: tells it when to show the value anew, when
// the dataset's state changed, and when to write pending text before a post.
class FieldLink : public QObject {
    Q_OBJECT
public:
    explicit FieldLink(QObject* parent = nullptr);

    void setDataSource(ds::DataSource* source);
    void setFieldName(const QString& name);
    ds::DataSource* dataSource() const { return source_; }
    const QString& fieldName() const { return fieldName_; }

    ds::Dataset* dataset() const;
    ds::Field* field() const; // null while the dataset lacks the field
    bool isActive() const;
    bool isEditing() const;
    // The widget may change the value: an open, modifiable dataset and a writable field.
    bool canModify() const;
    // Puts the dataset into edit state (a new row on an empty dataset) unless it is editing.
    void edit();

signals:
    void dataChanged();
    void stateChanged();
    void updateRecord();

private:
    QPointer<ds::DataSource> source_;
    QString fieldName_;
};

} // namespace dbw
