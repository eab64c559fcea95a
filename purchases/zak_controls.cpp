// The controls of the purchase screen and how they are laid out.
#include "purchases/zak.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/period_chooser.h"
#include "data/dm1.h"
#include "data/field_names.h"
#include "dbwidgets/cancel_control.h"
#include "dbwidgets/date_edit.h"
#include "dbwidgets/db_edit.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/db_lookup_list.h"
#include "dbwidgets/db_navigator.h"
#include "dbwidgets/db_text.h"
#include "purchases/left_aligned_delegate.h"
#include "text/formats.h"
#include "desktop/named.h"

using desktop::named;

namespace {

QLabel* label(const QString& text, QWidget* buddy, QWidget* parent, const char* name)
{
    auto* l = named(new QLabel(text, parent), name);
    l->setBuddy(buddy);
    return l;
}

// Tall enough for `rows` items of a list.
int listHeight(const QListWidget* list, int rows)
{
    return rows * (list->fontMetrics().height() + 2) + 2 * list->frameWidth() + 2;
}

dbw::GridColumn column(const char* field, int width, bool readOnly = false)
{
    dbw::GridColumn c;
    c.field = QString::fromLatin1(field);
    c.width = width;
    c.readOnly = readOnly;
    return c;
}

} // namespace

void Tf_zak::buildControls()
{
    auto* top = new QHBoxLayout;
    top->setContentsMargins(8, 6, 8, 4);
    top->setSpacing(12);

    DBNavigator1 = named(new dbw::DBNavigator(this), "DBNavigator1");
    DBNavigator1->setDataSource(&dm_.DS_zak);
    kl_csv = named(new QPushButton(QStringLiteral("Eksport do CSV"), this), "kl_csv");
    kl_csv->setFocusPolicy(Qt::ClickFocus);
    kl_csv->setAutoDefault(false);
    top->addWidget(DBNavigator1, 0, Qt::AlignTop);
    top->addWidget(kl_csv, 0, Qt::AlignTop);

    // The choice of the period and taxpayer is reached by its accelerators, not by Tab,
    // so that Tab runs through the purchase alone.
    chooser_ = new common::PeriodChooser(this, data::YearParts::HalfYears);
    top->addStretch();
    top->addWidget(chooser_, 0, Qt::AlignTop);

    PC_zak = named(new QTabWidget(this), "PC_zak");
    ts_form = buildFormPage();
    ts_tab = buildTablePage();
    PC_zak->addTab(ts_form, QStringLiteral("Formularz"));
    PC_zak->addTab(ts_tab, QStringLiteral("Tabela"));

    // The status line: notes on what the screen did to a date by itself.
    e_uwaga = named(new QLabel(this), "e_uwaga");
    e_uwaga->setWordWrap(true);
    e_uwaga->setMinimumHeight(e_uwaga->fontMetrics().height() * 2 + 4);
    e_uwaga->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette note = e_uwaga->palette();
    note.setColor(QPalette::WindowText, QColor(150, 30, 20));
    e_uwaga->setPalette(note);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(PC_zak, 1);
    layout->addWidget(e_uwaga);
    resize(800, 580);
}

QWidget* Tf_zak::buildFormPage()
{
    auto* page = named(new QWidget, "ts_form");

    dbt_nrkol = named(new dbw::DBText(page), "dbt_nrkol");
    dbt_nrkol->setDataSource(&dm_.DS_zak);
    dbt_nrkol->setFieldName(data::col::NR_KOL);
    auto* e_nrkol = named(new QLabel(QStringLiteral("Nr kolejny rekordu:"), page), "e_nrkol");

    dblb_nrrej = named(new dbw::DBLookupList(page), "dblb_nrrej");
    dblb_nrrej->setDataSource(&dm_.DS_zak);
    dblb_nrrej->setFieldName(data::calc::sam_pod);
    dblb_nrrej->setFixedSize(150, listHeight(dblb_nrrej, 7));
    dblb_nrrej->setUniformItemSizes(true); // one line each: no text layout per item on every purchase
    auto* e_nrrej = label(QStringLiteral("&Nr rejestracyjny"), dblb_nrrej, page, "e_nrrej");

    DBE_nrrach = named(new dbw::DBEdit(page), "DBE_nrrach");
    DBE_nrrach->setDataSource(&dm_.DS_zak);
    DBE_nrrach->setFieldName(data::col::NR_RACH);
    DBE_nrrach->setFixedWidth(DBE_nrrach->fontMetrics().horizontalAdvance(QStringLiteral("FV/0000/00/0000/AB")) + 16);
    auto* e_nrrach = label(QStringLiteral("Nr &rachunku"), DBE_nrrach, page, "e_nrrach");

    dtp_dzak = named(new dbw::DateEdit(page), "dtp_dzak");
    dtp_dzak->setDate(QDate::currentDate());
    auto* e_dzak = label(QStringLiteral("z &dnia"), dtp_dzak, page, "e_dzak");

    dblb_rodz_pal = named(new dbw::DBLookupList(page), "dblb_rodz_pal");
    dblb_rodz_pal->setDataSource(&dm_.DS_zak);
    dblb_rodz_pal->setFieldName(data::calc::nazpal);
    dblb_rodz_pal->setFixedSize(260, listHeight(dblb_rodz_pal, 6));
    dblb_rodz_pal->setUniformItemSizes(true);
    auto* e_rodz_pal = label(QStringLiteral("Rodzaj pa&liwa"), dblb_rodz_pal, page, "e_rodz_pal");

    DBE_ilzak = named(new dbw::DBEdit(page), "DBE_ilzak");
    DBE_ilzak->setDataSource(&dm_.DS_zak);
    DBE_ilzak->setFieldName(data::col::IL_ZAK);
    DBE_ilzak->setAlignment(Qt::AlignRight);
    DBE_ilzak->setFixedWidth(DBE_ilzak->fontMetrics().horizontalAdvance(QStringLiteral("0000000,00")) + 16);
    auto* e_ilzak = label(QStringLiteral("&Ilość (w litrach)"), DBE_ilzak, page, "e_ilzak");

    ch_wprow = named(new QCheckBox(QStringLiteral("tylko wprowadzanie nowych danych "), page), "ch_wprow");
    ch_wprow->setFocusPolicy(Qt::ClickFocus);

    am_zak = named(new QActionGroup(this), "am_zak");
    am_zak->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    a_ok = named(new QAction(QStringLiteral("&Akceptuj"), am_zak), "a_ok");
    a_ok->setToolTip(QStringLiteral("Zapisz rekord"));
    a_ok->setStatusTip(a_ok->toolTip());
    a_anul = named(new QAction(QStringLiteral("Anuluj"), am_zak), "a_anul");
    a_anul->setToolTip(QStringLiteral("Anuluj"));
    a_anul->setStatusTip(a_anul->toolTip());

    auto actionButton = [page](QAction* action, const char* name) {
        auto* b = named(new QPushButton(action->text(), page), name);
        b->setToolTip(action->toolTip());
        b->setStatusTip(action->statusTip());
        b->setAutoDefault(false); // Enter in an edit confirms the edit, never the purchase
        b->setEnabled(action->isEnabled());
        b->hide();
        QObject::connect(b, &QPushButton::clicked, action, &QAction::trigger);
        QObject::connect(action, &QAction::changed, b, [b, action] { b->setEnabled(action->isEnabled()); });
        return b;
    };
    kl_ok = actionButton(a_ok, "kl_ok");
    kl_anuluj = actionButton(a_anul, "kl_anuluj");
    // A refused date or fuel never keeps the user from dropping the purchase.
    dbw::setCancelsRow(kl_anuluj);

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(e_nrkol, 0, 0);
    grid->addWidget(dbt_nrkol, 0, 1, 1, 3);
    grid->addWidget(e_nrrej, 1, 0, Qt::AlignTop);
    grid->addWidget(dblb_nrrej, 1, 1, 1, 3, Qt::AlignLeft);
    grid->addWidget(e_nrrach, 2, 0);
    auto* invoice = new QHBoxLayout;
    invoice->setSpacing(10);
    invoice->addWidget(DBE_nrrach);
    invoice->addWidget(e_dzak);
    invoice->addWidget(dtp_dzak);
    invoice->addStretch();
    grid->addLayout(invoice, 2, 1, 1, 3);
    grid->addWidget(e_rodz_pal, 3, 0, Qt::AlignTop);
    grid->addWidget(dblb_rodz_pal, 3, 1, 1, 3, Qt::AlignLeft);
    grid->addWidget(e_ilzak, 4, 0);
    grid->addWidget(DBE_ilzak, 4, 1, 1, 3, Qt::AlignLeft);
    auto* entry = new QHBoxLayout;
    entry->addWidget(ch_wprow);
    entry->addStretch();
    entry->addWidget(kl_ok);
    entry->addWidget(kl_anuluj);
    grid->addLayout(entry, 5, 0, 1, 4);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(6, 1);

    QWidget::setTabOrder(dblb_nrrej, DBE_nrrach);
    QWidget::setTabOrder(DBE_nrrach, dtp_dzak);
    QWidget::setTabOrder(dtp_dzak, dblb_rodz_pal);
    QWidget::setTabOrder(dblb_rodz_pal, DBE_ilzak);
    QWidget::setTabOrder(DBE_ilzak, kl_ok);
    QWidget::setTabOrder(kl_ok, kl_anuluj);
    return page;
}

QWidget* Tf_zak::buildTablePage()
{
    auto* page = named(new QWidget, "ts_tab");
    DBGrid1 = named(new dbw::DBGrid(page), "DBGrid1");
    // The running number and the fuel are not keyed here: the number comes from the
    // generator, the fuel follows the vehicle (and is checked) on the form.
    dbw::GridColumn invoice = column("NR_RACH", 150);
    invoice.widenToContent = true;
    DBGrid1->setColumns({column("NR_KOL", 80, true), column("sam_pod", 95), invoice, column("D_ZAK", 95),
                         column("IL_ZAK", 95), column("nazpal", 215, true)});
    DBGrid1->setItemDelegateForColumn(0, new LeftAlignedDelegate(DBGrid1));
    DBGrid1->setDataSource(&dm_.DS_zak);
    DBGrid1->setRowSelect(true);
    DBGrid1->setMultiSelect(true);
    DBGrid1->setConfirmDelete(true);
    DBGrid1->setSortMarkers({{data::col::D_ZAK, true}, {data::col::NR_RACH, true}});
    DBGrid1->setTitleSorting(true);
    dbw::DBGrid* grid = DBGrid1;
    DBGrid1->setFooter(2, [grid](const QString& field) {
        dbw::FooterCell cell;
        if (field.compare(QLatin1String("D_ZAK"), Qt::CaseInsensitive) == 0) {
            cell.lines = {QStringLiteral("Razem:"), QStringLiteral("Razem zazn.:")};
        } else if (field.compare(QLatin1String("IL_ZAK"), Qt::CaseInsensitive) == 0) {
            cell.lines = {text::formatNumber(grid->columnSum(field, false)),
                          text::formatNumber(grid->columnSum(field, true))};
            cell.bold = true;
            cell.hint = QStringLiteral("Razem|Razem zaznaczone");
        }
        return cell;
    });
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(DBGrid1);
    return page;
}
