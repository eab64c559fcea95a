#pragma once

#include "dataset/opened_datasets.h"
#include "dbwidgets/data_screen.h"
#include <functional>

class Tdm_1;

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
class Tf_sam : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_sam(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_sam() override;

    // Shows the date picker modally and returns its result (QDialog::Accepted on OK).
    // Tests put a function here that answers the picker; an empty one restores exec().
    using PickerRunner = std::function<int(Tf_pobdaty&)>;
    static void setPickerRunner(PickerRunner runner);

protected:
    void openData() override { FormActivate(); }
    void closeData() override { FormDeactivate(); }

private:
    Tdm_1& dm_; // the data module the screen works on
    ds::OpenedDatasets data_; // what the screen shows, while it is open
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
};

// The open vehicle screen, set by the action that opens it.
extern Tf_sam* f_sam;
