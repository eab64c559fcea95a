#pragma once

#include "dataset/opened_datasets.h"
#include "dbwidgets/data_screen.h"

class Tdm_1;

class QPlainTextEdit;

namespace dbw {
class DBGrid;
class DBNavigator;
}

// Yearly parameters (PARAM): per year the minimum wage and the percentage of it up to
// which no fee is due, edited in a grid on IBT_param under a note on how the two values
// give that amount.
class Tf_par : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_par(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_par() override;

protected:
    void openData() override;
    void closeData() override;

private:
    Tdm_1& dm_; // the data module the screen works on
    ds::OpenedDatasets data_; // what the screen shows, while it is open
    QPlainTextEdit* Memo1;
    dbw::DBNavigator* DBNavigator1;
    dbw::DBGrid* DBGrid1;
};

// The open yearly-parameter screen, set by the main window while it is shown.
extern Tf_par* f_par;
