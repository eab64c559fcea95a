#include <QComboBox>
#include <QScrollBar>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QApplication>
#include <QtTest>

#include "data/dm1.h"
#include "dataset/error.h"
#include "dbwidgets/db_edit.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/db_lookup_list.h"
#include "dbwidgets/db_memo.h"
#include "dbwidgets/db_navigator.h"
#include "dbwidgets/db_text.h"
#include "dbwidgets/grid_model.h"
#include "desktop/messages.h"
#include "firebird/statement.h"
#include "screen_testing.h"
#include "module_fixture.h"
#include "text/formats.h"
#include "test_main.h"

using dbw::DBNavigator;
using screentest::count;
using screentest::exec;
using screentest::typeText;

class TestDbWidgets : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT



    static QLineEdit* openEditor(dbw::DBGrid& grid, int row, int column)
    {
        const QModelIndex index = grid.model()->index(row, column);
        grid.setCurrentIndex(index);
        grid.edit(index);
        // A closed editor lingers until it is deleted later; the open one is the visible one.
        for (QLineEdit* e : grid.viewport()->findChildren<QLineEdit*>())
            if (e->isVisible())
                return e;
        return nullptr;
    }


    static int columnOf(dbw::DBGrid& grid, const QString& field)
    {
        return grid.gridModel()->columnOf(grid.dataset()->field(field));
    }

private slots:
    void initTestCase() { text::applyProgramFormats(); }

    void init()
    {
        start();
    }

    void cleanup()
    {
        stop();
    }

    void navigatorEnablesWhatIsPossible()
    {
        DBNavigator nav;
        nav.setDataSource(&dm->ds_pal);
        for (int b = 0; b < DBNavigator::buttonCount; ++b)
            QVERIFY(!nav.button(DBNavigator::Button(b))->isEnabled());
        const QStringList hints{"Pierwszy", "Poprzedni", "Następny", "Ostatni", "Dodaj", "Usuń", "Popraw",
                                "Akceptuj", "Anuluj zmiany", "Odśwież dane"};
        for (int b = 0; b < DBNavigator::buttonCount; ++b)
            QCOMPARE(nav.button(DBNavigator::Button(b))->toolTip(), hints[b]);

        dm->ibds_pal.open();
        auto enabled = [&](DBNavigator::Button b) { return nav.button(b)->isEnabled(); };
        QVERIFY(!enabled(DBNavigator::First) && !enabled(DBNavigator::Prior));
        QVERIFY(enabled(DBNavigator::Next) && enabled(DBNavigator::Last));
        QVERIFY(enabled(DBNavigator::Insert) && enabled(DBNavigator::Delete) && enabled(DBNavigator::Edit));
        QVERIFY(!enabled(DBNavigator::Post) && !enabled(DBNavigator::Cancel));
        nav.button(DBNavigator::Last)->click();
        QCOMPARE(dm->ibds_pal.recNo(), 5);
        QVERIFY(enabled(DBNavigator::First) && enabled(DBNavigator::Prior));
        QVERIFY(!enabled(DBNavigator::Next) && !enabled(DBNavigator::Last));
        nav.button(DBNavigator::Prior)->click();
        QCOMPARE(dm->ibds_pal.recNo(), 4);
        QVERIFY(enabled(DBNavigator::Next));

        nav.button(DBNavigator::Edit)->click();
        QVERIFY(enabled(DBNavigator::Post) && enabled(DBNavigator::Cancel) && !enabled(DBNavigator::Edit));
        nav.button(DBNavigator::Cancel)->click();
        QVERIFY(!enabled(DBNavigator::Post));

        // A new row gets its number at once; an empty required field stops the post.
        nav.button(DBNavigator::Insert)->click();
        QCOMPARE(dm->ibds_pal.fieldByName(QStringLiteral("NR")).asInteger(), 7);
        dm->ibds_pal.fieldByName(QStringLiteral("NAZWA")).setValue(QStringLiteral("wodór"));
        nav.button(DBNavigator::Post)->click();
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NR = 7")), 1);

        // Deleting asks first; "Nie" keeps the row.
        answer = desktop::Answer::No;
        nav.button(DBNavigator::Delete)->click();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, desktop::MessageKind::Question);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NR = 7")), 1);
        answer = desktop::Answer::Yes;
        nav.button(DBNavigator::Delete)->click();
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NR = 7")), 0);

        dm->IBDS_siln.open();
        nav.setDataSource(&dm->ds_siln);
        nav.button(DBNavigator::Insert)->click();
        try {
            nav.click(DBNavigator::Post);
            QFAIL("a vehicle type without a name was posted");
        } catch (const ds::Error& e) {
            QCOMPARE(e.message(), QStringLiteral("Field 'NAZWA' must have a value"));
        }
        QVERIFY(nav.button(DBNavigator::Post)->isEnabled());
    }

    void gridEditsInPlaceAndPostsOnRowChange()
    {
        dm->ibds_pal.open();
        dbw::DBGrid grid;
        grid.setDataSource(&dm->ds_pal);
        grid.show();
        QCOMPARE(grid.model()->rowCount(), 6);
        QCOMPARE(grid.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("PRZEL. L->KG"));
        QCOMPARE(grid.model()->index(0, 2).data().toString(), QStringLiteral("0,755"));

        const int name = columnOf(grid, QStringLiteral("NAZWA"));
        QLineEdit* editor = openEditor(grid, 1, name);
        QVERIFY(editor);
        QCOMPARE(editor->maxLength(), 30);
        editor->selectAll();
        typeText(editor, QStringLiteral("gaz płynny"));
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Edit); // typing begins the row's edit
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the view commits an editor's data when Enter's event is over
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Edit);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NAZWA = 'gaz płynny'")), 0);

        grid.setCurrentIndex(grid.model()->index(3, name)); // another row: the change is posted
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Browse);
        QCOMPARE(dm->ibds_pal.recNo(), 3);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NR = 2 and NAZWA = 'gaz płynny'")), 1);

        // The dataset moving moves the grid's current row.
        dm->ibds_pal.first();
        QCOMPARE(grid.currentIndex().row(), 0);

        // Text typed into a cell and a new row asked for at once (the navigator's "+"): the
        // text is posted first.
        editor = openEditor(grid, 4, name);
        editor->selectAll();
        typeText(editor, QStringLiteral("biopaliwo"));
        dm->ibds_pal.insert();
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Insert);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NAZWA = 'biopaliwo'")), 1);
        dm->ibds_pal.cancel();

        // Text typed and then cancelled goes with the row: it never reaches the next one.
        const int factor = columnOf(grid, QStringLiteral("PRZEL_L_KG"));
        editor = openEditor(grid, 2, factor);
        editor->selectAll();
        typeText(editor, QStringLiteral("abc"));
        dm->ibds_pal.cancel();
        QVERIFY(!editor->isVisible());
        dm->ibds_pal.insert();
        QCoreApplication::processEvents();
        QVERIFY(shown.isEmpty());
        QVERIFY(dm->ibds_pal.fieldByName(QStringLiteral("PRZEL_L_KG")).isNull());
        dm->ibds_pal.cancel();

        // A bad number is refused with a message; the row stays as it was.
        editor = openEditor(grid, 0, factor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("abc"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, desktop::MessageKind::Error);
        QCOMPARE(dm->ibds_pal.fieldByName(QStringLiteral("PRZEL_L_KG")).asMoney().units(), 7550);
    }

    void gridAddsAndDeletesRows()
    {
        dm->ibds_pal.open();
        dbw::DBGrid grid;
        grid.setDataSource(&dm->ds_pal);
        grid.show();
        grid.setFocus();
        grid.setCurrentIndex(grid.model()->index(5, 1));
        // Down on the last row starts a new row; leaving it unchanged drops it.
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Insert);
        QCOMPARE(grid.model()->rowCount(), 7);
        QCOMPARE(grid.currentIndex().row(), 6);
        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Browse);
        QCOMPARE(grid.model()->rowCount(), 6);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA")), 6);

        // Insert, type a name, Escape cancels the new row.
        QTest::keyClick(&grid, Qt::Key_Insert);
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Insert);
        QTest::keyClick(&grid, Qt::Key_Escape);
        QCOMPARE(grid.model()->rowCount(), 6);

        // Ctrl+Delete asks; a fuel still in use is refused by the database, the row stays.
        answer = desktop::Answer::No;
        QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Czy usunąć bieżący wiersz?"));
        QCOMPARE(grid.model()->rowCount(), 6);
        answer = desktop::Answer::Yes;
        QVERIFY_THROWS_EXCEPTION(std::exception, grid.deleteCurrentRow());
        QCOMPARE(grid.model()->rowCount(), 6);
    }

    void gridLookupColumnsOfferTheLookupValues()
    {
        dm->ibds_pal.open();
        dm->IBQ_siln1.open();
        dm->IBDS_opl.open();
        dbw::DBGrid grid;
        grid.setDataSource(&dm->ds_opl);
        grid.setColumns({dbw::GridColumn{QStringLiteral("ROK"), {}}, dbw::GridColumn{QStringLiteral("NR_SILN"), {}},
                         dbw::GridColumn{QStringLiteral("nazpal"), QStringLiteral("Rodzaj paliwa")},
                         dbw::GridColumn{QStringLiteral("OPL_ZA_TONE"), {}}});
        grid.show();
        QCOMPARE(grid.model()->columnCount(), 4);
        QCOMPARE(grid.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Rodzaj paliwa"));
        const QModelIndex cell = grid.model()->index(0, 2);
        grid.setCurrentIndex(cell);
        grid.edit(cell);
        auto* combo = grid.viewport()->findChild<QComboBox*>();
        QVERIFY(combo);
        QCOMPARE(combo->count(), 6);
        QCOMPARE(combo->itemText(4), QStringLiteral("olej napędowy"));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_End);
        QCOMPARE(combo->currentIndex(), 5);
        QTest::keyClick(combo, Qt::Key_Home);
        QCOMPARE(combo->currentIndex(), 0);
    }

    void gridSortsByTitleAndSumsInTheFooter()
    {
        dm->ibds_pal.open();
        dbw::DBGrid grid;
        grid.setDataSource(&dm->ds_pal);
        grid.setRowSelect(true);
        grid.setMultiSelect(true);
        grid.setTitleSorting(true);
        grid.setFooter(2, [&grid](const QString& field) {
            if (field != QLatin1String("PRZEL_L_KG"))
                return dbw::FooterCell{};
            return dbw::FooterCell{{text::formatNumber(grid.columnSum(field, false), 4),
                                    text::formatNumber(grid.columnSum(field, true), 4)},
                                   true, QStringLiteral("Razem|Razem zaznaczone")};
        });
        grid.show();
        QCOMPARE(grid.footerCell(QStringLiteral("PRZEL_L_KG")).lines.first(), QStringLiteral("4,4150"));

        const int name = columnOf(grid, QStringLiteral("NAZWA"));
        grid.horizontalHeader()->sectionClicked(name);
        QCOMPARE(dm->ibds_pal.fieldByName(QStringLiteral("NAZWA")).valueAt(0).toString(), QStringLiteral("benzyna silnikowa"));
        QVERIFY(grid.model()->headerData(name, Qt::Horizontal).toString().endsWith(QStringLiteral("▲")));
        grid.horizontalHeader()->sectionClicked(name);
        QCOMPARE(dm->ibds_pal.fieldByName(QStringLiteral("NAZWA")).valueAt(0).toString(), QStringLiteral("olej napędowy"));

        grid.selectionModel()->select(QItemSelection(grid.model()->index(0, 0), grid.model()->index(1, 2)),
                                      QItemSelectionModel::ClearAndSelect);
        QCOMPARE(grid.selectedRows(), (QList<int>{0, 1}));
        QCOMPARE(grid.columnSum(QStringLiteral("PRZEL_L_KG"), true), 0.84 + 0.5); // olej napędowy, gaz płynny
        QCOMPARE(grid.footerCell(QStringLiteral("PRZEL_L_KG")).lines.last(), QStringLiteral("1,3400"));

        // A total wider than its column widens the column instead of losing its leading digits.
        const int factor = columnOf(grid, QStringLiteral("PRZEL_L_KG"));
        grid.horizontalHeader()->resizeSection(factor, 20);
        grid.selectAll();
        const QString total = grid.footerCell(QStringLiteral("PRZEL_L_KG")).lines.last();
        QCOMPARE(total, QStringLiteral("4,4150"));
        QFont bold = grid.font();
        bold.setBold(true);
        QTRY_VERIFY(grid.horizontalHeader()->sectionSize(factor) > QFontMetrics(bold).horizontalAdvance(total) + 6);

        // A column that widens to its content shows its longest value whole; another keeps its width.
        dbw::GridColumn fuel{QStringLiteral("NAZWA"), {}, 30};
        fuel.widenToContent = true;
        grid.setColumns({fuel, dbw::GridColumn{QStringLiteral("NR"), {}, 30}});
        QVERIFY(grid.columnWidth(0) > grid.fontMetrics().horizontalAdvance(QStringLiteral("CNG silnik przebudowany (m3)")));
        QCOMPARE(grid.columnWidth(1), 30);
        // A longer value saved in a row widens it too; the rows are not measured all again.
        const QString longer = QStringLiteral("olej napędowy ekologiczny WWWW");
        dm->ibds_pal.edit();
        dm->ibds_pal.fieldByName(QStringLiteral("NAZWA")).setValue(longer);
        dm->ibds_pal.post();
        QVERIFY(grid.columnWidth(0) > grid.fontMetrics().horizontalAdvance(longer));

        // The footer stays under the rows when the grid is too narrow for its columns.
        grid.setColumns({});
        grid.resize(120, 200);
        QCoreApplication::processEvents();
        QVERIFY(grid.horizontalScrollBar()->isVisible());
        const QRect footer = grid.findChild<QWidget*>(QStringLiteral("footer"))->geometry();
        QCOMPARE(footer.top(), grid.viewport()->geometry().bottom() + 1);
        QVERIFY(grid.rect().contains(footer));

        // The chosen row stays marked when the grid loses the focus.
        QCOMPARE(grid.palette().color(QPalette::Inactive, QPalette::Highlight),
                 grid.palette().color(QPalette::Active, QPalette::Highlight));
    }

    void gridEllipsisButton()
    {
        dm->IBQ_pod.open();
        dm->IBDS_sam.open();
        dbw::DBGrid grid;
        grid.setDataSource(&dm->DS_sam);
        dbw::GridColumn start{QStringLiteral("D_ROZP_U"), {}};
        start.ellipsis = true;
        grid.setColumns({dbw::GridColumn{QStringLiteral("NR_REJ"), {}}, start});
        grid.show();
        QSignalSpy pressed(&grid, &dbw::DBGrid::editButtonClicked);
        grid.setCurrentIndex(grid.model()->index(0, 1));
        QTest::keyClick(&grid, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(pressed.count(), 0); // no rows: no current cell
        dm->IBDS_sam.close();
        fb::Statement(dm->db_opl, dm->tr_opl, QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '1', 'A')")).execute();
        fb::Statement(dm->db_opl, dm->tr_opl, QStringLiteral("insert into SAM values ('WA1', 1, 5, 1, '2024-03-15', null)")).execute();
        dm->IBQ_pod.close();
        dm->IBQ_pod.open();
        dm->IBDS_sam.open();
        grid.setCurrentIndex(grid.model()->index(0, 1));
        QTest::keyClick(&grid, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(grid.currentField()->name(), QStringLiteral("D_ROZP_U"));
        QCOMPARE(grid.model()->index(0, 1).data().toString(), QStringLiteral("15-03-2024"));
    }

    void recordWidgetsEditTheCurrentRow()
    {
        dm->ibds_pal.open();
        dbw::DBEdit edit;
        edit.setDataSource(&dm->ds_pal);
        edit.setFieldName(QStringLiteral("NAZWA"));
        dbw::DBText label;
        label.setDataSource(&dm->ds_pal);
        label.setFieldName(QStringLiteral("PRZEL_L_KG"));
        edit.show();
        QCOMPARE(edit.text(), QStringLiteral("benzyna silnikowa"));
        QCOMPARE(edit.maxLength(), 30);
        QCOMPARE(label.text(), QStringLiteral("0,755"));

        edit.setFocus();
        edit.selectAll();
        QTest::keyClicks(&edit, QStringLiteral("benzyna"));
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Edit);
        QTest::keyClick(&edit, Qt::Key_Escape);
        QCOMPARE(edit.text(), QStringLiteral("benzyna silnikowa"));

        edit.selectAll();
        QTest::keyClicks(&edit, QStringLiteral("etylina"));
        dm->ibds_pal.post(); // the pending text goes in before the post
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NR = 1 and NAZWA = 'etylina'")), 1);
        dm->ibds_pal.next();
        QCOMPARE(edit.text(), QStringLiteral("gaz płynny propan-butan LPG"));
        QCOMPARE(label.text(), QStringLiteral("0,5"));

        dm->IBDS_podat.open();
        dbw::DBMemo memo;
        memo.setDataSource(&dm->DS_podat);
        memo.setFieldName(QStringLiteral("TEL"));
        memo.show();
        dm->IBDS_podat.append();
        memo.setFocus();
        QTest::keyClicks(&memo, QString(70, QLatin1Char('1')));
        QCOMPARE(memo.toPlainText().size(), 65);
        QVERIFY(memo.isModified());
    }

    void typedTextNeverReachesAnotherRow()
    {
        dm->ibds_pal.open();
        dbw::DBEdit edit;
        edit.setDataSource(&dm->ds_pal);
        edit.setFieldName(QStringLiteral("NAZWA"));
        DBNavigator nav;
        nav.setDataSource(&dm->ds_pal);
        edit.show();
        edit.setFocus();
        edit.selectAll();
        typeText(&edit, QStringLiteral("ZZZ"));
        nav.button(DBNavigator::Cancel)->click(); // the navigator takes no focus from the edit
        QCOMPARE(edit.text(), QStringLiteral("benzyna silnikowa"));
        nav.button(DBNavigator::Next)->click();
        QCOMPARE(edit.text(), QStringLiteral("gaz płynny propan-butan LPG"));
        nav.button(DBNavigator::Edit)->click();
        nav.button(DBNavigator::Post)->click();
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NAZWA = 'ZZZ'")), 0);

        // Text still in an open grid cell goes in whichever navigator button is clicked.
        dbw::DBGrid grid;
        grid.setDataSource(&dm->ds_pal);
        grid.show();
        const QList<QPair<DBNavigator::Button, QString>> clicks{{DBNavigator::Post, QStringLiteral("0,7771")},
                                                                 {DBNavigator::Prior, QStringLiteral("0,7772")},
                                                                 {DBNavigator::Last, QStringLiteral("0,7773")},
                                                                 {DBNavigator::Refresh, QStringLiteral("0,7774")},
                                                                 {DBNavigator::Insert, QStringLiteral("0,7775")}};
        for (const auto& [button, typed] : clicks) {
            dm->ibds_pal.cancel();
            dm->ibds_pal.locate(QStringLiteral("NR"), 2);
            dm->ibds_pal.edit();
            QLineEdit* editor = openEditor(grid, 1, columnOf(grid, QStringLiteral("PRZEL_L_KG")));
            QVERIFY(editor);
            editor->selectAll();
            typeText(editor, typed);
            nav.button(button)->click();
            QCOMPARE(count(QStringLiteral("select cast(PRZEL_L_KG * 10000 as integer) from RODZ_PALIWA where NR = 2")),
                     QString(typed).remove(QStringLiteral("0,")).toInt());
        }
    }

    void aDetailRowThatCannotBePostedKeepsTheMasterInPlace()
    {
        exec(QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '1', 'A')"));
        exec(QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (2, '2', 'B')"));
        dm->IBQ_pod.open();
        dm->IBDS_sam.open();
        dbw::DBGrid taxpayers;
        taxpayers.setDataSource(&dm->DS_pod);
        taxpayers.show();
        dm->IBDS_sam.append(); // a vehicle of taxpayer 1 without its registration number
        dm->IBDS_sam.fieldByName(QStringLiteral("D_ROZP_U")).setValue(QDate(2024, 1, 1));
        taxpayers.setCurrentIndex(taxpayers.model()->index(1, 0));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Field 'Nr rejestracyjny' must have a value"));
        QCOMPARE(dm->IBQ_pod.recNo(), 0);
        QCOMPARE(taxpayers.currentIndex().row(), 0);
        QCOMPARE(dm->IBDS_sam.state(), ds::DatasetState::Insert);
        QCOMPARE(dm->IBDS_sam.fieldByName(QStringLiteral("NR_POD")).asInteger(), 1);

        // A closed master leaves its details without rows.
        dm->IBDS_sam.cancel();
        dm->IBQ_pod.close();
        QVERIFY(dm->IBDS_sam.isActive());
        QCOMPARE(dm->IBDS_sam.recordCount(), 0);
    }

    void lookupListChoosesTheKey()
    {
        dm->ibds_pal.open();
        dm->IBDS_zak.open();
        dbw::DBLookupList list;
        list.setDataSource(&dm->DS_zak);
        list.setFieldName(QStringLiteral("nazpal"));
        list.show();
        QCOMPARE(list.count(), 6);
        QCOMPARE(list.currentRow(), -1);
        list.setCurrentRow(4);
        QCOMPARE(dm->IBDS_zak.state(), ds::DatasetState::Insert); // an empty dataset starts a row
        QCOMPARE(dm->IBDS_zak.fieldByName(QStringLiteral("NR_RODZ_PAL")).asInteger(), 5);
        QCOMPARE(dm->ibds_pal.recNo(), 4);

        QTest::keyClick(&list, Qt::Key_End);
        QCOMPARE(dm->IBDS_zak.fieldByName(QStringLiteral("NR_RODZ_PAL")).asInteger(), 6);
        QTest::keyClick(&list, Qt::Key_Home);
        QCOMPARE(dm->IBDS_zak.fieldByName(QStringLiteral("NR_RODZ_PAL")).asInteger(), 1);
        list.setCurrentRow(4);

        list.setReadOnly(true);
        list.setCurrentRow(0);
        QCOMPARE(dm->IBDS_zak.fieldByName(QStringLiteral("NR_RODZ_PAL")).asInteger(), 5);
        QCOMPARE(list.currentRow(), 4);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
        QCOMPARE(list.selectedItems(), QList<QListWidgetItem*>{list.item(4)});
        QCOMPARE(list.currentRow(), 4);
    }
};

TEST_MAIN(QApplication, TestDbWidgets)
#include "test_dbwidgets.moc"
