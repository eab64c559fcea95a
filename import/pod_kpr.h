#pragma once

#include "dbwidgets/data_screen.h"

class FolderChooser;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QToolButton;
class RunBar;
class Tdm_1;

// "Przepisanie danych podatników z systemu PKPiR": the accounts of the PKPiR account list,
// those chosen (picked or typed), and "Przepisz", which takes them over as taxpayers; a run
// shows its progress and can be stopped ("Przerwij").
class Tf_pod_kpr : public dbw::DataScreen {
    Q_OBJECT
public:
    explicit Tf_pod_kpr(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_pod_kpr() override;

    QStringList chosenLines() const;

protected:
    void openData() override { FormActivate(); }
    void closeData() override {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Tdm_1& dm_;
    void buildControls();
    void FormActivate();
    void z_katalogClick();
    void wczytaj_konta();
    void dodaj_zaznaczone();
    void kl_wszystkoClick();
    void kl_okClick();

    QLabel* e_katalog;
    QLineEdit* z_katalog;
    QPushButton* kl_wyb_kat;
    FolderChooser* gb_wyb_kat;
    QLabel* e_l_kon;
    QTableWidget* sg_kon;
    QToolButton* kl_przen;
    QToolButton* kl_wszystko;
    QLabel* e_wyb_konta;
    QPlainTextEdit* mem_wyb_konta;
    QPushButton* kl_usun_zaz;
    RunBar* runBar_;
    QPushButton* kl_ok;
    QPushButton* kl_anul;
    void showNotes(QStringList notes, const QStringList& refused);
    QString loadedFolder_;
    bool folderLoaded_ = false;
};

// The open taxpayer import screen, set by the action that opens it.
extern Tf_pod_kpr* f_pod_kpr;
