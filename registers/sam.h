#pragma once

#include <QDialog>
#include <functional>

class DeleteRefusal;
class QLabel;
class QSplitter;
class Tf_pobdaty;

namespace dbw {
class DBGrid;
class DBNavigator;
}

// The vehicle register ("Samochody"): the taxpayers above (IBQ_pod), the vehicles of the
// chosen one below (IBDS_sam, linked to it), edited in place; the first and last day of use
// are picked in the date picker.
class Tf_sam : public QDialog {
    Q_OBJECT
public:
    explicit Tf_sam(QWidget* parent = nullptr);
    ~Tf_sam() override;

    void done(int result) override;

    // Shows the date picker modally and returns its result (QDialog::Accepted on OK).
    // Tests put a function here that answers the picker; an empty one restores exec().
    using PickerRunner = std::function<int(Tf_pobdaty&)>;
    static void setPickerRunner(PickerRunner runner);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void FormActivate();
    void FormDeactivate();
    void DBGrid2EditButtonClick();
    void pickDate(const QString& fieldName, bool afterFirstDay);

    QLabel* e_podatnik;
    dbw::DBNavigator* DBN_opl;
    dbw::DBGrid* DBGrid1;
    QSplitter* Splitter1;
    QLabel* e_samochody;
    dbw::DBGrid* DBGrid2;
    DeleteRefusal* deleteRefusal_;
    bool activated_ = false;
    bool deactivated_ = false;
};

// The open vehicle screen, set by the action that opens it.
extern Tf_sam* f_sam;
