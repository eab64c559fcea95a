#include "dbwidgets/db_edit.h"

#include <QKeyEvent>

#include "dataset/dataset.h"
#include "dbwidgets/cancel_control.h"
#include "desktop/messages.h"

namespace dbw {

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(&link_, &FieldLink::dataChanged, this, &DBEdit::refresh);
    connect(&link_, &FieldLink::stateChanged, this, &DBEdit::refresh);
    connect(&link_, &FieldLink::updateRecord, this, &DBEdit::commit);
    connect(this, &QLineEdit::textEdited, this, &DBEdit::typed);
    connect(this, &QLineEdit::returnPressed, this, &DBEdit::finished);
    refresh();
}

void DBEdit::setFieldMaxLength(int length)
{
    maxLength_ = length;
    refresh();
}

void DBEdit::refresh()
{
    ds::Field* f = link_.field();
    const int length = maxLength_ > 0 ? maxLength_ : (f && f->type() == ds::FieldType::String ? f->size() : 0);
    setMaxLength(length > 0 ? length : 32767);
    setReadOnly(!link_.canModify());
    // Typed text belongs to the edit of one row: once that edit is over (cancelled, posted,
    // or the row left), it must not be written into another row.
    if (modified_ && !link_.isEditing())
        modified_ = false;
    if (modified_)
        return;
    const bool active = link_.isActive() && f && link_.dataset()->recNo() >= 0;
    const QString shown = !active ? QString() : (hasFocus() || link_.isEditing()) ? f->editText() : f->displayText();
    if (shown != text())
        setText(shown);
}

void DBEdit::typed()
{
    if (!link_.canModify()) {
        modified_ = false;
        refresh();
        return;
    }
    modified_ = true;
    link_.edit();
}

void DBEdit::commit()
{
    if (!modified_)
        return;
    ds::Field* f = link_.field();
    if (!f || !link_.isEditing()) {
        modified_ = false;
        refresh();
        return;
    }
    f->setText(text());
    modified_ = false;
    refresh();
}

void DBEdit::finished()
{
    try {
        commit();
    } catch (const std::exception& e) {
        selectAll();
        desktop::showError(QString::fromUtf8(e.what()), this);
    }
}

void DBEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && modified_) {
        modified_ = false;
        refresh();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DBEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    refresh();
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason && !focusGoesToCancel())
        finished();
    refresh();
}

} // namespace dbw
