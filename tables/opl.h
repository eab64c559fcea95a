#pragma once

#include <optional>

#include "data/screen_links.h"
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
// year typed or chosen in the year list (or for all years when it is empty). While the
// screen is open the data module keeps the year list in step with the rates posted and
// deleted, through data::FeeRateScreen.
class Tf_opl : public dbw::DataScreen, public data::FeeRateScreen {
    Q_OBJECT
public:
    explicit Tf_opl(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_opl() override;

    // data::FeeRateScreen
    QString shownYear() const override;
    bool hasYear(int year) const override;
    void addYear(int year) override;
    void removeYear(int year) override;
    void selectLastYear() override;
    void rebuildRateQuery() override;

    // Sets the select statement of IBDS_opl for the text of the year list.
    void ustal_sql_opl();
    // The year text changed (typed, chosen, or left): the rates of that year are shown.
    void c_rokExit();

protected:
    void openData() override;
    void closeData() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Tdm_1& dm_; // the data module the screen works on
    // Changes the items of the year list and keeps the text that it shows.
    template <class Change>
    void keepYearText(Change change);

    QLabel* Label1;
    QLabel* Label2;
    QComboBox* c_rok;
    dbw::DBNavigator* DBN_opl;
    dbw::DBGrid* DBGrid1;
    QSplitter* Splitter1;
    QLabel* Label3;
    dbw::DBGrid* DBGrid2;
    // The year text that the select statement of the rates was built from.
    QString yearOfRates_;
    // The fuel names of the rates come from ibds_pal; it is closed again on closing when
    // this screen opened it.
    bool openedFuels_ = false;
    std::optional<data::ScreenLink<data::FeeRateScreen>> link_;
};

// The open fee-rate screen, set by the main window while it is shown.
extern Tf_opl* f_opl;
