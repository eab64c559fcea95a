#pragma once

#include <QObject>

namespace desktop {

// Installed on the application: F1 anywhere opens the help topic of the focused part of
// the window (see nearestHelpContext), or the contents when nothing there has a topic.
class HelpKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit HelpKeyFilter(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace desktop
