#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QPointer>

namespace dbw {

// The base of every screen that shows shared data: a modal dialog that opens its data when
// it is first shown and closes it when it closes, however it is closed. Before closing it
// settles the rows being edited by the one rule (leaveRow); when the user stays with a row,
// the screen stays open. Message boxes opened over it do not count as closing. Escape that
// no control took (a grid or an edit takes it to drop what is being typed) closes it, by the
// same rule, or presses its cancel button where it has one.
class DataScreen : public QDialog {
    Q_OBJECT
public:
    enum class Placement { AsIs, ScreenCentre, OwnerCentre };

    // Opens the data first: a screen whose data cannot be read (the server gone) says why and
    // does not open, rather than showing half-built. Rejected then.
    int exec() override;

    // The closing steps run before the dialog ends, however it is closed.
    void done(int result) override;
    // Between the opening and the closing steps.
    bool isDataOpen() const { return dataOpen_; }

protected:
    DataScreen(QWidget* parent, Placement placement,
               Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    virtual void openData() = 0;
    virtual void closeData() = 0;
    // Settles each row being edited before the screen closes; false when the user stays
    // with one. By default the one rule for every dataset that a navigator of the screen
    // edits.
    virtual bool leaveEditedRows();
    // For the destructors of the screens: a screen freed while still open closes its
    // datasets too (the base class cannot reach the screen's own steps any more then).
    // Never throws: what fails on the way is logged.
    void closeDataIfOpen();
    // For a screen that works from its creation rather than from its first showing.
    void openDataNow();

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The screen's cancel button: Escape that no control took presses it instead of closing.
    void setCancelButton(QAbstractButton* button) { cancelButton_ = button; }

private:
    QPointer<QAbstractButton> cancelButton_;
    void place();
    void closeOpenData();

    Placement placement_;
    bool shownOnce_ = false;
    bool dataOpen_ = false;
};

} // namespace dbw
