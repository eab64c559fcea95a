#include "import/zak_kpr.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/period_chooser.h"
#include "data/dm1.h"
#include "data/field_names.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/grid_model.h"
#include "desktop/caption_width.h"
#include "desktop/attempt.h"
#include "desktop/help_context.h"
#include "import/folder_chooser.h"
#include "import/import_help.h"
#include "import/ledger_record.h"
#include "import/log_printing.h"
#include "import/purchase_import.h"
#include "import/run_bar.h"
#include "desktop/named.h"

using desktop::named;

Tf_zak_kpr* f_zak_kpr = nullptr;

Tf_zak_kpr::Tf_zak_kpr(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::OwnerCentre, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                                     | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      dm_(dm)
{
    setObjectName(QStringLiteral("f_zak_kpr"));
    setWindowTitle(QStringLiteral("Import danych dotyczących zakupu paliw z systemu PKPiR lub FK"));
    desktop::setHelpContext(this, import_help::purchaseImport);
    buildControls();
    desktop::fitCaption(*this);

    connect(rb_pkpir, &QRadioButton::clicked, this, &Tf_zak_kpr::rg_daneClick);
    connect(rb_fk, &QRadioButton::clicked, this, &Tf_zak_kpr::rg_daneClick);
    connect(kl_przen, &QToolButton::clicked, this, &Tf_zak_kpr::kl_przenClick);
    connect(kl_wszystko, &QToolButton::clicked, this, &Tf_zak_kpr::kl_wszystkoClick);
    connect(kl_przep, &QPushButton::clicked, this, &Tf_zak_kpr::kl_przepClick);
    connect(kl_dr_rap, &QPushButton::clicked, this, &Tf_zak_kpr::kl_dr_rapClick);
    connect(kl_anul, &QPushButton::clicked, this, &QDialog::reject);
    setCancelButton(kl_anul);
    connect(m_rap, &QPlainTextEdit::textChanged, this, &Tf_zak_kpr::m_rapChange);
    connect(mem_wyb_konta, &QPlainTextEdit::textChanged, this, &Tf_zak_kpr::showFkNote);
    connect(kl_wyb_kat, &QPushButton::clicked, this, [this] { gb_wyb_kat->openBelow(z_katalog, 4); });
    connect(gb_wyb_kat, &FolderChooser::chosen, z_katalog, &QLineEdit::setText);
}

Tf_zak_kpr::~Tf_zak_kpr()
{
    closeDataIfOpen();
}

void Tf_zak_kpr::buildControls()
{
    e_l_kon = named(new QLabel(QStringLiteral("&Lista podatników"), this), "e_l_kon");
    dbg_firmy = named(new dbw::DBGrid(this), "dbg_firmy");
    dbw::GridColumn number{data::col::NR_PODAT, QStringLiteral("Nr podatnika"), 110};
    number.titleAlignment = Qt::AlignCenter;
    dbg_firmy->setColumns({number, dbw::GridColumn{data::col::NAZSKR, QStringLiteral("Nazwa skrócona"), 140}});
    dbg_firmy->setDataSource(&dm_.DS_pod);
    dbg_firmy->setGridReadOnly(true);
    dbg_firmy->setRowSelect(true);
    dbg_firmy->setMultiSelect(true);
    dbg_firmy->setSortMarkers({{data::col::NR_PODAT, true}});
    dbg_firmy->setMinimumSize(270, 200);
    e_l_kon->setBuddy(dbg_firmy);

    kl_przen = named(new QToolButton(this), "kl_przen");
    kl_przen->setText(QStringLiteral(">"));
    kl_przen->setToolTip(QStringLiteral("Przenieś wybrane"));
    kl_wszystko = named(new QToolButton(this), "kl_wszystko");
    kl_wszystko->setText(QStringLiteral(">>"));
    kl_wszystko->setToolTip(QStringLiteral("Przenieś wszystkie"));

    e_wyb_konta = named(new QLabel(QStringLiteral("Import dla:"), this), "e_wyb_konta");
    mem_wyb_konta = named(new QPlainTextEdit(this), "mem_wyb_konta");
    mem_wyb_konta->setReadOnly(true);
    mem_wyb_konta->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mem_wyb_konta->setFixedWidth(90);
    e_fk_uwaga = named(new QLabel(this), "e_fk_uwaga");
    e_fk_uwaga->setWordWrap(true);
    QPalette note = e_fk_uwaga->palette();
    note.setColor(QPalette::WindowText, QColor(150, 30, 20));
    e_fk_uwaga->setPalette(note);
    e_fk_uwaga->hide();

    chooser_ = new common::PeriodChooser(this, data::YearParts::Quarters, false);

    e_katalog = named(new QLabel(this), "e_katalog");
    z_katalog = named(new QLineEdit(this), "z_katalog");
    e_katalog->setBuddy(z_katalog);
    kl_wyb_kat = named(new QPushButton(QStringLiteral("Przeglądaj..."), this), "kl_wyb_kat");
    kl_wyb_kat->setFocusPolicy(Qt::ClickFocus);
    kl_wyb_kat->setAutoDefault(false);
    gb_wyb_kat = new FolderChooser(this);

    rg_dane = named(new QGroupBox(QStringLiteral("Import z programu"), this), "rg_dane");
    rb_pkpir = named(new QRadioButton(QStringLiteral("PKPiR"), rg_dane), "rb_pkpir");
    rb_fk = named(new QRadioButton(QStringLiteral("FK"), rg_dane), "rb_fk");
    auto* sources = new QVBoxLayout(rg_dane);
    sources->addWidget(rb_pkpir);
    sources->addWidget(rb_fk);

    e_rap = named(new QLabel(QStringLiteral("Raport:"), this), "e_rap");
    m_rap = named(new QPlainTextEdit(this), "m_rap");
    m_rap->setReadOnly(true);
    m_rap->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_rap->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_rap->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    e_rap->setBuddy(m_rap);

    kl_dr_rap = named(new QPushButton(QStringLiteral("Drukuj raport"), this), "kl_dr_rap");
    kl_dr_rap->hide();
    runBar_ = new RunBar(this);
    kl_przep = named(new QPushButton(QStringLiteral("Przepisuj dane"), this), "kl_przep");
    kl_anul = named(new QPushButton(QStringLiteral("Anuluj"), this), "kl_anul");
    for (QPushButton* b : {kl_dr_rap, kl_przep, kl_anul})
        b->setAutoDefault(false);

    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(kl_przen);
    arrows->addWidget(kl_wszystko);
    arrows->addStretch();

    auto* folder = new QHBoxLayout;
    folder->addWidget(z_katalog, 1);
    folder->addWidget(kl_wyb_kat);

    auto* settings = new QVBoxLayout;
    settings->addWidget(chooser_);
    settings->addWidget(e_katalog);
    settings->addLayout(folder);
    settings->addWidget(rg_dane);
    settings->addWidget(e_fk_uwaga);
    settings->addStretch();

    auto* top = new QGridLayout;
    top->addWidget(e_l_kon, 0, 0);
    top->addWidget(dbg_firmy, 1, 0);
    top->addLayout(arrows, 1, 1);
    top->addWidget(e_wyb_konta, 0, 2);
    top->addWidget(mem_wyb_konta, 1, 2);
    top->addLayout(settings, 1, 3);
    top->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(kl_dr_rap);
    buttons->addStretch();
    buttons->addWidget(runBar_, 2);
    buttons->addWidget(kl_przep);
    buttons->addWidget(kl_anul);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(e_rap);
    layout->addWidget(m_rap, 1);
    layout->addLayout(buttons);
    resize(860, 620);
}

// Opening and closing ------------------------------------------------------------------------

void Tf_zak_kpr::FormActivate()
{
    m_rap->clear();
    mem_wyb_konta->clear();
    const QDate today = QDate::currentDate();
    chooser_->present({}, today.year(), data::preselectedPart(data::YearParts::Quarters, today.month()));
    rb_pkpir->setChecked(true);
    rg_daneClick();
    taxpayers_ = dm_.openTaxpayerList();
    if (dm_.IBQ_pod.recordCount() == 1)
        mem_wyb_konta->setPlainText(ledger::taxpayerCode(dm_.IBQ_pod.value(data::col::NR_PODAT).toInt()));
    chooser_->focusParts();
}

void Tf_zak_kpr::FormDeactivate()
{
    taxpayers_.close();
}

// Period and source ---------------------------------------------------------------------------

// The quarter (up to 2012) or the year that the chooser shows.
data::Period Tf_zak_kpr::period() const
{
    return chooser_->applied().period();
}

void Tf_zak_kpr::rg_daneClick()
{
    const bool pkpir = rb_pkpir->isChecked();
    const QString name = pkpir ? QStringLiteral("PKPiR") : QStringLiteral("FK");
    z_katalog->setText(QDir::toNativeSeparators(ledger::defaultFolder(pkpir ? ledger::Source::Pkpir : ledger::Source::Fk)));
    e_katalog->setText(QStringLiteral("Katalog z danymi systemu %1").arg(name));
    gb_wyb_kat->setCaption(QStringLiteral("Wskaż katalog z danymi systemu %1").arg(name));
    showFkNote();
}

// The chosen list --------------------------------------------------------------------------------

QStringList Tf_zak_kpr::chosenCodes() const
{
    return mem_wyb_konta->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void Tf_zak_kpr::kl_przenClick()
{
    QStringList codes = chosenCodes();
    const int current = dm_.IBQ_pod.recNo();
    for (int row : dbg_firmy->selectedRows()) {
        const QString code = ledger::taxpayerCode(dm_.IBQ_pod.fieldByName(data::col::NR_PODAT).valueAt(row).toInt());
        if (!codes.contains(code))
            codes << code;
    }
    mem_wyb_konta->setPlainText(codes.join(QLatin1Char('\n')));
    dbg_firmy->clearSelection();
    if (current >= 0)
        dm_.IBQ_pod.moveTo(current);
}

void Tf_zak_kpr::kl_wszystkoClick()
{
    QStringList codes;
    const ds::Field& number = dm_.IBQ_pod.fieldByName(data::col::NR_PODAT);
    for (int row = 0; row < dm_.IBQ_pod.recordCount(); ++row)
        codes << ledger::taxpayerCode(number.valueAt(row).toInt());
    mem_wyb_konta->setPlainText(codes.join(QLatin1Char('\n')));
}

// FK takes only the first taxpayer; the screen says so outside the log.
void Tf_zak_kpr::showFkNote()
{
    const QStringList codes = chosenCodes();
    const bool several = rb_fk->isChecked() && codes.size() > 1;
    e_fk_uwaga->setText(several ? QStringLiteral("Import z systemu FK obejmie tylko pierwszego podatnika z listy (%1).")
                                      .arg(codes.first())
                                : QString());
    e_fk_uwaga->setVisible(several);
}

// The run and its log ---------------------------------------------------------------------------------

QStringList Tf_zak_kpr::logLines() const
{
    return m_rap->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void Tf_zak_kpr::kl_przepClick()
{
    const ledger::PurchaseImportRun run{rb_pkpir->isChecked() ? ledger::Source::Pkpir : ledger::Source::Fk,
                                        QDir::fromNativeSeparators(z_katalog->text()), period(), chosenCodes()};
    // The window stays alive, with every control but the log and "Przerwij" off; a stop ends
    // the run at the next entry with what it stored kept, and says so in the log.
    const RunBar::Run running(*runBar_, {m_rap});
    ledger::PurchaseImport import(dm_, [this](const QString& line) {
        m_rap->appendPlainText(line);
        runBar_->keepAlive();
    });
    import.setWaiting([this] { runBar_->keepAlive(); });
    import.setProgress([this](qint64 done, qint64 total) { runBar_->progress(done, total); });
    import.setStop([this] { return runBar_->stopAsked(); });
    desktop::attempt(this, [&] { import.run(run); });
}

void Tf_zak_kpr::m_rapChange()
{
    kl_dr_rap->setVisible(!m_rap->toPlainText().isEmpty());
}

void Tf_zak_kpr::kl_dr_rapClick()
{
    importlog::print(m_rap->toPlainText().split(QLatin1Char('\n')), this);
}
