#include "dbwidgets/db_memo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextCursor>

#include "dataset/dataset.h"
#include "desktop/messages.h"

namespace dbw {

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    connect(&link_, &FieldLink::dataChanged, this, &DBMemo::refresh);
    connect(&link_, &FieldLink::stateChanged, this, &DBMemo::refresh);
    connect(&link_, &FieldLink::updateRecord, this, &DBMemo::commit);
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::changed);
    refresh();
}

int DBMemo::limit() const
{
    if (maxLength_ > 0)
        return maxLength_;
    ds::Field* f = link_.field();
    return f && f->type() == ds::FieldType::String ? f->size() : 0;
}

void DBMemo::refresh()
{
    setReadOnly(!link_.canModify());
    // Typed text belongs to the edit of one row: once that edit is over (cancelled, posted,
    // or the row left), it must not be written into another row.
    if (modified_ && !link_.isEditing())
        modified_ = false;
    if (modified_)
        return;
    ds::Field* f = link_.field();
    const QString shown = link_.isActive() && f && link_.dataset()->recNo() >= 0 ? f->asString() : QString();
    if (shown != toPlainText()) {
        updating_ = true;
        setPlainText(shown);
        updating_ = false;
    }
    accepted_ = shown;
}

void DBMemo::changed()
{
    if (updating_)
        return;
    const QString now = toPlainText();
    const int max = limit();
    if (max > 0 && now.size() > max) {
        // Refuse the keystroke that goes past the field's size, as a one-line edit does.
        QApplication::beep();
        updating_ = true;
        const int position = std::min(textCursor().position(), static_cast<int>(accepted_.size()));
        setPlainText(accepted_);
        QTextCursor c = textCursor();
        c.setPosition(position);
        setTextCursor(c);
        updating_ = false;
        return;
    }
    if (!link_.canModify()) {
        refresh();
        return;
    }
    accepted_ = now;
    modified_ = true;
    link_.edit();
}

void DBMemo::commit()
{
    if (!modified_)
        return;
    ds::Field* f = link_.field();
    if (f && link_.isEditing())
        f->setText(toPlainText());
    modified_ = false;
    refresh();
}

void DBMemo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && modified_) {
        modified_ = false;
        refresh();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void DBMemo::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    try {
        commit();
    } catch (const std::exception& e) {
        desktop::showError(QString::fromUtf8(e.what()), this);
    }
}

} // namespace dbw
