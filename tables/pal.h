#pragma once

#include "dbwidgets/data_screen.h"

namespace dbw {
class DBGrid;
class DBNavigator;
}

// Fuel types (RODZ_PALIWA): each fuel with the mass of one litre in kilograms, edited in a
// grid on ibds_pal.
class Tf_pal : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_pal(QWidget* parent = nullptr);
    ~Tf_pal() override;

protected:
    void openData() override;
    void closeData() override;

private:
    dbw::DBNavigator* DBNavigator;
    dbw::DBGrid* DBGrid1;
};

// The open fuel-type screen, set by the main window while it is shown.
extern Tf_pal* f_pal;
