#pragma once

#include <QStringList>
#include <memory>

#include "dbwidgets/data_screen.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class RunBar;
class Tdm_1;

namespace ksef {
class InvoiceImport;
class InvoicePreview;
class InvoicePreviewModel;
} // namespace ksef

// The fuel purchase import from e-invoices ("Import zakupów z e-faktur (KSeF)"): XML files, a
// folder or ZIP packages are read into a preview of every fuel line with its status; a line
// without a vehicle, or with several, gets one from the drop-down of the buyer's vehicles;
// "Przejmij" stores the ready lines and writes the log, which can be printed. Reading and
// storing show their progress and can be stopped ("Anuluj").
class Tf_zak_ksef : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_zak_ksef(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_zak_ksef() override;

    // Reads the files, folders and packages into a new preview (what the choosing buttons do).
    void readPaths(const QStringList& paths);
    ksef::InvoicePreview* preview() const { return preview_.get(); }
    QStringList logLines() const;

protected:
    void openData() override {}
    void closeData() override {}

private:
    void buildControls();
    void kl_plikiClick();
    void kl_katalogClick();
    void kl_paczkaClick();
    void kl_przejmijClick();
    void showPreviewState();
    void showTotals();

    Tdm_1& dm_;
    std::unique_ptr<ksef::InvoiceImport> import_;
    std::unique_ptr<ksef::InvoicePreview> preview_;
    ksef::InvoicePreviewModel* model_;

    QLabel* e_pliki;
    QLineEdit* z_pliki;
    QPushButton* kl_pliki;
    QPushButton* kl_katalog;
    QPushButton* kl_paczka;
    QLabel* e_wiersze;
    QTableView* tv_wiersze;
    QLabel* e_stan;
    QLabel* e_razem;
    QTableWidget* tw_razem;
    QLabel* e_rap;
    QPlainTextEdit* m_rap;
    QPushButton* kl_dr_rap;
    RunBar* runBar_;
    QPushButton* kl_przejmij;
    QPushButton* kl_zamknij;
};

// The open e-invoice import screen, set by the action that opens it.
extern Tf_zak_ksef* f_zak_ksef;
