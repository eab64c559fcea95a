#pragma once

#include <QDialog>

class Tdm_1;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// Where the database is: the local file in the program's folder, or a file on a database
// server. The choice goes into the location file and the data module connects to it at once.
class TF_serw_op : public QDialog {
    Q_OBJECT
public:
    explicit TF_serw_op(Tdm_1& dm, QWidget* parent = nullptr);

    // 0 local, 1 remote: the items of RG_serw.
    int serverMode() const;
    void setServerMode(int item);

private:
    void SB_bdClick();
    void kl_zapClick();
    void kl_testClick();
    // Writes the location file and connects to the name in it. False when the file could
    // not be written (the connection is then as it was); a failed connection is reported
    // and leaves the module without one.
    bool saveAndConnect();
    QString chosenName() const;
    void showRemoteControls();

    Tdm_1& dm_;
    QGroupBox* RG_serw;
    QRadioButton* rb_lokalny;
    QRadioButton* rb_zdalny;
    QLabel* e_bd;
    QLineEdit* LE_bd;
    QToolButton* SB_bd;
    QPushButton* kl_zap;
    QPushButton* kl_test;
    QPushButton* kl_anul;
    QPushButton* kl_pom;
};

extern TF_serw_op* F_serw_op;
