#pragma once

#include <QDialog>
#include <vector>

#include "tables/rate_script.h"

class Tdm_1;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTextEdit;
class QToolButton;

// A further year's fee rates from a text file: the file's lines are shown as the inserts they
// stand for, run once, and each row gets its outcome.
class TF_akt_opl : public QDialog {
    Q_OBJECT
public:
    explicit TF_akt_opl(Tdm_1& dm, QWidget* parent = nullptr);

    // The rate files that come with the program: share/brenvald/rates beside its bin folder,
    // installed or built; empty where there are none. The file dialog opens there first.
    static QString shippedRatesFolder();

private:
    void SB_plikClick();
    void kl_aktClick();
    void loadFile(const QString& path);

    Tdm_1& dm_;
    std::vector<rates::RateStatement> statements_;
    QString fileName_; // the dialog's file name, kept when the user cancels it
    bool ran_ = false;

    QTextEdit* RE_info;
    QTableWidget* SG_pol;
    QLabel* e_sql;
    QLineEdit* LE_sql;
    QToolButton* SB_plik;
    QPushButton* kl_akt;
    QPushButton* kl_anul;
};

extern TF_akt_opl* F_akt_opl;
