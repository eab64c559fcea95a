#include "dbwidgets/db_text.h"

#include "dataset/dataset.h"

namespace dbw {

DBText::DBText(QWidget* parent) : QLabel(parent)
{
    connect(&link_, &FieldLink::dataChanged, this, &DBText::refresh);
    connect(&link_, &FieldLink::stateChanged, this, &DBText::refresh);
}

void DBText::refresh()
{
    ds::Field* f = link_.field();
    setText(link_.isActive() && f && link_.dataset()->recNo() >= 0 ? f->displayText() : QString());
}

} // namespace dbw
