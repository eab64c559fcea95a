#include "import/jest_pod.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

ComparisonRunner& runnerSlot()
{
    static ComparisonRunner runner;
    return runner;
}

QLabel* valueLabel(const QString& text, const char* name, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

Tf_jest_pod::Tf_jest_pod(const ledger::Comparison& c, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("f_jest_pod"));
    setWindowTitle(QStringLiteral("Uwaga!"));

    auto* e_obj1 = valueLabel(QStringLiteral("W bazie danych opłat za korzystanie ze środowiska jest już podatnik o numerze "),
                              "e_obj1", this);
    e_obj1->setWordWrap(false);
    auto* e_kon = valueLabel(c.line, "e_kon", this);
    auto* e_obj2 = valueLabel(QStringLiteral("Zaznacz pola, które chcesz zaktualizować i kliknij przycisk Przepisz. Jeśli  "
                                             "chcesz pominąć dane z systemu PKPiR kliknij przycisk Pomiń."),
                              "e_obj2", this);
    auto* e_nag_kpr = valueLabel(QStringLiteral("PKPiR"), "e_nag_kpr", this);
    auto* e_nag_opl = valueLabel(QStringLiteral("Naliczanie opłat"), "e_nag_opl", this);
    QFont bold = e_nag_kpr->font();
    bold.setBold(true);
    e_nag_kpr->setFont(bold);
    e_nag_opl->setFont(bold);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->addWidget(e_nag_kpr, 0, 1);
    grid->addWidget(e_nag_opl, 0, 2);
    const auto row = [&](int r, QCheckBox*& box, const char* boxName, const QString& caption, const QString& ledgerValue,
                         const char* ledgerName, const QString& storedValue, const char* storedName) {
        box = new QCheckBox(caption, this);
        box->setObjectName(QString::fromLatin1(boxName));
        grid->addWidget(box, r, 0, Qt::AlignTop);
        grid->addWidget(valueLabel(ledgerValue, ledgerName, this), r, 1, Qt::AlignTop);
        grid->addWidget(valueLabel(storedValue, storedName, this), r, 2, Qt::AlignTop);
    };
    using ledger::decoded;
    row(1, ch_naz, "ch_naz", QStringLiteral("nazwa"), decoded(c.ledger.fullName), "e_kpr_naz", c.name, "e_opl_naz");
    row(2, ch_nazskr, "ch_nazskr", QStringLiteral("nazwa skrócona"), decoded(c.ledger.shortName), "e_kpr_nazskr", c.shortName,
        "e_opl_nazskr");
    row(3, ch_adr, "ch_adr", QStringLiteral("adres"), c.ledger.addressLine(), "e_kpr_adr", c.address, "e_opl_adr");
    row(4, ch_reg, "ch_reg", QStringLiteral("regon"), decoded(c.ledger.regon), "e_kpr_reg", c.regon, "e_opl_reg");
    row(5, ch_nip, "ch_nip", QStringLiteral("NIP"), decoded(c.ledger.nip), "e_kpr_nip", c.nip, "e_opl_nip");
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    kl_przep = new QPushButton(QStringLiteral("Przepisz"), this);
    kl_przep->setObjectName(QStringLiteral("kl_przep"));
    kl_przep->setToolTip(QStringLiteral("Zaktualizuj wybrane dane"));
    kl_przep->setAutoDefault(false);
    kl_pom = new QPushButton(QStringLiteral("Pomiń"), this);
    kl_pom->setObjectName(QStringLiteral("kl_pom"));
    kl_pom->setToolTip(QStringLiteral("Zaktualizuj wybrane dane"));
    kl_pom->setDefault(true);
    connect(kl_przep, &QPushButton::clicked, this, &QDialog::accept);
    connect(kl_pom, &QPushButton::clicked, this, &QDialog::reject);

    auto* first = new QHBoxLayout;
    first->setSpacing(0);
    first->addWidget(e_obj1);
    first->addWidget(e_kon);
    first->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(kl_przep);
    buttons->addWidget(kl_pom);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(first);
    layout->addWidget(e_obj2);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

ledger::TaxpayerFields Tf_jest_pod::chosen() const
{
    ledger::TaxpayerFields fields;
    if (result() != QDialog::Accepted)
        return fields;
    const QList<QPair<QCheckBox*, ledger::TaxpayerField>> boxes{{ch_naz, ledger::TaxpayerField::Name},
                                                                {ch_nazskr, ledger::TaxpayerField::ShortName},
                                                                {ch_adr, ledger::TaxpayerField::Address},
                                                                {ch_reg, ledger::TaxpayerField::Regon},
                                                                {ch_nip, ledger::TaxpayerField::Nip}};
    for (const auto& [box, field] : boxes)
        if (box->isChecked())
            fields |= field;
    return fields;
}

void setComparisonRunner(ComparisonRunner runner)
{
    runnerSlot() = std::move(runner);
}

ledger::TaxpayerFields runComparison(Tf_jest_pod& dialog)
{
    if (runnerSlot())
        return runnerSlot()(dialog);
    dialog.exec();
    return dialog.chosen();
}
