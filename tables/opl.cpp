#include "tables/opl.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>

#include "data/dm1.h"
#include "data/field_names.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/db_navigator.h"
#include "desktop/help_context.h"
#include "tables/tables_help.h"

Tf_opl* f_opl = nullptr;

namespace {

// Neither part of the splitter can be made smaller than this.
constexpr int splitterPartLeast = 50;

} // namespace

Tf_opl::Tf_opl(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::OwnerCentre), dm_(dm),
      Label1(new QLabel(QStringLiteral("Rodzaj pojazdu"), this)),
      Label2(new QLabel(QStringLiteral("Rok"), this)),
      c_rok(new QComboBox(this)),
      DBN_opl(new dbw::DBNavigator(this)),
      DBGrid1(new dbw::DBGrid(this)),
      Splitter1(new QSplitter(Qt::Vertical, this)),
      Label3(new QLabel(QStringLiteral("Opłata za tonę spalonego paliwa"), this)),
      DBGrid2(new dbw::DBGrid(this))
{
    setObjectName(QStringLiteral("f_opl"));
    setWindowTitle(QStringLiteral("Stawki opłat za 1 T paliwa "));
    desktop::setHelpContext(this, tables_help::feeRates);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));

    // The year is typed freely (at most four characters) or chosen; typing neither
    // completes the text nor adds it to the list: the items are the years that have rates.
    c_rok->setObjectName(QStringLiteral("c_rok"));
    c_rok->setEditable(true);
    c_rok->setInsertPolicy(QComboBox::NoInsert);
    c_rok->setCompleter(nullptr);
    c_rok->lineEdit()->setMaxLength(4);
    c_rok->setMinimumContentsLength(4);
    c_rok->setMaxVisibleItems(15);
    connect(c_rok->lineEdit(), &QLineEdit::textEdited, this, &Tf_opl::c_rokExit);
    connect(c_rok, &QComboBox::activated, this, &Tf_opl::c_rokExit);
    c_rok->installEventFilter(this);
    connect(&dm_, &Tdm_1::rateYearsChanged, this, &Tf_opl::showYears);

    DBN_opl->setObjectName(QStringLiteral("DBN_opl"));
    DBN_opl->setDataSource(&dm_.ds_opl);

    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGridReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setColumns({dbw::GridColumn{data::col::NR, data::col::NR},
                         dbw::GridColumn{data::col::NAZWA, data::col::NAZWA, 406}});
    DBGrid1->setDataSource(&dm_.ds_siln1);

    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setColumns({dbw::GridColumn{data::col::ROK, data::col::ROK},
                         dbw::GridColumn{data::col::NR_SILN, QStringLiteral("Nr silnika")},
                         dbw::GridColumn{data::calc::nazpal, QStringLiteral("Rodzaj paliwa")},
                         dbw::GridColumn{data::col::OPL_ZA_TONE, QStringLiteral("Stawka za tonę")}});
    DBGrid2->setDataSource(&dm_.ds_opl);

    // The caption of the rate part stands in a narrow column at its left edge.
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3->setFixedWidth(Label3->fontMetrics().horizontalAdvance(QStringLiteral("spalonego")) + 10);

    auto* yearBox = new QVBoxLayout;
    yearBox->setSpacing(2);
    yearBox->addWidget(Label2);
    yearBox->addWidget(c_rok);

    auto* header = new QHBoxLayout;
    header->setSpacing(12);
    header->addWidget(Label1, 0, Qt::AlignLeft | Qt::AlignBottom);
    header->addStretch(1);
    header->addLayout(yearBox);
    header->addWidget(DBN_opl, 0, Qt::AlignBottom);

    auto* ratePart = new QWidget(Splitter1);
    ratePart->setObjectName(QStringLiteral("ratePart"));
    auto* rateLayout = new QHBoxLayout(ratePart);
    rateLayout->setContentsMargins(0, 0, 0, 0);
    rateLayout->setSpacing(4);
    rateLayout->addWidget(Label3);
    rateLayout->addWidget(DBGrid2, 1);

    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addWidget(DBGrid1);
    Splitter1->addWidget(ratePart);
    Splitter1->setChildrenCollapsible(false);
    DBGrid1->setMinimumHeight(splitterPartLeast);
    ratePart->setMinimumHeight(splitterPartLeast);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(header);
    layout->addWidget(Splitter1, 1);
    resize(640, 560);
}

Tf_opl::~Tf_opl()
{
    closeDataIfOpen();
}

// The year list ----------------------------------------------------------------------------

void Tf_opl::showYears(const QStringList& years, const QString& shown)
{
    const QSignalBlocker quiet(c_rok);
    c_rok->clear();
    c_rok->addItems(years);
    c_rok->setCurrentIndex(c_rok->findText(shown, Qt::MatchExactly));
    if (c_rok->currentText() != shown)
        c_rok->setEditText(shown);
}

// The rates of the year ----------------------------------------------------------------------

void Tf_opl::c_rokExit()
{
    // The list may lose the focus while the screen closes; the rates are closed by then.
    if (!isDataOpen())
        return;
    dm_.showRatesOfYear(c_rok->currentText());
}

bool Tf_opl::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the year list for another control shows the rates of its text. A drop-down
    // list opening or another window coming to the front is no leaving. When the rates
    // shown are already those of the text they are not read again, so that a rate row
    // started with the navigator while the list had the focus survives a click into the grid.
    if (watched == c_rok && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
            && c_rok->currentText() != dm_.rateYear())
            c_rokExit();
    }
    return DataScreen::eventFilter(watched, event);
}

// Opening and closing ---------------------------------------------------------------------------

void Tf_opl::openData()
{
    data_ = dm_.openRates();
}

void Tf_opl::closeData()
{
    data_.close();
}
