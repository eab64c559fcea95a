#pragma once


#include "dataset/opened_datasets.h"
#include "dbwidgets/data_screen.h"


class Tdm_1;

class DeleteRefusal;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace dbw {
class DBEdit;
class DBMemo;
class DBNavigator;
}

// The taxpayer register ("Podatnik"): one taxpayer of PODAT at a time, edited through
// IBDS_podat of the data module, with a search by number, a search by short or full name
// and the NIP and REGON checks. Its short-name list follows the names the data module
// announces as rows are posted and deleted.
class Tf_pod : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_pod(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_pod() override;

protected:
    void openData() override { FormActivate(); }
    void closeData() override { FormDeactivate(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Tdm_1& dm_; // the data module the screen works on
    ds::OpenedDatasets data_; // what the screen shows, while it is open
    void buildControls();
    void FormActivate();
    void FormDeactivate();
    void z_szuk_nrChange();
    void z_szuk_nazChange();
    void sb_nrClick();
    void sb_nazClick();
    void sb_sprnipClick();
    void sb_regClick();
    void fillShortNames();

    dbw::DBNavigator* DBN_podat;
    QLineEdit* z_szuk_nr;
    QToolButton* sb_nr;
    QComboBox* z_szuk_naz;
    QToolButton* sb_naz;
    dbw::DBEdit* DBE_nr;
    dbw::DBEdit* DBE_nazskr;
    dbw::DBMemo* DBM_naz;
    dbw::DBMemo* DBM_adr;
    dbw::DBMemo* DBM_tel;
    dbw::DBEdit* DBE_nip;
    QToolButton* sb_sprnip;
    dbw::DBEdit* DBE_reg;
    QToolButton* sb_reg;
    DeleteRefusal* deleteRefusal_;

    // The short-name list of the name search.
    void addShortName(const QString& name);
    void removeShortName(const QString& name);
};

// The open taxpayer screen, set by the action that opens it.
extern Tf_pod* f_pod;
