#include "dbwidgets/db_lookup_list.h"

#include <QKeyEvent>

#include "dataset/dataset.h"
#include "desktop/messages.h"

namespace dbw {

DBLookupList::DBLookupList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(&link_, &FieldLink::dataChanged, this, [this] {
        watchLookupDataset();
        showValue();
    });
    connect(&link_, &FieldLink::stateChanged, this, &DBLookupList::showValue);
    connect(this, &QListWidget::currentRowChanged, this, &DBLookupList::chosen);
}

void DBLookupList::setFieldName(const QString& name)
{
    link_.setFieldName(name);
    watchLookupDataset();
    reload();
}

void DBLookupList::watchLookupDataset()
{
    ds::Field* f = link_.field();
    ds::Dataset* lookup = f ? f->lookupDataset() : nullptr;
    if (lookup == watched_)
        return;
    if (watched_)
        disconnect(watched_, nullptr, this, nullptr);
    watched_ = lookup;
    if (watched_)
        connect(watched_, &ds::Dataset::dataEvent, this, [this](ds::DataEvent e, ds::Field*) {
            if (e == ds::DataEvent::DatasetChanged)
                reload();
        });
    reload();
}

void DBLookupList::reload()
{
    updating_ = true;
    clear();
    ds::Field* f = link_.field();
    if (watched_ && watched_->isActive() && f) {
        const ds::Field& result = watched_->fieldByName(f->lookupResultField());
        for (int row = 0; row < watched_->recordCount(); ++row)
            addItem(result.displayTextAt(row));
    }
    updating_ = false;
    showValue();
}

void DBLookupList::showValue()
{
    ds::Field* f = link_.field();
    const QString value = f && link_.isActive() && link_.dataset()->recNo() >= 0 ? f->displayText() : QString();
    updating_ = true;
    int row = -1;
    for (int i = 0; i < count() && !value.isEmpty(); ++i)
        if (item(i)->text() == value) {
            row = i;
            break;
        }
    setCurrentRow(row);
    if (row < 0)
        clearSelection();
    updating_ = false;
}

void DBLookupList::chosen(int row)
{
    if (updating_ || row < 0)
        return;
    ds::Field* f = link_.field();
    if (readOnly_ || !f || !link_.canModify() || !watched_) {
        showValue();
        return;
    }
    try {
        link_.edit();
        if (watched_->recNo() != row)
            watched_->moveTo(row);
        f->setValue(item(row)->text());
    } catch (const std::exception& e) {
        showValue();
        desktop::showError(QString::fromUtf8(e.what()), this);
    }
}

// A read-only list takes the focus but leaves the selection alone: the view would otherwise
// mark the clicked item while the field keeps its value.
void DBLookupList::mousePressEvent(QMouseEvent* event)
{
    if (readOnly_) {
        if (focusPolicy() & Qt::ClickFocus)
            setFocus(Qt::MouseFocusReason);
        event->accept();
    } else {
        QListWidget::mousePressEvent(event);
    }
    emit clicked();
}

void DBLookupList::mouseMoveEvent(QMouseEvent* event)
{
    if (readOnly_)
        event->accept();
    else
        QListWidget::mouseMoveEvent(event);
}

void DBLookupList::keyPressEvent(QKeyEvent* event)
{
    if (readOnly_ && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    QListWidget::keyPressEvent(event);
}

// Gaining the focus chooses nothing: without a current item the view would make its first
// item current, and that would set the field.
void DBLookupList::focusInEvent(QFocusEvent* event)
{
    updating_ = true;
    QListWidget::focusInEvent(event);
    updating_ = false;
    showValue();
}

void DBLookupList::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit exited();
}

} // namespace dbw
