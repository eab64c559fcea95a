#pragma once

#include <QObject>

class QWidget;

// Lets only digits be typed into a widget: every typed character goes through
// Tmetody::cyfryKeyPress, and one that it swallows never reaches the widget. Keys that type
// nothing (arrows, function keys) and control characters (Backspace) pass.
class DigitsOnlyFilter : public QObject {
    Q_OBJECT
public:
    explicit DigitsOnlyFilter(QObject* parent = nullptr);

    // Attaches a filter owned by the widget; attaching twice changes nothing.
    static void attach(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
