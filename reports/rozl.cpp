#include "reports/rozl.h"


#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QScreen>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "common/csv_export.h"
#include "common/period_chooser.h"
#include "data/dm1.h"
#include "data/fee_arithmetic.h"
#include "data/field_names.h"
#include "dbwidgets/db_grid.h"
#include "desktop/help_context.h"
#include "desktop/messages.h"
#include "desktop/print_dialogs.h"
#include "report/preview_interface.h"
#include "report/printing.h"
#include "report/report.h"
#include "report/report_printer.h"
#include "reports/pod_wydr.h"
#include "reports/report_set.h"
#include "reports/reports_help.h"
#include "text/csv.h"
#include "reports/settlement_export.h"
#include "data/settlement.h"
#include "text/formats.h"

Tf_rozl* f_rozl = nullptr;

namespace {

const QColor withinThreshold(0, 128, 0);
const QColor aboveThreshold(255, 0, 0);

dbw::GridColumn column(const char* field, int width = -1)
{
    dbw::GridColumn c;
    c.field = QString::fromLatin1(field);
    c.width = width;
    return c;
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

} // namespace

Tf_rozl::Tf_rozl(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::AsIs,
                 Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                     | Qt::WindowCloseButtonHint),
      dm_(dm)
{
    setObjectName(QStringLiteral("f_rozl"));
    setWindowTitle(QStringLiteral("Naliczenie opłat za korzystanie ze środowiska"));
    desktop::setHelpContext(this, reports_help::settlement);
    buildControls();
    // The settlement is there from the window's creation: the reports read it before it shows.
    openDataNow();
}

Tf_rozl::~Tf_rozl()
{
    // The children go after this part of the window: they must not reach it on their way.
    disconnect(chooser_, nullptr, this, nullptr);
    closeDataIfOpen();
}

// Controls --------------------------------------------------------------------------------

void Tf_rozl::buildControls()
{
    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(buildSettlementPanel());
    Splitter1->addWidget(buildPurchasePanel());
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildParameterPanel());
    layout->addWidget(Splitter1, 1);
    // Every column of the settlement shows at the first opening, the fee column too, as far
    // as the screen allows.
    const int wanted = std::max(860, DBG_rozl->widthForAllColumns());
    const QScreen* shownOn = screen();
    resize(shownOn ? std::min(wanted, shownOn->availableGeometry().width()) : wanted, 600);
    Splitter1->setSizes({300, 220});
}

QWidget* Tf_rozl::buildParameterPanel()
{
    p_param = new QWidget(this);
    p_param->setObjectName(QStringLiteral("p_param"));
    auto* grid = new QGridLayout(p_param);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(2);

    chooser_ = new common::PeriodChooser(p_param, data::YearParts::HalfYears);
    // An office settles many taxpayers one after the other: ten names at a glance.
    chooser_->setTaxpayerRows(10);
    grid->addWidget(chooser_, 0, 0, 3, 3, Qt::AlignTop);

    Bevel1 = new QFrame(p_param);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Panel);
    Bevel1->setFrameShadow(QFrame::Sunken);
    auto* choice = new QGridLayout(Bevel1);
    choice->setContentsMargins(10, 6, 10, 6);
    choice->setHorizontalSpacing(16);
    rb_zest = new QRadioButton(QStringLiteral("wydruk zestawienia zbiorczego"), Bevel1);
    rb_zest->setObjectName(QStringLiteral("rb_zest"));
    rb_zest->setChecked(true);
    rb_zak = new QRadioButton(QStringLiteral("wydruk zakupów paliw"), Bevel1);
    rb_zak->setObjectName(QStringLiteral("rb_zak"));
    kl_druk = new QPushButton(QStringLiteral("Drukuj"), Bevel1);
    kl_druk->setObjectName(QStringLiteral("kl_druk"));
    kl_druk->setFocusPolicy(Qt::ClickFocus);
    kl_druk->setAutoDefault(false);
    kl_podgl = new QPushButton(QStringLiteral("podgląd wydruku"), Bevel1);
    kl_podgl->setObjectName(QStringLiteral("kl_podgl"));
    kl_podgl->setFocusPolicy(Qt::ClickFocus);
    kl_podgl->setAutoDefault(false);
    kl_csv = new QPushButton(QStringLiteral("Eksport do CSV"), Bevel1);
    kl_csv->setObjectName(QStringLiteral("kl_csv"));
    kl_csv->setFocusPolicy(Qt::ClickFocus);
    kl_csv->setAutoDefault(false);
    choice->addWidget(rb_zest, 0, 0);
    choice->addWidget(rb_zak, 1, 0);
    choice->addWidget(kl_druk, 0, 1);
    choice->addWidget(kl_podgl, 1, 1);
    choice->addWidget(kl_csv, 2, 1);
    grid->addWidget(Bevel1, 0, 3, 3, 1, Qt::AlignTop);
    grid->setColumnStretch(4, 1);

    connect(kl_podgl, &QPushButton::clicked, this, &Tf_rozl::kl_podglClick);
    connect(kl_druk, &QPushButton::clicked, this, &Tf_rozl::kl_drukClick);
    connect(kl_csv, &QPushButton::clicked, this, &Tf_rozl::kl_csvClick);
    return p_param;
}

QWidget* Tf_rozl::buildSettlementPanel()
{
    p_rozl = new QWidget(this);
    p_rozl->setObjectName(QStringLiteral("p_rozl"));
    auto* layout = new QVBoxLayout(p_rozl);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    DBG_rozl = new dbw::DBGrid(p_rozl);
    DBG_rozl->setObjectName(QStringLiteral("DBG_rozl"));
    // Vehicle type names run to 50 characters; the column shows them whole.
    const int typeWidth = fontMetrics().horizontalAdvance(QStringLiteral("Do 3,5 Mg nieosobowe, 07.1997-06.2001 lub EURO 2")) + 12;
    DBG_rozl->setColumns({column("NR_REJ"), column("rodzsiln", typeWidth), column("nazpal"), column("ZAKKW"),
                          column("PRZEL_L_KG"), column("OPL_ZA_TONE"), column("opl")});
    DBG_rozl->setDataSource(&dm_.DS_rozl);
    DBG_rozl->setGridReadOnly(true);
    DBG_rozl->setRowSelect(true);
    layout->addWidget(DBG_rozl, 1);

    // Lines without a rate count as zero; this says so, so that no fee is filed too low unseen.
    e_brak_stawki = new QLabel(p_rozl);
    e_brak_stawki->setObjectName(QStringLiteral("e_brak_stawki"));
    e_brak_stawki->setWordWrap(true);
    e_brak_stawki->setContentsMargins(8, 2, 8, 2);
    setTextColour(e_brak_stawki, aboveThreshold);
    e_brak_stawki->hide();
    layout->addWidget(e_brak_stawki);

    P_suma = new QWidget(p_rozl);
    P_suma->setObjectName(QStringLiteral("P_suma"));
    auto* sum = new QHBoxLayout(P_suma);
    sum->setContentsMargins(8, 4, 8, 4);
    sum->setSpacing(0);
    e_kw = new QLabel(QStringLiteral("Kwota do zapłaty:"), P_suma);
    e_kw->setObjectName(QStringLiteral("e_kw"));
    e_wart = new QLabel(P_suma);
    e_wart->setObjectName(QStringLiteral("e_wart"));
    QFont large = e_wart->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.4);
    e_wart->setFont(large);
    e_kom1 = new QLabel(QStringLiteral("Kwota mniejsza od "), P_suma);
    e_kom1->setObjectName(QStringLiteral("e_kom1"));
    e_kom2 = new QLabel(P_suma);
    e_kom2->setObjectName(QStringLiteral("e_kom2"));
    e_kom3 = new QLabel(QStringLiteral("nie podlega wpłacie."), P_suma);
    e_kom3->setObjectName(QStringLiteral("e_kom3"));
    const int blank = fontMetrics().horizontalAdvance(QLatin1Char(' '));
    sum->addWidget(e_kw);
    sum->addSpacing(8);
    sum->addWidget(e_wart);
    sum->addSpacing(40);
    sum->addWidget(e_kom1);
    sum->addWidget(e_kom2);
    sum->addSpacing(blank);
    sum->addWidget(e_kom3);
    sum->addStretch();
    layout->addWidget(P_suma);

    // From 2013: whether the firm files the statement and pays, under the amount.
    e_wykaz = new QLabel(p_rozl);
    e_wykaz->setObjectName(QStringLiteral("e_wykaz"));
    e_wykaz->setContentsMargins(8, 0, 8, 4);
    e_wykaz->setToolTip(QStringLiteral("Progi dotyczą całej rocznej opłaty za wprowadzanie gazów lub pyłów do powietrza. "
                                       "Program zna tylko opłatę za pojazdy: jeśli firma ma też np. kotłownię, "
                                       "jej opłatę trzeba doliczyć."));
    e_wykaz->hide();
    layout->addWidget(e_wykaz);
    return p_rozl;
}

QWidget* Tf_rozl::buildPurchasePanel()
{
    p_zak = new QWidget(this);
    p_zak->setObjectName(QStringLiteral("p_zak"));
    auto* layout = new QVBoxLayout(p_zak);
    layout->setContentsMargins(0, 0, 0, 0);
    DBG_zak = new dbw::DBGrid(p_zak);
    DBG_zak->setObjectName(QStringLiteral("DBG_zak"));
    dbw::GridColumn litres = column("IL_ZAK");
    litres.titleAlignment = Qt::AlignCenter;
    dbw::GridColumn invoice = column("NR_RACH");
    invoice.widenToContent = true;
    DBG_zak->setColumns({column("NR_REJ"), invoice, column("D_ZAK"), column("nazpal"), litres});
    DBG_zak->setDataSource(&dm_.DS_rozl_d);
    DBG_zak->setGridReadOnly(true);
    DBG_zak->setRowSelect(true);
    DBG_zak->setMultiSelect(true);
    DBG_zak->setSortMarkers({{data::col::D_ZAK, true}});
    DBG_zak->setFooter(2, [this](const QString& field) {
        dbw::FooterCell cell;
        if (field.compare(QLatin1String("nazpal"), Qt::CaseInsensitive) == 0) {
            cell.lines = QStringList{QStringLiteral("Razem:"), QStringLiteral("Razem zazn.:")};
        } else if (field.compare(QLatin1String("IL_ZAK"), Qt::CaseInsensitive) == 0) {
            cell.lines = QStringList{text::formatFixed(DBG_zak->columnSum(field, false)),
                                     text::formatFixed(DBG_zak->columnSum(field, true))};
            cell.bold = true;
        }
        return cell;
    });
    layout->addWidget(DBG_zak);
    return p_zak;
}

// Opening and closing ---------------------------------------------------------------------

void Tf_rozl::FormCreate()
{
    // The lookup columns of both grids read the vehicle types and fuels.
    names_ = dm_.openNameLookups(Tdm_1::NamesRead::Again);
    chooser_->setTaxpayers(dm_.taxpayerShortNames());

    chooser_->present({}, QDate::currentDate().year(), 0);
    ustal_rok();
    licz_rozl();
    lines_ = dm_.openSettlementLines();

    connect(chooser_, &common::PeriodChooser::chosen, this, &Tf_rozl::choiceMade);
}

void Tf_rozl::FormDestroy()
{
    lines_.close();
    names_.reset();
}

// Choosing the taxpayer and period --------------------------------------------------------

// A click or the exit of a list settles again, also without a new choice: what another desk
// keyed since shows.
void Tf_rozl::choiceMade()
{
    if (chooser_->applied().year != parametersYear_)
        ustal_rok();
    odswiez_rozl();
}

// The parameters of the chosen year.
void Tf_rozl::ustal_rok()
{
    parametersYear_ = chooser_->applied().year;
    const data::YearParameters p = data::yearParameters(dm_, parametersYear_);
    minimumWage_ = p.minimumWage;
    percentage_ = p.percentage;
}

// The settlement ---------------------------------------------------------------------------

void Tf_rozl::licz_rozl()
{
    const data::PeriodChoice& choice = chooser_->applied();
    data::Settlement s;
    try {
        s = data::computeSettlement(dm_, choice.taxpayer, choice.year, choice.period(), {minimumWage_, percentage_},
                                    data::LinesAfterwards::Open);
        amountOutOfRange_ = false;
    } catch (const text::MoneyOverflow& e) {
        // No wrapped-around amount is ever shown or printed: the window says what happened.
        amountOutOfRange_ = true;
        s.threshold = data::exemptionThreshold(minimumWage_, percentage_);
        desktop::showError(QString::fromUtf8(e.what()), this);
    }
    settlement_ = s;
    showAmounts();
    showLinesWithoutRate(s);
}

void Tf_rozl::pokaz_rozliczenie(const QString& taxpayer, int year, int half)
{
    chooser_->present(taxpayer, year, half);
    ustal_rok();
    odswiez_rozl();
}

void Tf_rozl::odswiez_rozl()
{
    lines_.close();
    licz_rozl();
    lines_ = dm_.openSettlementLines();
}

void Tf_rozl::showAmounts()
{
    e_wart->setText(amountOutOfRange_ ? QStringLiteral("poza zakresem") : text::formatMoney(settlement_.amount));
    e_kom2->setText(text::formatMoney(settlement_.threshold));
    const bool within = !amountOutOfRange_ && settlement_.withinThreshold();
    setTextColour(e_kw, within ? withinThreshold : aboveThreshold);
    setTextColour(e_wart, within ? withinThreshold : aboveThreshold);
    for (QLabel* l : {e_kom1, e_kom2, e_kom3})
        l->setVisible(within);
    const auto filing = data::filing(chooser_->applied().year,
                                     amountOutOfRange_ ? std::nullopt : std::optional(settlement_.amount), settlement_.threshold);
    e_wykaz->setText(filing ? data::filingSentence(*filing, settlement_.threshold) : QString());
    e_wykaz->setVisible(filing.has_value());
}

void Tf_rozl::showLinesWithoutRate(const data::Settlement& s)
{
    QStringList lines;
    for (const data::SettlementLine* line : s.linesWithoutRate()) {
        const QString type = line->vehicleTypeName.isEmpty() ? QString::number(line->vehicleType) : line->vehicleTypeName;
        const QString fuel = line->fuelName.isEmpty() ? QString::number(line->fuel) : line->fuelName;
        lines << QStringLiteral("Uwaga: brak stawki opłaty na rok %1 dla pojazdu %2 (%3), paliwo: %4 – pozycja liczona jako 0,00 zł.")
                     .arg(QString::number(s.year), line->registration, type, fuel);
    }
    if (!lines.isEmpty())
        lines << QStringLiteral("Kwota do zapłaty jest przez to zaniżona: uzupełnij stawki opłat przed złożeniem wykazu.");
    e_brak_stawki->setText(lines.join(QLatin1Char('\n')));
    e_brak_stawki->setVisible(!lines.isEmpty());
}

// The choice shown ----------------------------------------------------------------------------

const data::PeriodChoice& Tf_rozl::chosen() const
{
    return chooser_->applied();
}

reports::ReportSubject Tf_rozl::printoutSubject() const
{
    return {chooser_->applied(), settlement_, !amountOutOfRange_};
}

// Printing -----------------------------------------------------------------------------------

void Tf_rozl::kl_podglClick()
{
    if (chooser_->yearComplete())
        drukuj_raporty(true);
}

void Tf_rozl::kl_drukClick()
{
    if (chooser_->yearComplete())
        drukuj_raporty(false);
}

bool Tf_rozl::eksport_csv(const QString& fileName, QString* error) const
{
    return text::writeCsvFile(fileName, reports::settlementCsv(settlement_, chooser_->applied().part), error);
}

void Tf_rozl::kl_csvClick()
{
    if (amountOutOfRange_) {
        desktop::showError(QString::fromUtf8(text::MoneyOverflow().what()), this);
        return;
    }
    const data::PeriodChoice& choice = chooser_->applied();
    common::exportCsv(this, common::periodCsvName(QStringLiteral("rozliczenie_") + choice.taxpayer, choice.year, choice.part),
                      [this](const QString& file, QString* error) { return eksport_csv(file, error); });
}

void Tf_rozl::drukuj_raporty(bool preview)
{
    if (amountOutOfRange_) {
        desktop::showError(QString::fromUtf8(text::MoneyOverflow().what()), this);
        return;
    }
    if (preview)
        report::registerPreviewInterface<TQRCustomPreviewInterface>();
    const auto choice = rb_zest->isChecked() ? reports::ReportChoice::Statements : reports::ReportChoice::PurchaseRegister;
    auto windows = reports::createReports(dm_, printoutSubject(), choice);
    // A printout whose fee lacks some rates is printed only when the user says so; the
    // preview shows the warning and asks itself.
    const QString warning = windows.front()->raport().warning();
    if (!preview && !warning.isEmpty()
        && desktop::ask(warning + QStringLiteral(" Drukować mimo to?"), {}, this) != desktop::Answer::Yes)
        return;
    QCoreApplication::processEvents();
    for (const auto& w : windows) {
        if (preview)
            w->raport().preview();
        else
            printReport(w->raport());
    }
    QCoreApplication::processEvents();
}

void Tf_rozl::printReport(report::Report& r)
{
    report::ReportPrinter& p = r.prepare();
    p.generateAll(); // the print dialog bounds the page range by the pages there are
    QPrinter& printer = report::printSettings(p);
    if (!desktop::choosePrinter(printer, desktop::PrintDialogKind::Print, p.pageCount(), this))
        return;
    if (!report::print(p, printer))
        desktop::showError(QStringLiteral("Nie udało się wydrukować: %1.").arg(r.title()), this);
}
