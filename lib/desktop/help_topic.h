#pragma once

#include <QString>
#include <QUrl>

namespace desktop {

// One page of the program's help, found by its context number.
struct HelpTopic {
    int context = 0;
    QString title;
    QUrl source; // an HTML page, usually "qrc:/..."
};

} // namespace desktop
