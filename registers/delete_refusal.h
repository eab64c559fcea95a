#pragma once

#include <QObject>
#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace dbw {
class DBGrid;
class DBNavigator;
}

// The database refuses to delete a row that other rows still refer to (a taxpayer who owns
// vehicles, a vehicle with purchases). The server's own text names constraints and tables;
// this shows the screen's plain Polish explanation instead. Other failures go on as they are.
class DeleteRefusal : public QObject {
    Q_OBJECT
public:
    // `message` is shown over `screen`, which owns this object.
    DeleteRefusal(const QString& message, QWidget* screen);

    // Takes over the navigator's Delete button and the grid's Ctrl+Delete, so that their
    // deletions run through run().
    void guard(dbw::DBNavigator* navigator);
    void guard(dbw::DBGrid* grid);

    // Runs a deletion; a refusal by a foreign key shows the message.
    void run(const std::function<void()>& deletion) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString message_;
    QWidget* screen_;
};
