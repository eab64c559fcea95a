#pragma once

#include <QLabel>

#include "dbwidgets/field_link.h"

namespace dbw {

// Shows a field of the current row, formatted, read-only.
class DBText : public QLabel {
    Q_OBJECT
public:
    explicit DBText(QWidget* parent = nullptr);
    void setDataSource(ds::DataSource* source) { link_.setDataSource(source); }
    void setFieldName(const QString& name) { link_.setFieldName(name); }

private:
    void refresh();
    FieldLink link_;
};

} // namespace dbw
