#pragma once

#include <QElapsedTimer>
#include <QString>

#include "dbwidgets/data_screen.h"
#include "reports/printout_batch.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class Tdm_1;

namespace fb {
class Transaction;
}

namespace common {
class PeriodChooser;
}

namespace reports {
class OverviewModel;
}

// "Zestawienie opłat wszystkich podatników": every taxpayer's fee, threshold and missing
// rates for a year (a half-year up to 2012) in one grid with totals, sortable by any column,
// searched by the first letters of the short name; a double click opens the settlement of
// the row. The chosen rows' printouts (all when none is chosen) are printed or saved as one
// PDF file per taxpayer, with a progress bar that can stop after the taxpayer at hand, and
// the grid is exported as CSV for a spreadsheet.
class Tf_zest_opl : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_zest_opl(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_zest_opl() override;

    reports::OverviewModel* model() const { return model_; }
    // The overview rows chosen for printing, in the grid's order: the selected ones, or all.
    std::vector<const data::OverviewRow*> chosenRows() const;
    // Saves the chosen rows' printouts into `folder` (also what "Zapisz wszystkie jako PDF"
    // does after its folder dialog); `stop` is asked between taxpayers. Returns the outcomes.
    std::vector<reports::BatchOutcome> zapisz_pdf(const QString& folder, const std::function<bool()>& stop = {});
    // Writes the grid as CSV (UTF-8 with a byte-order mark, semicolons, decimal commas);
    // false with the reason in `error` when the file cannot be written.
    bool eksport_csv(const QString& fileName, QString* error = nullptr) const;

protected:
    void openData() override { odswiez(); }
    void closeData() override {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // Computes the overview again, in the snapshot of a run of printouts when one is held.
    void odswiez();
    // Computes the overview again for a run of printouts (which holds the snapshot) and gives the chosen
    // taxpayers' new rows (kept chosen), so that each printout's amount and lines agree.
    std::vector<const data::OverviewRow*> recomputeForRun();
    void showTotals();
    void otworz_rozliczenie(const QModelIndex& index);
    void kl_pdfClick();
    void kl_drukClick();
    void kl_csvClick();
    void searchShortName(const QString& typed);
    // The options of a run of printouts.
    reports::BatchRequest batchRequest(const QString& folder) const;

    Tdm_1& dm_;
    common::PeriodChooser* chooser_;
    reports::OverviewModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* DBG_zest;
    QLabel* e_razem;
    QCheckBox* ch_wykaz;
    QCheckBox* ch_bez_zak;
    QPushButton* kl_druk;
    QPushButton* kl_pdf;
    QPushButton* kl_csv;
    QString typed_; // the letters of a search typed in the grid
    QElapsedTimer sinceTyped_;
};

extern Tf_zest_opl* f_zest_opl;
