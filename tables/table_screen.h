#pragma once

#include <QDialog>

// What the reference-table screens have in common: a modal dialog with only a close box,
// placed when it is first shown, that opens the shared datasets it shows at that moment
// and closes them when it closes. Message boxes opened over it do not count as closing.
class TableScreen : public QDialog {
    Q_OBJECT
public:
    enum class Placement { ScreenCentre, MainWindowCentre };

    // The closing steps run before the dialog ends, however it is closed.
    void done(int result) override;
    // Between the opening and the closing steps.
    bool isDataOpen() const { return dataOpen_; }

protected:
    TableScreen(QWidget* parent, Placement placement);

    virtual void openData() = 0;
    virtual void closeData() = 0;
    // For the destructors of the screens: a screen freed while still open closes its
    // datasets too (the base class cannot reach the screen's own steps any more then).
    // Never throws: what fails on the way is logged.
    void closeDataIfOpen();

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void place();
    void closeOpenData();

    Placement placement_;
    bool shownOnce_ = false;
    bool dataOpen_ = false;
};
