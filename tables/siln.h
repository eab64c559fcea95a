#pragma once

#include "dataset/opened_datasets.h"
#include "dbwidgets/data_screen.h"

class Tdm_1;

namespace dbw {
class DBGrid;
class DBNavigator;
}

// Vehicle (engine) types (RODZ_SILNIKA), the classes for which the fee-rate table holds
// rates, edited in a grid on IBDS_siln.
class Tf_siln : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_siln(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_siln() override;

protected:
    void openData() override;
    void closeData() override;

private:
    Tdm_1& dm_; // the data module the screen works on
    ds::OpenedDatasets data_; // what the screen shows, while it is open
    dbw::DBNavigator* DBNav_siln;
    dbw::DBGrid* DBG_siln;
};

// The open vehicle-type screen, set by the main window while it is shown.
extern Tf_siln* f_siln;
