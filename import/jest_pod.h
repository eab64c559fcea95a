#pragma once

#include <QDialog>

#include "import/taxpayer_import.h"

class QCheckBox;
class QLabel;
class QPushButton;

// "Uwaga!": a taxpayer of the account's number is already stored. The ledger's data stand
// beside the stored data; the fields ticked are overwritten on "Przepisz", nothing on "Pomiń".
class Tf_jest_pod : public QDialog {
    Q_OBJECT
public:
    Tf_jest_pod(const ledger::Comparison& comparison, QWidget* parent = nullptr);

    // The fields ticked; none unless the dialog ended with "Przepisz".
    ledger::TaxpayerFields chosen() const;

    QCheckBox* ch_naz;
    QCheckBox* ch_nazskr;
    QCheckBox* ch_adr;
    QCheckBox* ch_reg;
    QCheckBox* ch_nip;
    QPushButton* kl_przep;
    QPushButton* kl_pom;
};

// Shows the dialog modally (placed by the caller's rule) and gives the fields to overwrite.
// Replaceable in tests, as the message boxes are.
using ComparisonRunner = std::function<ledger::TaxpayerFields(Tf_jest_pod&)>;
void setComparisonRunner(ComparisonRunner runner);
ledger::TaxpayerFields runComparison(Tf_jest_pod& dialog);
