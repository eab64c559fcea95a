#include "desktop/menu_bar.h"

#include <QMenu>
#include <QShortcutEvent>

namespace desktop {

MenuBar::MenuBar(QWidget* parent) : QMenuBar(parent) {}

bool MenuBar::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        // A letter that only one item has goes to it as Qt delivers it.
        if (shortcut->isAmbiguous())
            for (QAction* item : actions())
                if (item->isVisible() && item->isEnabled() && QKeySequence::mnemonic(item->text()) == shortcut->key()) {
                    openItem(item);
                    return true;
                }
    }
    return QMenuBar::event(event);
}

// As a mnemonic of its own opens it: a menu drops down with its first item marked, an item
// without a menu acts.
void MenuBar::openItem(QAction* item)
{
    QMenu* menu = item->menu();
    if (!menu) {
        item->trigger();
        return;
    }
    setActiveAction(item);
    for (QAction* first : menu->actions())
        if (!first->isSeparator() && first->isVisible() && first->isEnabled()) {
            menu->setActiveAction(first);
            break;
        }
}

} // namespace desktop
