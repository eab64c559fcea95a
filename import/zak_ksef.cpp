#include "import/zak_ksef.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "data/dm1.h"
#include "desktop/attempt.h"
#include "desktop/caption_width.h"
#include "desktop/help_context.h"
#include "desktop/open_file_dialog.h"
#include "desktop/save_file_dialog.h"
#include "import/import_help.h"
#include "import/invoice_import.h"
#include "import/invoice_log.h"
#include "import/invoice_preview_model.h"
#include "import/log_printing.h"
#include "import/run_bar.h"
#include "desktop/named.h"

using desktop::named;

Tf_zak_ksef* f_zak_ksef = nullptr;

namespace {

// Each way of choosing has its own last folder: the downloaded packages are seldom where the
// single files were saved.
const QString xmlKind = QStringLiteral("e-faktury-xml");
const QString folderKind = QStringLiteral("e-faktury-katalog");
const QString zipKind = QStringLiteral("e-faktury-zip");

} // namespace

Tf_zak_ksef::Tf_zak_ksef(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::OwnerCentre, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                                     | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                                                     | Qt::WindowMaximizeButtonHint),
      dm_(dm)
{
    setObjectName(QStringLiteral("f_zak_ksef"));
    setWindowTitle(QStringLiteral("Import zakupów z e-faktur (KSeF)"));
    desktop::setHelpContext(this, import_help::invoiceImport);
    buildControls();
    desktop::fitCaption(*this);

    connect(kl_pliki, &QPushButton::clicked, this, &Tf_zak_ksef::kl_plikiClick);
    connect(kl_katalog, &QPushButton::clicked, this, &Tf_zak_ksef::kl_katalogClick);
    connect(kl_paczka, &QPushButton::clicked, this, &Tf_zak_ksef::kl_paczkaClick);
    connect(kl_przejmij, &QPushButton::clicked, this, &Tf_zak_ksef::kl_przejmijClick);
    connect(kl_dr_rap, &QPushButton::clicked, this, [this] { importlog::print(logLines(), this); });
    connect(m_rap, &QPlainTextEdit::textChanged, this, [this] { kl_dr_rap->setVisible(!m_rap->toPlainText().isEmpty()); });
    connect(kl_zamknij, &QPushButton::clicked, this, &QDialog::reject);
    setCancelButton(kl_zamknij);
    connect(model_, &ksef::InvoicePreviewModel::vehicleChosen, this, [this] {
        showPreviewState();
        showTotals();
    });
    showPreviewState();
}

Tf_zak_ksef::~Tf_zak_ksef()
{
    closeDataIfOpen();
}

void Tf_zak_ksef::buildControls()
{
    e_pliki = named(new QLabel(QStringLiteral("E-faktury:"), this), "e_pliki");
    z_pliki = named(new QLineEdit(this), "z_pliki");
    z_pliki->setReadOnly(true);
    z_pliki->setFocusPolicy(Qt::ClickFocus);
    z_pliki->setPlaceholderText(QStringLiteral("pliki XML, katalog albo paczka ZIP pobrana z KSeF"));
    kl_pliki = named(new QPushButton(QStringLiteral("Pliki &XML..."), this), "kl_pliki");
    kl_katalog = named(new QPushButton(QStringLiteral("&Katalog..."), this), "kl_katalog");
    kl_paczka = named(new QPushButton(QStringLiteral("Paczka &ZIP..."), this), "kl_paczka");

    model_ = new ksef::InvoicePreviewModel(this);
    e_wiersze = named(new QLabel(QStringLiteral("&Wiersze paliwa:"), this), "e_wiersze");
    tv_wiersze = named(new QTableView(this), "tv_wiersze");
    tv_wiersze->setModel(model_);
    tv_wiersze->setItemDelegateForColumn(ksef::InvoicePreviewModel::Vehicle, new ksef::VehicleChoiceDelegate(tv_wiersze));
    tv_wiersze->setSelectionBehavior(QAbstractItemView::SelectItems);
    tv_wiersze->setSelectionMode(QAbstractItemView::SingleSelection);
    tv_wiersze->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    tv_wiersze->setTabKeyNavigation(false);
    tv_wiersze->setWordWrap(false);
    tv_wiersze->verticalHeader()->setDefaultSectionSize(tv_wiersze->fontMetrics().height() + 6);
    tv_wiersze->horizontalHeader()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{ksef::InvoicePreviewModel::Taxpayer, 110}, {ksef::InvoicePreviewModel::Vehicle, 90},
                                        {ksef::InvoicePreviewModel::Fuel, 100}, {ksef::InvoicePreviewModel::Date, 80},
                                        {ksef::InvoicePreviewModel::Quantity, 80}, {ksef::InvoicePreviewModel::Invoice, 170},
                                        {ksef::InvoicePreviewModel::Seller, 140}})
        tv_wiersze->setColumnWidth(column, width);
    e_wiersze->setBuddy(tv_wiersze);
    e_stan = named(new QLabel(this), "e_stan");
    e_stan->setWordWrap(true);

    e_razem = named(new QLabel(QStringLiteral("Razem do przejęcia:"), this), "e_razem");
    tw_razem = named(new QTableWidget(0, 4, this), "tw_razem");
    tw_razem->setHorizontalHeaderLabels({QStringLiteral("Podatnik"), QStringLiteral("Paliwo"), QStringLiteral("Wierszy"),
                                         QStringLiteral("Ilość")});
    tw_razem->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tw_razem->setFocusPolicy(Qt::ClickFocus);
    tw_razem->verticalHeader()->hide();
    tw_razem->horizontalHeader()->setStretchLastSection(true);
    tw_razem->setColumnWidth(0, 120);
    tw_razem->setColumnWidth(1, 110);
    tw_razem->setColumnWidth(2, 60);

    e_rap = named(new QLabel(QStringLiteral("&Raport:"), this), "e_rap");
    m_rap = named(new QPlainTextEdit(this), "m_rap");
    m_rap->setReadOnly(true);
    m_rap->setLineWrapMode(QPlainTextEdit::NoWrap);
    e_rap->setBuddy(m_rap);

    kl_dr_rap = named(new QPushButton(QStringLiteral("Drukuj raport"), this), "kl_dr_rap");
    kl_dr_rap->hide();
    runBar_ = new RunBar(this);
    runBar_->setStopCaption(QStringLiteral("Anuluj"));
    kl_przejmij = named(new QPushButton(QStringLiteral("&Przejmij"), this), "kl_przejmij");
    kl_przejmij->setToolTip(QStringLiteral("Zapisuje w bazie zakupy z wierszy gotowych do przejęcia"));
    kl_zamknij = named(new QPushButton(QStringLiteral("Zamknij"), this), "kl_zamknij");
    for (QPushButton* b : {kl_pliki, kl_katalog, kl_paczka, kl_dr_rap, kl_przejmij, kl_zamknij})
        b->setAutoDefault(false);

    auto* files = new QHBoxLayout;
    files->addWidget(e_pliki);
    files->addWidget(z_pliki, 1);
    files->addWidget(kl_pliki);
    files->addWidget(kl_katalog);
    files->addWidget(kl_paczka);

    auto* lower = new QGridLayout;
    lower->addWidget(e_razem, 0, 0);
    lower->addWidget(tw_razem, 1, 0);
    lower->addWidget(e_rap, 0, 1);
    lower->addWidget(m_rap, 1, 1);
    lower->setColumnStretch(0, 2);
    lower->setColumnStretch(1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(kl_dr_rap);
    buttons->addStretch();
    buttons->addWidget(runBar_, 2);
    buttons->addWidget(kl_przejmij);
    buttons->addWidget(kl_zamknij);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(files);
    layout->addWidget(e_wiersze);
    layout->addWidget(tv_wiersze, 3);
    layout->addWidget(e_stan);
    layout->addLayout(lower, 2);
    layout->addLayout(buttons);
    resize(1100, 680);
    kl_pliki->setFocus();
}

// Choosing what to read --------------------------------------------------------------------------

void Tf_zak_ksef::kl_plikiClick()
{
    readPaths(desktop::askOpenFileNames(
        {QStringLiteral("E-faktury do przejęcia"), QString(), {QStringLiteral("E-faktury (*.xml *.XML)")}, QString(), xmlKind},
        this));
}

void Tf_zak_ksef::kl_katalogClick()
{
    const QString folder = desktop::askFolder(QStringLiteral("Katalog z e-fakturami"), folderKind, this);
    if (!folder.isEmpty())
        readPaths({folder});
}

void Tf_zak_ksef::kl_paczkaClick()
{
    readPaths(desktop::askOpenFileNames(
        {QStringLiteral("Paczki e-faktur z KSeF"), QString(), {QStringLiteral("Paczki ZIP (*.zip *.ZIP)")}, QString(), zipKind},
        this));
}

// Reading: the preview --------------------------------------------------------------------------

void Tf_zak_ksef::readPaths(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    QStringList shown;
    for (const QString& path : paths)
        shown << QDir::toNativeSeparators(path);
    z_pliki->setText(shown.join(QStringLiteral("; ")));
    model_->setPreview(nullptr);
    preview_.reset();
    m_rap->clear();
    {
        // The register is read again for each preview: another desk may have added a vehicle.
        const RunBar::Run running(*runBar_, {m_rap});
        import_ = std::make_unique<ksef::InvoiceImport>(dm_);
        import_->setStop([this] { return runBar_->stopAsked(); });
        import_->setProgress([this](qint64 done, qint64 total) { runBar_->progress(done, total); });
        import_->setWaiting([this] { runBar_->keepAlive(); });
        desktop::attempt(this, [&] { preview_ = std::make_unique<ksef::InvoicePreview>(import_->preview(paths)); });
    }
    if (preview_ && import_->stopped()) {
        preview_.reset();
        m_rap->appendPlainText(QStringLiteral("Przerwano czytanie plików; nic nie przejęto."));
    }
    if (preview_)
        for (const ksef::FileNote& note : preview_->notes())
            m_rap->appendPlainText(note.text);
    model_->setPreview(preview_.get());
    showPreviewState();
    showTotals();
    if (model_->rowCount() > 0) {
        tv_wiersze->setFocus();
        tv_wiersze->setCurrentIndex(model_->index(0, ksef::InvoicePreviewModel::Vehicle));
    }
}

void Tf_zak_ksef::showPreviewState()
{
    int ready = 0, left = 0, before = 0;
    if (preview_)
        for (const ksef::PreviewLine& l : preview_->lines()) {
            ready += l.status == ksef::LineStatus::Ready;
            left += ksef::isLeft(l.status);
            before += l.status == ksef::LineStatus::StoredBefore || l.status == ksef::LineStatus::Repeated;
        }
    kl_przejmij->setEnabled(ready > 0);
    if (!preview_) {
        e_stan->setText(QStringLiteral("Wskaż pliki XML, katalog albo paczkę ZIP z e-fakturami zakupu."));
        return;
    }
    e_stan->setText(QStringLiteral("Przeczytano plików: %1, faktur: %2. Wierszy paliwa: %3 (gotowych do przejęcia: %4, "
                                   "pozostawionych: %5, przejętych wcześniej lub powtórzonych: %6); innych wierszy: %7.")
                        .arg(preview_->documents())
                        .arg(preview_->invoicesRead())
                        .arg(preview_->lines().size())
                        .arg(ready)
                        .arg(left)
                        .arg(before)
                        .arg(preview_->otherLines()));
}

void Tf_zak_ksef::showTotals()
{
    tw_razem->setRowCount(0);
    if (!preview_)
        return;
    const auto totals = preview_->totals();
    tw_razem->setRowCount(static_cast<int>(totals.size()));
    int row = 0;
    for (const ksef::PreviewTotal& t : totals) {
        QString taxpayer;
        for (const data::RegisterTaxpayer& p : preview_->reg().taxpayers)
            if (p.number == t.taxpayer)
                taxpayer = p.shortName;
        const auto cell = [&](int column, const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(alignment | Qt::AlignVCenter);
            tw_razem->setItem(row, column, item);
        };
        cell(0, taxpayer);
        cell(1, ksef::fuelName(*preview_, t.fuel));

        cell(2, QString::number(t.lines), Qt::AlignRight);
        const QString fuel = ksef::fuelName(*preview_, t.fuel);
        cell(3, QStringLiteral("%1 %2").arg(ksef::quantityText(t.amount), ksef::unitSymbol(ksef::unitOfFuel(ksef::fuelOfName(fuel)))),
             Qt::AlignRight);
        ++row;
    }
}

// Storing and the log ---------------------------------------------------------------------------

QStringList Tf_zak_ksef::logLines() const
{
    return m_rap->toPlainText().split(QLatin1Char('\n'));
}

void Tf_zak_ksef::kl_przejmijClick()
{
    if (!preview_)
        return;
    m_rap->clear();
    {
        // The window stays alive with the log readable; a stop ends the run between invoices
        // with what was stored kept, and the log says so.
        const RunBar::Run running(*runBar_, {m_rap});
        desktop::attempt(this, [&] {
            import_->store(*preview_, [this](const QString& line) {
                m_rap->appendPlainText(line);
                runBar_->keepAlive();
            });
        });
    }
    model_->refresh();
    showPreviewState();
    showTotals();
}
