#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: what the program is, its version and who makes it.
class Tform_info : public QDialog {
    Q_OBJECT
public:
    explicit Tform_info(QWidget* parent = nullptr);

    QLabel* l_opis;
    QLabel* l_wersja;
    QLabel* l_producent;
    QLabel* l_nazwa;
    QLabel* l_branza;
    QLabel* l_adres;
    QLabel* l_telefon;
    QPushButton* b_ok;
};

extern Tform_info* form_info;
