#pragma once

#include <memory>

#include "data/settlement.h"
#include "dataset/opened_datasets.h"
#include "dbwidgets/data_screen.h"

#include "data/period.h"
#include "reports/report_subject.h"

class Tdm_1;

class QFrame;
namespace common {
class PeriodChooser;
}

class QLabel;
class QPushButton;
class QRadioButton;
class QSplitter;
class QWidget;

namespace dbw {
class DBGrid;
}
namespace report {
class Report;
}


// The fee settlement ("Naliczenie opłat za korzystanie ze środowiska"): for the chosen
// taxpayer and period the fee per vehicle and fuel (IBQ_rozl), the purchases behind the
// selected line (IBQ_rozl_d), the amount to pay against the exemption threshold, and the
// printed statements or the purchase register, previewed in TCustPreview or printed.
// The amount comes from data::computeSettlement, the same code as the command line's.
// The printouts are made of the taxpayer, period and settlement it shows, as one value.
class Tf_rozl : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_rozl(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_rozl() override;

    // The taxpayer and period the settlement shown was computed for.
    const data::PeriodChoice& chosen() const;
    // What the printouts are made of: that choice and the settlement shown.
    reports::ReportSubject printoutSubject() const;

    // Builds the chosen reports and previews them one after the other in the program's
    // preview window, or prints each after a confirmed print dialog.
    void drukuj_raporty(bool preview);

    // Shows the settlement of a taxpayer and period (half: 0 or 1 up to 2012), as if chosen
    // in the lists: the office overview opens the window on the row it was asked for.
    void pokaz_rozliczenie(const QString& taxpayer, int year, int half);

    // The settlement as shown, for a spreadsheet (reports::settlementCsv); false with the
    // reason when the file cannot be written.
    bool eksport_csv(const QString& fileName, QString* error = nullptr) const;

protected:
    void openData() override { FormCreate(); }
    void closeData() override { FormDestroy(); }

private:
    Tdm_1& dm_; // the data module the screen works on
    void buildControls();
    QWidget* buildParameterPanel();
    QWidget* buildSettlementPanel();
    QWidget* buildPurchasePanel();
    void FormCreate();
    void FormDestroy();
    void ustal_rok();
    void licz_rozl();
    void odswiez_rozl();
    void choiceMade();
    void kl_podglClick();
    void kl_drukClick();
    void kl_csvClick();
    void printReport(report::Report& r);
    void showAmounts();
    void showLinesWithoutRate(const data::Settlement& s);

    QWidget* p_param;
    common::PeriodChooser* chooser_;
    QFrame* Bevel1;
    QRadioButton* rb_zest;
    QRadioButton* rb_zak;
    QPushButton* kl_druk;
    QPushButton* kl_podgl;
    QPushButton* kl_csv;
    QWidget* p_rozl;
    dbw::DBGrid* DBG_rozl;
    QLabel* e_brak_stawki;
    QWidget* P_suma;
    QLabel* e_kw;
    QLabel* e_wart;
    QLabel* e_kom1;
    QLabel* e_kom2;
    QLabel* e_kom3;
    QLabel* e_wykaz;
    QSplitter* Splitter1;
    QWidget* p_zak;
    dbw::DBGrid* DBG_zak;

    int parametersYear_ = 0; // the year of the two parameters below
    text::Money minimumWage_;
    double percentage_ = 0.0;
    bool amountOutOfRange_ = false; // a fee or the sum is beyond what money holds
    std::shared_ptr<ds::OpenedDatasets> names_; // the vehicle types and fuels of the grids' lookups
    ds::OpenedDatasets lines_;                  // the settlement's lines and their purchases
    data::Settlement settlement_; // as last computed: the amounts shown, printed and exported

};

// The open settlement window, set by the action that opens it.
extern Tf_rozl* f_rozl;
