#include "form_info.h"

#include "icons.h"
#include "maker.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tform_info* form_info = nullptr;

namespace {

QLabel* label(const QString& text, const QString& name)
{
    auto* l = new QLabel(text);
    l->setObjectName(name);
    return l;
}

} // namespace

Tform_info::Tform_info(QWidget* parent)
    : QDialog(parent),
      l_opis(label(QStringLiteral("System naliczania opłat za korzystanie ze środowiska z tytułu "
                                  "spalania paliw w silnikach."),
                   QStringLiteral("l_opis"))),
      l_wersja(label(QStringLiteral("Wersja 3.0"), QStringLiteral("l_wersja"))),
      l_producent(label(QStringLiteral("Poducent:"), QStringLiteral("l_producent"))),
      l_nazwa(label(QString::fromUtf8(maker::name), QStringLiteral("l_nazwa"))),
      l_branza(label(QString::fromUtf8(maker::trade), QStringLiteral("l_branza"))),
      l_adres(label(QString::fromUtf8(maker::address), QStringLiteral("l_adres"))),
      l_telefon(label(QString::fromUtf8(maker::telephone), QStringLiteral("l_telefon"))),
      b_ok(new QPushButton(QStringLiteral("OK")))
{
    setObjectName(QStringLiteral("form_info"));
    setWindowTitle(QStringLiteral("O programie"));

    auto* picture = new QLabel;
    picture->setPixmap(icons::program().pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);

    l_opis->setWordWrap(true);
    l_opis->setFixedWidth(320);
    QFont bold = l_opis->font();
    bold.setBold(true);
    l_opis->setFont(bold);
    l_nazwa->setFont(bold);

    auto* makerBox = new QVBoxLayout;
    makerBox->setSpacing(2);
    makerBox->setContentsMargins(16, 0, 0, 0);
    for (QLabel* l : {l_nazwa, l_branza, l_adres, l_telefon}) {
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        makerBox->addWidget(l);
    }

    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* texts = new QVBoxLayout;
    texts->addWidget(l_opis);
    texts->addWidget(l_wersja);
    texts->addSpacing(6);
    texts->addWidget(line);
    texts->addWidget(l_producent);
    texts->addLayout(makerBox);

    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setSpacing(16);
    panelLayout->addWidget(picture, 0, Qt::AlignTop);
    panelLayout->addLayout(texts);

    // The one button both confirms and cancels: Enter presses it, Escape closes the box too.
    b_ok->setObjectName(QStringLiteral("b_ok"));
    b_ok->setDefault(true);
    b_ok->setMinimumWidth(88);
    connect(b_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(b_ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
