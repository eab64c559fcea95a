#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QWidget>

class QProgressBar;
class QPushButton;

// The progress of an import on its screen, with "Przerwij", shown while the import runs. The
// window stays alive meanwhile: the import lets it handle its events, the user's too, while
// every other control of the screen is off (the log stays readable); closing the screen then
// asks to stop instead, since the run has to end first.
class RunBar : public QWidget {
    Q_OBJECT
public:
    explicit RunBar(QWidget* screen);
    // The stop button's caption ("Przerwij" unless set).
    void setStopCaption(const QString& caption);

    // While one lives, the import runs.
    class Run {
    public:
        // `readable`: controls that stay on (a log to read as it grows).
        Run(RunBar& bar, const QList<QWidget*>& readable = {});
        ~Run();
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;

    private:
        RunBar& bar_;
        QList<QPointer<QWidget>> turnedOff_;
    };

    // Asked by the import before each entry: true once "Przerwij" was pressed, the screen
    // was closed, or the system asked the program to end.
    bool stopAsked() const;
    // `done` of `total` (0: not yet known); lets the window handle what came meanwhile.
    void progress(qint64 done, qint64 total);
    // Lets the window handle what came meanwhile (after a line of the log, while waiting for
    // another desk), at most every few hundredths of a second.
    void keepAlive();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* screen_;
    QProgressBar* pb_postep;
    QPushButton* kl_przerwij;
    bool running_ = false;
    bool stop_ = false;
    QElapsedTimer sinceEvents_;
};
