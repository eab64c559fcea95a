#pragma once

#include "dbwidgets/data_screen.h"

namespace dbw {
class DBGrid;
class DBNavigator;
}

// Vehicle (engine) types (RODZ_SILNIKA), the classes for which the fee-rate table holds
// rates, edited in a grid on IBDS_siln.
class Tf_siln : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_siln(QWidget* parent = nullptr);
    ~Tf_siln() override;

protected:
    void openData() override;
    void closeData() override;

private:
    dbw::DBNavigator* DBNav_siln;
    dbw::DBGrid* DBG_siln;
};

// The open vehicle-type screen, set by the main window while it is shown.
extern Tf_siln* f_siln;
