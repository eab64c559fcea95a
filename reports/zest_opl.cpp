#include "reports/zest_opl.h"

#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include "common/csv_export.h"
#include "common/period_chooser.h"
#include "data/dm1.h"
#include "desktop/caption_width.h"
#include "desktop/help_context.h"
#include "desktop/messages.h"
#include "desktop/open_modal.h"
#include "desktop/print_dialogs.h"
#include "desktop/save_file_dialog.h"
#include "report/printing.h"
#include "report/report.h"
#include "text/csv.h"
#include "reports/overview_export.h"
#include "reports/overview_model.h"
#include "reports/reports_help.h"
#include "reports/rozl.h"
#include "text/formats.h"

Tf_zest_opl* f_zest_opl = nullptr;

namespace {

// Letters typed within this time make one search.
constexpr int searchPauseMs = 1000;

} // namespace

Tf_zest_opl::Tf_zest_opl(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::OwnerCentre,
                 Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                     | Qt::WindowCloseButtonHint),
      dm_(dm)
{
    setObjectName(QStringLiteral("f_zest_opl"));
    setWindowTitle(QStringLiteral("Zestawienie opłat wszystkich podatników"));
    desktop::setHelpContext(this, reports_help::officeOverview);
    buildControls();
    desktop::fitCaption(*this);
}

Tf_zest_opl::~Tf_zest_opl() = default;

void Tf_zest_opl::buildControls()
{
    chooser_ = new common::PeriodChooser(this, data::YearParts::HalfYears, false);
    chooser_->present({}, QDate::currentDate().year() - 1, 0); // before 31 March the office settles the year before

    ch_wykaz = new QCheckBox(QStringLiteral("z wykazem zakupów paliw"), this);
    ch_wykaz->setObjectName(QStringLiteral("ch_wykaz"));
    ch_bez_zak = new QCheckBox(QStringLiteral("także podatnicy bez zakupów"), this);
    ch_bez_zak->setObjectName(QStringLiteral("ch_bez_zak"));
    kl_druk = new QPushButton(QStringLiteral("Drukuj wszystkie"), this);
    kl_druk->setObjectName(QStringLiteral("kl_druk"));
    kl_pdf = new QPushButton(QStringLiteral("Zapisz wszystkie jako PDF"), this);
    kl_pdf->setObjectName(QStringLiteral("kl_pdf"));
    kl_csv = new QPushButton(QStringLiteral("Eksport do CSV"), this);
    kl_csv->setObjectName(QStringLiteral("kl_csv"));
    for (QPushButton* b : {kl_druk, kl_pdf, kl_csv})
        b->setAutoDefault(false);

    auto* printing = new QVBoxLayout;
    printing->addWidget(ch_wykaz);
    printing->addWidget(ch_bez_zak);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(kl_druk);
    buttons->addWidget(kl_pdf);
    buttons->addWidget(kl_csv);
    auto* top = new QHBoxLayout;
    top->addWidget(chooser_, 0, Qt::AlignTop);
    top->addStretch(1);
    top->addLayout(printing);
    top->addLayout(buttons);

    model_ = new reports::OverviewModel(this);
    sorted_ = new reports::OverviewSorting(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(reports::OverviewModel::SortRole);
    DBG_zest = new QTableView(this);
    DBG_zest->setObjectName(QStringLiteral("DBG_zest"));
    DBG_zest->setModel(sorted_);
    DBG_zest->setSortingEnabled(true);
    DBG_zest->sortByColumn(reports::OverviewModel::Number, Qt::AscendingOrder);
    DBG_zest->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBG_zest->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBG_zest->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBG_zest->verticalHeader()->setDefaultSectionSize(DBG_zest->fontMetrics().height() + 6);
    DBG_zest->verticalHeader()->hide();
    DBG_zest->horizontalHeader()->setStretchLastSection(true);
    DBG_zest->installEventFilter(this);

    e_razem = new QLabel(this);
    e_razem->setObjectName(QStringLiteral("e_razem"));
    QFont bold = e_razem->font();
    bold.setBold(true);
    e_razem->setFont(bold);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBG_zest, 1);
    layout->addWidget(e_razem);
    resize(1100, 600); // every column in sight, "Obowiązek" and "Stawki" included

    connect(chooser_, &common::PeriodChooser::chosen, this, &Tf_zest_opl::odswiez);
    connect(DBG_zest, &QTableView::doubleClicked, this, &Tf_zest_opl::otworz_rozliczenie);
    connect(kl_pdf, &QPushButton::clicked, this, &Tf_zest_opl::kl_pdfClick);
    connect(kl_druk, &QPushButton::clicked, this, &Tf_zest_opl::kl_drukClick);
    connect(kl_csv, &QPushButton::clicked, this, &Tf_zest_opl::kl_csvClick);
}

void Tf_zest_opl::odswiez()
{
    const data::PeriodChoice& choice = chooser_->applied();
    model_->setOverview(data::computeOverview(dm_, choice.year, choice.period(),
                                              data::yearParameters(dm_, choice.year)));
    DBG_zest->resizeColumnsToContents();
    showTotals();
}

std::vector<const data::OverviewRow*> Tf_zest_opl::recomputeForRun()
{
    QSet<int> chosen;
    const bool all = DBG_zest->selectionModel()->selectedRows().size() <= 1;
    for (const data::OverviewRow* row : chosenRows())
        chosen.insert(row->number);
    odswiez();
    std::vector<const data::OverviewRow*> rows;
    for (int r = 0; r < sorted_->rowCount(); ++r) {
        const QModelIndex index = sorted_->index(r, 0);
        const data::OverviewRow& row = model_->rowAt(sorted_->mapToSource(index).row());
        if (!chosen.contains(row.number))
            continue;
        rows.push_back(&row);
        if (!all)
            DBG_zest->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    return rows;
}

void Tf_zest_opl::showTotals()
{
    const data::Overview& o = model_->overview();
    QString amount;
    try {
        amount = text::formatMoney(o.amount());
    } catch (const text::MoneyOverflow&) {
        amount = QStringLiteral("poza zakresem");
    }
    int toPay = 0;
    for (const data::OverviewRow& r : o.rows)
        toPay += !o.withinThreshold(r);
    e_razem->setText(QStringLiteral("Razem: podatników %1 (do zapłaty %2), pojazdów %3, zakup %4 L = %5 Mg, opłaty %6%7")
                         .arg(o.rows.size())
                         .arg(toPay)
                         .arg(o.vehicles())
                         .arg(text::formatFloat(QStringLiteral("#,##0.00"), o.litres()),
                              text::formatFloat(QStringLiteral("#,##0.000"), o.tonnes()), amount,
                              o.linesWithoutRate() > 0
                                  ? QStringLiteral("; linii bez stawki: %1").arg(o.linesWithoutRate())
                                  : QString()));
}

std::vector<const data::OverviewRow*> Tf_zest_opl::chosenRows() const
{
    std::vector<const data::OverviewRow*> rows;
    const QModelIndexList selected = DBG_zest->selectionModel()->selectedRows();
    const bool all = selected.size() <= 1; // one row is where the cursor stands, not a choice
    for (int r = 0; r < sorted_->rowCount(); ++r) {
        const QModelIndex index = sorted_->index(r, 0);
        if (all || DBG_zest->selectionModel()->isRowSelected(r, {}))
            rows.push_back(&model_->rowAt(sorted_->mapToSource(index).row()));
    }
    return rows;
}

std::vector<reports::BatchOutcome> Tf_zest_opl::zapisz_pdf(const QString& folder, const std::function<bool()>& stop)
{
    const reports::BatchRequest request = batchRequest(folder);
    const int half = chooser_->applied().part;
    // The files show the database as it is when the run starts, amounts and lines alike.
    const auto snapshot = dm_.readReportsFromSnapshot();
    std::vector<reports::BatchOutcome> outcomes;
    for (const data::OverviewRow* row : recomputeForRun()) {
        if (stop && stop())
            break;
        outcomes.push_back(reports::writeTaxpayerPdf(dm_, model_->overview(), *row, half, request));
    }
    return outcomes;
}

reports::BatchRequest Tf_zest_opl::batchRequest(const QString& folder) const
{
    reports::BatchRequest request;
    request.folder = folder;
    request.withRegister = ch_wykaz->isChecked();
    request.withoutPurchases = ch_bez_zak->isChecked();
    return request;
}

void Tf_zest_opl::kl_pdfClick()
{
    const QString folder = desktop::askFolder(QStringLiteral("Katalog plików PDF"), QStringLiteral("pdf"), this);
    if (folder.isEmpty())
        return;
    const auto rows = chosenRows();
    QProgressDialog progress(QStringLiteral("Zapisywanie plików PDF…"), QStringLiteral("Przerwij"), 0,
                             static_cast<int>(rows.size()), this);
    progress.setWindowTitle(QStringLiteral("Zapisz wszystkie jako PDF"));
    desktop::fitCaption(progress);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    int done = 0;
    bool stopped = false;
    const auto outcomes = zapisz_pdf(folder, [&] {
        progress.setValue(done++);
        stopped = progress.wasCanceled();
        return stopped;
    });
    progress.setValue(static_cast<int>(rows.size()));
    desktop::showInformation(reports::batchSummary(outcomes, stopped) + QStringLiteral("\n\nKatalog: %1").arg(folder),
                             QStringLiteral("Zapisz wszystkie jako PDF"), this);
}

void Tf_zest_opl::kl_drukClick()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!desktop::choosePrinter(printer, desktop::PrintDialogKind::Print, 0, this))
        return;
    const auto snapshot = dm_.readReportsFromSnapshot();
    const auto rows = recomputeForRun();
    QProgressDialog progress(QStringLiteral("Drukowanie…"), QStringLiteral("Przerwij"), 0, static_cast<int>(rows.size()), this);
    progress.setWindowTitle(QStringLiteral("Drukuj wszystkie"));
    desktop::fitCaption(progress);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const reports::BatchRequest request = batchRequest({});
    const int half = chooser_->applied().part;
    std::vector<reports::BatchOutcome> outcomes;
    for (const data::OverviewRow* row : rows) {
        progress.setValue(static_cast<int>(outcomes.size()));
        if (progress.wasCanceled())
            break;
        outcomes.push_back(reports::printTaxpayer(dm_, model_->overview(), *row, half, request, [&printer](report::Report& r) {
            printer.setPageOrientation(r.orientation());
            return report::print(r.prepare(), printer);
        }));
    }
    progress.setValue(static_cast<int>(rows.size()));
    const QString summary = reports::printSummary(outcomes);
    desktop::showInformation(summary, QStringLiteral("Drukuj wszystkie"), this);
}

bool Tf_zest_opl::eksport_csv(const QString& fileName, QString* error) const
{
    std::vector<const data::OverviewRow*> rows;
    for (int r = 0; r < sorted_->rowCount(); ++r)
        rows.push_back(&model_->rowAt(sorted_->mapToSource(sorted_->index(r, 0)).row()));
    return text::writeCsvFile(fileName, reports::overviewRecords(model_->overview(), rows, reports::OverviewFormat::Csv),
                                 error);
}

void Tf_zest_opl::kl_csvClick()
{
    common::exportCsv(this, common::periodCsvName(QStringLiteral("zestawienie_oplat"), model_->overview().year, chooser_->applied().part),
                      [this](const QString& file, QString* error) { return eksport_csv(file, error); });
}

void Tf_zest_opl::otworz_rozliczenie(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const data::OverviewRow& row = model_->rowAt(sorted_->mapToSource(index).row());
    desktop::openModalPrepared(
        f_rozl, this,
        [&](Tf_rozl& screen) { screen.pokaz_rozliczenie(row.shortName, model_->overview().year, chooser_->applied().part); }, dm_);
}

bool Tf_zest_opl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DBG_zest && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            if (!sinceTyped_.isValid() || sinceTyped_.elapsed() > searchPauseMs)
                typed_.clear();
            typed_ += text;
            sinceTyped_.restart();
            searchShortName(typed_);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            otworz_rozliczenie(DBG_zest->currentIndex());
            return true;
        }
    }
    return DataScreen::eventFilter(watched, event);
}

void Tf_zest_opl::searchShortName(const QString& typed)
{
    for (int r = 0; r < sorted_->rowCount(); ++r) {
        const QModelIndex index = sorted_->index(r, reports::OverviewModel::ShortName);
        if (index.data().toString().startsWith(typed, Qt::CaseInsensitive)) {
            DBG_zest->setCurrentIndex(index);
            DBG_zest->scrollTo(index);
            return;
        }
    }
}
