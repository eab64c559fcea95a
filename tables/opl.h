#pragma once

#include "dataset/opened_datasets.h"
#include "dbwidgets/data_screen.h"

class Tdm_1;

class QComboBox;
class QLabel;
class QSplitter;

namespace dbw {
class DBGrid;
class DBNavigator;
}

// The fee-rate table (TAB_OPL_SILN): the vehicle types in an upper list, and the rates in
// złoty per tonne of fuel of the chosen type, one row per fuel, in a lower grid, for the
// year typed or chosen in the year list (or for all years when it is empty). The year list
// shows the years the data module keeps as rates are posted and deleted.
class Tf_opl : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_opl(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_opl() override;

    // The year text changed (typed, chosen, or left): the rates of that year are shown.
    void c_rokExit();

protected:
    void openData() override;
    void closeData() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Tdm_1& dm_; // the data module the screen works on
    ds::OpenedDatasets data_; // what the screen shows, while it is open
    // The years that have rates as the list's items, and the year shown as its text.
    void showYears(const QStringList& years, const QString& shown);

    QLabel* Label1;
    QLabel* Label2;
    QComboBox* c_rok;
    dbw::DBNavigator* DBN_opl;
    dbw::DBGrid* DBGrid1;
    QSplitter* Splitter1;
    QLabel* Label3;
    dbw::DBGrid* DBGrid2;
    // The fuel names of the rates come from ibds_pal; it is closed again on closing when
    // this screen opened it.
};

// The open fee-rate screen, set by the main window while it is shown.
extern Tf_opl* f_opl;
