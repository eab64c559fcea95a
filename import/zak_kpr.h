#pragma once

#include "data/period.h"
#include "dataset/opened_datasets.h"
#include "dbwidgets/data_screen.h"

class FolderChooser;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class RunBar;
class Tdm_1;

namespace common {
class PeriodChooser;
}

namespace dbw {
class DBGrid;
}

// The fuel purchase import ("Import danych dotyczących zakupu paliw z systemu PKPiR lub FK"):
// the taxpayers chosen from the list, the quarter (up to 2012) and year, the ledger and its
// folder; "Przepisuj dane" takes the purchases over and writes the log, which can be printed.
// A run shows its progress and can be stopped ("Przerwij").
class Tf_zak_kpr : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_zak_kpr(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_zak_kpr() override;

    data::Period period() const;
    QStringList chosenCodes() const;
    QStringList logLines() const;

protected:
    void openData() override { FormActivate(); }
    void closeData() override { FormDeactivate(); }

private:
    Tdm_1& dm_;
    ds::OpenedDatasets taxpayers_; // the taxpayer list, while the screen is open
    void buildControls();
    void FormActivate();
    void FormDeactivate();
    void rg_daneClick();
    void kl_przenClick();
    void kl_wszystkoClick();
    void kl_przepClick();
    void kl_dr_rapClick();
    void m_rapChange();
    void showFkNote();

    QLabel* e_l_kon;
    dbw::DBGrid* dbg_firmy;
    QToolButton* kl_przen;
    QToolButton* kl_wszystko;
    QLabel* e_wyb_konta;
    QPlainTextEdit* mem_wyb_konta;
    common::PeriodChooser* chooser_;
    QLabel* e_katalog;
    QLineEdit* z_katalog;
    QPushButton* kl_wyb_kat;
    FolderChooser* gb_wyb_kat;
    QGroupBox* rg_dane;
    QRadioButton* rb_pkpir;
    QRadioButton* rb_fk;
    QLabel* e_fk_uwaga;
    QLabel* e_rap;
    QPlainTextEdit* m_rap;
    QPushButton* kl_dr_rap;
    RunBar* runBar_;
    QPushButton* kl_przep;
    QPushButton* kl_anul;
};

// The open purchase import screen, set by the action that opens it.
extern Tf_zak_kpr* f_zak_kpr;
