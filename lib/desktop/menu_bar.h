#pragma once

#include <QMenuBar>

namespace desktop {

// A menu bar on which Alt and a letter that several items share always goes to the first of
// them, never in turns: Qt's own bar would take turns, so that every second press landed on
// another item, and an item that acts at once (a help command) acted unasked.
class MenuBar : public QMenuBar {
    Q_OBJECT
public:
    explicit MenuBar(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;

private:
    void openItem(QAction* item);
};

} // namespace desktop
