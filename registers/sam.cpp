#include "registers/sam.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScopeGuard>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "data/dm1.h"
#include "data/field_names.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/db_navigator.h"
#include "dbwidgets/grid_model.h"
#include "dbwidgets/leave_row.h"
#include "desktop/help_context.h"
#include "registers/delete_refusal.h"
#include "registers/pobdaty.h"
#include "registers/registers_help.h"

Tf_sam* f_sam = nullptr;

namespace {

Tf_sam::PickerRunner& pickerRunner()
{
    static Tf_sam::PickerRunner runner;
    return runner;
}

// A date is given unless it is null or the zero date-time value (30-12-1899).
bool isDateSet(const QVariant& v)
{
    const QDate d = v.toDate();
    return v.isValid() && d.isValid() && d != QDate(1899, 12, 30);
}

dbw::GridColumn column(const char* field, int width = -1)
{
    dbw::GridColumn c;
    c.field = QString::fromLatin1(field);
    c.width = width;
    return c;
}

bool isField(const ds::Field* f, const char* name)
{
    return f && f->name().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

} // namespace

Tf_sam::Tf_sam(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::AsIs,
                 Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint
                     | Qt::WindowCloseButtonHint), dm_(dm)
{
    setObjectName(QStringLiteral("f_sam"));
    setWindowTitle(QStringLiteral("Samochody"));
    desktop::setHelpContext(this, registers_help::vehicles);
    buildControls();
    deleteRefusal_ = new DeleteRefusal(QStringLiteral("Nie można usunąć samochodu, do którego są zapisane zakupy paliwa."), this);
    deleteRefusal_->guard(DBN_opl);
    deleteRefusal_->guard(DBGrid2);
    connect(DBGrid2, &dbw::DBGrid::editButtonClicked, this, &Tf_sam::DBGrid2EditButtonClick);
    // A vehicle added or changed from the navigator is keyed in the vehicle grid: were the
    // keyboard left in the taxpayer grid, the next key would move to another taxpayer.
    connect(DBN_opl, &dbw::DBNavigator::clicked, this, [this](dbw::DBNavigator::Button b) {
        if (b != dbw::DBNavigator::Insert && b != dbw::DBNavigator::Edit)
            return;
        DBGrid2->setFocus(Qt::OtherFocusReason);
        const int row = dm_.IBDS_sam.recNo();
        const int registration = DBGrid2->gridModel()->columnOf(dm_.IBDS_sam.field(data::col::NR_REJ));
        if (row >= 0 && registration >= 0)
            DBGrid2->setCurrentIndex(DBGrid2->model()->index(row, registration));
    });
}

Tf_sam::~Tf_sam()
{
    closeDataIfOpen();
}

void Tf_sam::setPickerRunner(PickerRunner runner)
{
    pickerRunner() = std::move(runner);
}

void Tf_sam::buildControls()
{
    auto* header = new QHBoxLayout;
    header->setContentsMargins(8, 4, 4, 4);
    e_podatnik = new QLabel(QStringLiteral("Podatnik"), this);
    e_podatnik->setObjectName(QStringLiteral("e_podatnik"));
    header->addWidget(e_podatnik);
    header->addSpacing(40);
    DBN_opl = new dbw::DBNavigator(this);
    DBN_opl->setObjectName(QStringLiteral("DBN_opl"));
    DBN_opl->setDataSource(&dm_.DS_sam);
    header->addWidget(DBN_opl);
    header->addStretch();

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);

    DBGrid1 = new dbw::DBGrid(Splitter1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({column("NR_PODAT"), column("NAZSKR")});
    DBGrid1->setDataSource(&dm_.DS_pod);
    DBGrid1->setGridReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setSortMarkers({{data::col::NR_PODAT, true}});
    DBGrid1->setTitleSorting(true);
    DBGrid1->setMinimumHeight(50);

    auto* Panel2 = new QWidget(Splitter1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setMinimumHeight(50);
    auto* vehicles = new QHBoxLayout(Panel2);
    vehicles->setContentsMargins(0, 0, 0, 0);
    vehicles->setSpacing(2);
    e_samochody = new QLabel(QStringLiteral("Sa mo cho dy"), Panel2);
    e_samochody->setObjectName(QStringLiteral("e_samochody"));
    e_samochody->setWordWrap(true);
    e_samochody->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Just wide enough for its widest syllable, so that each one takes a line of its own.
    e_samochody->setFixedWidth(e_samochody->fontMetrics().horizontalAdvance(QStringLiteral("cho")) + 8);
    vehicles->addWidget(e_samochody);

    DBGrid2 = new dbw::DBGrid(Panel2);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    dbw::GridColumn owner = column("naz_pod", 115);
    owner.readOnly = true; // the owner is the taxpayer chosen above, not picked in the row
    dbw::GridColumn type = column("naz_sil", 328);
    type.dropDownRows = 10;
    // 95 pixels, or what the title needs in a font wider than the one they were made for.
    auto dateColumn = [this](const char* field) {
        const QString title = dm_.IBDS_sam.fieldByName(QString::fromLatin1(field)).displayLabel();
        dbw::GridColumn c = column(field, std::max(95, DBGrid2->horizontalHeader()->fontMetrics().horizontalAdvance(title) + 16));
        c.ellipsis = true;
        return c;
    };
    const dbw::GridColumn firstDay = dateColumn("D_ROZP_U");
    const dbw::GridColumn lastDay = dateColumn("D_ZAK_U");
    DBGrid2->setColumns({owner, column("NR_REJ"), type, column("naz_pal"), firstDay, lastDay});
    DBGrid2->setDataSource(&dm_.DS_sam);
    vehicles->addWidget(DBGrid2, 1);

    Splitter1->addWidget(DBGrid1);
    Splitter1->addWidget(Panel2);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addWidget(Splitter1, 1);

    resize(980, 560);
    Splitter1->setSizes({150, 560 - 150});
}

// Opening and closing ---------------------------------------------------------------------

void Tf_sam::FormActivate()
{
    // The screen spans the main window from side to side, centred on it vertically.
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect main = owner->frameGeometry();
        const int frameWidth = frameGeometry().width() - width();
        resize(main.width() - frameWidth, height());
        move(main.left(), main.center().y() - frameGeometry().height() / 2);
    }
    data_ = dm_.openVehicles();
}

void Tf_sam::FormDeactivate()
{
    data_.close();
}

// Dates ----------------------------------------------------------------------------------

void Tf_sam::DBGrid2EditButtonClick()
{
    const ds::Field* f = DBGrid2->currentField();
    if (isField(f, "D_ROZP_U"))
        pickDate(data::col::D_ROZP_U, false);
    else if (isField(f, "D_ZAK_U"))
        pickDate(data::col::D_ZAK_U, true);
}

// The picker opens on the field's date (today when there is none); for the last day of
// use only days after the first day of use can be picked. OK writes the date into the row,
// which stays unposted.
void Tf_sam::pickDate(const QString& fieldName, bool afterFirstDay)
{
    ds::Dataset& sam = dm_.IBDS_sam;
    Tf_pobdaty picker(this);
    const auto instance = qScopeGuard([] { f_pobdaty = nullptr; });
    f_pobdaty = &picker;

    const QVariant current = sam.recNo() >= 0 ? sam.value(fieldName) : QVariant();
    picker.setDate(isDateSet(current) ? current.toDate() : QDate::currentDate());
    if (afterFirstDay) {
        const QVariant first = sam.recNo() >= 0 ? sam.value(data::col::D_ROZP_U) : QVariant();
        if (isDateSet(first))
            picker.setEarliestDate(first.toDate().addDays(1));
    }
    picker.move(x() + frameGeometry().width() / 2 - picker.frameGeometry().width() / 2, y() + 1);

    const int result = pickerRunner() ? pickerRunner()(picker) : picker.exec();
    if (result != QDialog::Accepted)
        return;
    if (!sam.isEditing())
        sam.edit();
    sam.setValue(fieldName, picker.date());
}
