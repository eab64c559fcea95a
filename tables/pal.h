#pragma once

#include "dataset/opened_datasets.h"
#include "dbwidgets/data_screen.h"

class Tdm_1;

namespace dbw {
class DBGrid;
class DBNavigator;
}

// Fuel types (RODZ_PALIWA): each fuel with the mass of one litre in kilograms, edited in a
// grid on ibds_pal.
class Tf_pal : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_pal(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_pal() override;

protected:
    void openData() override;
    void closeData() override;

private:
    Tdm_1& dm_; // the data module the screen works on
    ds::OpenedDatasets data_; // what the screen shows, while it is open
    dbw::DBNavigator* DBNavigator;
    dbw::DBGrid* DBGrid1;
};

// The open fuel-type screen, set by the main window while it is shown.
extern Tf_pal* f_pal;
