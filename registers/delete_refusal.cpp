#include "registers/delete_refusal.h"

#include <QKeyEvent>
#include <QToolButton>

#include "data/refusals.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/db_navigator.h"
#include "desktop/messages.h"

DeleteRefusal::DeleteRefusal(const QString& message, QWidget* screen)
    : QObject(screen), message_(message), screen_(screen)
{
}

void DeleteRefusal::guard(dbw::DBNavigator* navigator)
{
    // The navigator deletes from its own click handler, where nothing of the screen could
    // catch the refusal; its button is rewired to the same action wrapped in run().
    QToolButton* button = navigator->button(dbw::DBNavigator::Delete);
    QObject::disconnect(button, &QToolButton::clicked, navigator, nullptr);
    connect(button, &QToolButton::clicked, navigator,
            [this, navigator] { run([navigator] { navigator->click(dbw::DBNavigator::Delete); }); });
}

void DeleteRefusal::guard(dbw::DBGrid* grid)
{
    grid->installEventFilter(this);
}

void DeleteRefusal::run(const std::function<void()>& deletion) const
{
    try {
        deletion();
    } catch (const std::exception& failure) {
        if (!data::isReferencedRow(failure))
            throw;
        desktop::showError(message_, screen_);
    }
}

bool DeleteRefusal::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* grid = qobject_cast<dbw::DBGrid*>(watched);
    if (!grid || key->key() != Qt::Key_Delete || key->modifiers() != Qt::ControlModifier)
        return false;
    run([grid] { grid->deleteCurrentRow(); });
    return true;
}
