#pragma once

#include <QDate>
#include <optional>

#include "dbwidgets/data_screen.h"

#include "data/dm1.h"

class Tdm_1;

class QAction;
class QActionGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace ds {
class Dataset;
}

namespace common {
class PeriodChooser;
}

namespace dbw {
class DateEdit;
class DBEdit;
class DBGrid;
class DBLookupList;
class DBNavigator;
class DBText;
}

// Fuel purchase entry ("Zakupy paliwa"): the purchase invoices of one taxpayer's vehicles
// in one settlement period, keyed in a form or edited in a grid, through IBDS_zak of the
// data module. The data module steers this screen's date picker and fuel list by its
// signals while purchases are keyed here. A keyed purchase is never dropped unasked: leaving
// it (closing, another taxpayer, year or half-year, entry-only mode off) posts it when it
// is complete and asks before dropping an incomplete one.
class Tf_zak : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_zak(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_zak() override;

    // The chosen period and taxpayer, as the window's state holds them.
    int selectedYear() const;
    QString selectedTaxpayer() const;
    // The period's first and last day as SQL date literals ("'2012-07-01'").
    QString periodStartLiteral() const;
    QString periodEndLiteral() const;

    QDate periodStart() const;
    QDate periodEnd() const;
    // The period's purchases as the screen shows them (in its order), for a spreadsheet; false
    // with the reason when the file cannot be written.
    bool eksport_csv(const QString& fileName, QString* error = nullptr) const;

protected:
    void openData() override { FormActivate(); }
    void closeData() override { FormDeactivate(); }
    bool leaveEditedRows() override { return keepKeyedPurchase(); }

private:
    Tdm_1& dm_; // the data module the screen works on
    ds::Dataset& zak() const;
    void buildControls();
    QWidget* buildFormPage();
    QWidget* buildTablePage();
    void FormActivate();
    void FormDeactivate();
    void odswiez_zak();
    void dblb_rodz_palExit();
    void zm_dzak(const QDate& picked);
    void ch_wprowClick();
    void a_okExecute();
    void a_anulExecute();
    void startNewPurchase();
    void choiceMade(bool changed);
    void pageChanged(int page);
    void updateActions();

    // Keeping keyed purchases.
    bool flushEditors();
    bool isUntouched() const;
    bool postIfComplete();
    bool keepKeyedPurchase();
    void kl_csvClick();

    dbw::DBNavigator* DBNavigator1;
    common::PeriodChooser* chooser_;
    QTabWidget* PC_zak;
    QWidget* ts_form;
    QWidget* ts_tab;
    dbw::DBText* dbt_nrkol;
    dbw::DBLookupList* dblb_nrrej;
    dbw::DBEdit* DBE_nrrach;
    dbw::DateEdit* dtp_dzak;
    dbw::DBLookupList* dblb_rodz_pal;
    dbw::DBEdit* DBE_ilzak;
    QCheckBox* ch_wprow;
    QPushButton* kl_ok;
    QPushButton* kl_csv;
    QPushButton* kl_anuluj;
    QActionGroup* am_zak;
    QAction* a_ok;
    QAction* a_anul;
    dbw::DBGrid* DBGrid1;
    QLabel* e_uwaga;

    ds::OpenedDatasets fuels_;     // the fuel names, while the screen is open
    ds::OpenedDatasets purchases_; // the purchases and vehicles of the period chosen
    std::optional<Tdm_1::PurchaseEntry> entry_;
    bool checkingFuel_ = false;

    // Editable and a tab stop for a diesel vehicle; read-only and skipped otherwise.
    void setFuelListEditable(bool editable);
};

// The open purchase screen, set by the action that opens it.
extern Tf_zak* f_zak;
