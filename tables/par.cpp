#include "tables/par.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "data/dm1.h"
#include "data/field_names.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/db_navigator.h"
#include "desktop/help_context.h"
#include "tables/tables_help.h"

Tf_par* f_par = nullptr;

namespace {

// The note above the navigator. The blanks at the starts of lines and the one after
// "400 zł." belong to it.
QStringList noteLines()
{
    return {
        QStringLiteral("      Zasady obowiązujące do 30.06.2005. Nie wnosi się opłat z tytułu tych rodzajów korzystania ze środowiska,"),
        QStringLiteral("których kwartalna wysokość nie przekracza 25% najniższego wynagrodzenia za pracę pracowników obowiązującego"),
        QStringLiteral("w dniu 30 września roku poprzedniego. Sejmik województwa może uchwalić podwyższenie wskaźnika procentowego,"),
        QStringLiteral("jednak nie więcej niż do 50%."),
        QString(),
        QStringLiteral("       Zasady obowiązujące od lipca 2005. Nie wnosi się opłat jeżeli ich wysokość za półrocze nie przekracza 400 zł. "),
        QStringLiteral("Aby nie zmieniać zakresu pól w tabeli paramatry od 2005 r. w polu płaca minimalna należy wpisać 800 zł, a wskaźnik 50%."),
        QString(),
        QStringLiteral("       Zasady obowiązujące od 2013. Nie wnosi się opłat jeżeli ich wysokość nie przekracza 800 zł rocznie."),
        QStringLiteral("Aby nie zmieniać zakresu pól w tabeli paramatry od 2013 r. w polu płaca minimalna należy wpisać 1600 zł, a wskaźnik 50%.")
    };
}

} // namespace

Tf_par::Tf_par(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::OwnerCentre), dm_(dm),
      Memo1(new QPlainTextEdit(this)),
      DBNavigator1(new dbw::DBNavigator(this)),
      DBGrid1(new dbw::DBGrid(this))
{
    setObjectName(QStringLiteral("f_par"));
    setWindowTitle(QStringLiteral("Dane do ustalenia kwoty, powyżej której wnosi się opłaty za korzystanie ze środowiska "));
    desktop::setHelpContext(this, tables_help::yearlyParameters);

    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setPlainText(noteLines().join(QLatin1Char('\n')));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::ClickFocus); // not reached by Tab: the keys belong to the grid
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 10 + 12);

    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(&dm_.DS_param);

    // Titles are the fields' labels ("Płaca minimalna", "Wskaźnik procentowy"), or the name.
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({dbw::GridColumn{data::col::ROK, {}}, dbw::GridColumn{data::col::PLAC_MIN, {}, 130},
                         dbw::GridColumn{data::col::WSK_PROC, {}, 150}});
    DBGrid1->setDataSource(&dm_.DS_param);
    DBGrid1->setFixedWidth(380);

    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(DBGrid1);
    gridRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(Memo1);
    layout->addWidget(DBNavigator1);
    layout->addLayout(gridRow, 1);
    resize(780, 520);
}

Tf_par::~Tf_par()
{
    closeDataIfOpen();
}

void Tf_par::openData()
{
    data_ = dm_.openParameters();
}

void Tf_par::closeData()
{
    data_.close();
}
