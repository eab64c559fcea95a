#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

namespace dbw {

// A column of a DBGrid: a field of the dataset and how the grid shows it.
struct GridColumn {
    QString field;
    QString title;           // the field's label (or name) when empty
    int width = -1;          // pixels; -1: from the field's display width
    bool readOnly = false;
    bool ellipsis = false;   // an ellipsis button in the current cell (DBGrid::editButtonClicked)
    int dropDownRows = 7;    // rows of a lookup column's drop-down list
    bool widenToContent = false; // wider than `width` when a shown value needs it
    Qt::Alignment titleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// One cell of a grid's totals footer.
struct FooterCell {
    QStringList lines;
    bool bold = false;
    QString hint;
};

} // namespace dbw
