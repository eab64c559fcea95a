#pragma once

#include <QLineEdit>

#include "dbwidgets/field_link.h"

namespace dbw {

// A one-line edit of a field of the current row. Typing puts the dataset into edit state;
// the text goes into the field when the user presses Enter or leaves the edit, and before
// any post. Escape brings back the field's value.
class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    void setDataSource(ds::DataSource* source) { link_.setDataSource(source); }
    void setFieldName(const QString& name) { link_.setFieldName(name); }
    FieldLink& link() { return link_; }
    // A length that overrides the field's size (0: the field's size).
    void setFieldMaxLength(int length);
    bool isModified() const { return modified_; }
    // Writes pending text into the field; throws when the field refuses it.
    void commit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void refresh();
    void typed();
    void finished();

    FieldLink link_;
    bool modified_ = false;
    int maxLength_ = 0;
};

} // namespace dbw
