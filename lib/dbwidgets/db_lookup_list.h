#pragma once

#include <QListWidget>
#include <QPointer>

#include "dbwidgets/field_link.h"

namespace dbw {

// A list of the values that a lookup field can take (the result field of every row of its
// lookup dataset, in that dataset's order). Choosing an item moves the lookup dataset to
// that row and sets the lookup field, which sets its key field; the current row's value is
// shown as the selected item.
class DBLookupList : public QListWidget {
    Q_OBJECT
public:
    explicit DBLookupList(QWidget* parent = nullptr);

    void setDataSource(ds::DataSource* source) { link_.setDataSource(source); }
    void setFieldName(const QString& name);
    FieldLink& link() { return link_; }
    // A read-only list shows the value but refuses the user's choice.
    void setReadOnly(bool on) { readOnly_ = on; }
    bool isReadOnly() const { return readOnly_; }

signals:
    void clicked();
    void exited();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void watchLookupDataset();
    void reload();
    void showValue();
    void chosen(int row);

    FieldLink link_;
    QPointer<ds::Dataset> watched_;
    bool readOnly_ = false;
    bool updating_ = false;
};

} // namespace dbw
