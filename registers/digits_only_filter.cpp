#include "registers/digits_only_filter.h"

#include <QKeyEvent>
#include <QWidget>

#include "registers/identifiers.h"
#include "registers/metody.h"

DigitsOnlyFilter::DigitsOnlyFilter(QObject* parent) : QObject(parent) {}

void DigitsOnlyFilter::attach(QWidget* widget)
{
    if (widget->findChild<DigitsOnlyFilter*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    widget->installEventFilter(new DigitsOnlyFilter(widget));
}

bool DigitsOnlyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // With Ctrl a letter types nothing but a control character (Ctrl+A is 1), which passes;
    // Ctrl with Alt is AltGr, which does type.
    if ((key->modifiers() & Qt::ControlModifier) && !(key->modifiers() & Qt::AltModifier))
        return false;
    const QString typed = key->text();
    for (const QChar c : typed) {
        unsigned char key = registers::cp1250Code(c);
        Tmetody::cyfryKeyPress(watched, key);
        if (key == 0)
            return true;
    }
    return false;
}
