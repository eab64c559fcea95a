#pragma once

#include <QApplication>

// The program's application object. An exception that escapes an event handler is shown
// to the user in the standard error box and the program goes on, as the user expects of
// a failed operation: the window stays as it was.
class Application : public QApplication {
    Q_OBJECT
public:
    // The title the program goes by: error boxes are captioned with it.
    static QString title();

    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void report(const QString& text);
};
