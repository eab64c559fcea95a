#include "tables/siln.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "data/dm1.h"
#include "data/field_names.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/db_navigator.h"
#include "desktop/help_context.h"
#include "tables/tables_help.h"

Tf_siln* f_siln = nullptr;

Tf_siln::Tf_siln(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::OwnerCentre), dm_(dm),
      DBNav_siln(new dbw::DBNavigator(this)),
      DBG_siln(new dbw::DBGrid(this))
{
    setObjectName(QStringLiteral("f_siln"));
    setWindowTitle(QStringLiteral("Rodzaje pojazdów"));
    desktop::setHelpContext(this, tables_help::vehicleTypes);

    DBNav_siln->setObjectName(QStringLiteral("DBNav_siln"));
    DBNav_siln->setToolTip(QStringLiteral("Nawigowanie po danych"));
    DBNav_siln->setDataSource(&dm_.ds_siln);

    // The long names read better a little larger than the rest of the window; the titles
    // keep the window's size.
    DBG_siln->setObjectName(QStringLiteral("DBG_siln"));
    QFont cells = font();
    cells.setPointSizeF(cells.pointSizeF() + 1);
    DBG_siln->setFont(cells);
    DBG_siln->verticalHeader()->setDefaultSectionSize(QFontMetrics(cells).height() + 6);
    QFont titles = font();
    titles.setPointSizeF(font().pointSizeF()); // set, not inherited from the larger cells
    DBG_siln->horizontalHeader()->setFont(titles);
    DBG_siln->setBoldTitles(true);
    DBG_siln->setColumns({dbw::GridColumn{data::col::NR, data::col::NR},
                          dbw::GridColumn{data::col::NAZWA, data::col::NAZWA, 406}});
    DBG_siln->setDataSource(&dm_.ds_siln);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(DBNav_siln);
    layout->addWidget(DBG_siln, 1);
    resize(540, 460);
}

Tf_siln::~Tf_siln()
{
    closeDataIfOpen();
}

void Tf_siln::openData()
{
    data_ = dm_.openVehicleTypes();
}

void Tf_siln::closeData()
{
    data_.close();
}
