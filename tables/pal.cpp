#include "tables/pal.h"

#include <QVBoxLayout>

#include "data/dm1.h"
#include "data/field_names.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/db_navigator.h"
#include "desktop/help_context.h"
#include "tables/tables_help.h"

Tf_pal* f_pal = nullptr;

Tf_pal::Tf_pal(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::ScreenCentre), dm_(dm),
      DBNavigator(new dbw::DBNavigator(this)),
      DBGrid1(new dbw::DBGrid(this))
{
    setObjectName(QStringLiteral("f_pal"));
    setWindowTitle(QStringLiteral("Rodzaje paliw"));
    desktop::setHelpContext(this, tables_help::fuelTypes);

    DBNavigator->setObjectName(QStringLiteral("DBNavigator"));
    DBNavigator->setToolTip(QStringLiteral("Nawigowanie po danych"));
    DBNavigator->setDataSource(&dm_.ds_pal);

    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setBoldTitles(true);
    DBGrid1->setColumns({dbw::GridColumn{data::col::NR, data::col::NR},
                       dbw::GridColumn{data::col::NAZWA, data::col::NAZWA, 230},
                       dbw::GridColumn{data::col::PRZEL_L_KG, QStringLiteral("PRZEL. L->KG"), 105}});
    DBGrid1->setDataSource(&dm_.ds_pal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(DBNavigator);
    layout->addWidget(DBGrid1, 1);
    resize(460, 300);
}

Tf_pal::~Tf_pal()
{
    closeDataIfOpen();
}

void Tf_pal::openData()
{
    data_ = dm_.openFuels();
}

void Tf_pal::closeData()
{
    data_.close();
}
