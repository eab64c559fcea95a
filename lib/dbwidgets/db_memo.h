#pragma once

#include <QPlainTextEdit>

#include "dbwidgets/field_link.h"

namespace dbw {

// A multi-line edit of a text field, with the field's size as its limit; like DBEdit it
// writes on leaving and before any post.
class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setDataSource(ds::DataSource* source) { link_.setDataSource(source); }
    void setFieldName(const QString& name) { link_.setFieldName(name); }
    void setMaxLength(int length) { maxLength_ = length; }
    FieldLink& link() { return link_; }
    bool isModified() const { return modified_; }
    void commit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void refresh();
    void changed();
    int limit() const;

    FieldLink link_;
    bool modified_ = false;
    bool updating_ = false;
    int maxLength_ = 0;
    QString accepted_;
};

} // namespace dbw
