#include <QFile>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>

#include "dataset/error.h"
#include "dbwidgets/db_navigator.h"
#include "desktop/help_context.h"
#include "desktop/help_system.h"
#include "desktop/messages.h"
#include "screen_testing.h"
#include "tables/pal.h"
#include "tables/par.h"
#include "tables/siln.h"
#include "tables/tables_help.h"
#include "module_fixture.h"
#include "text/formats.h"
#include <QApplication>
#include "test_main.h"

using dbw::DBNavigator;
using namespace screentest;

class TestReferenceScreens : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    std::unique_ptr<QWidget> mainWindow;
    QList<int> helpAsked;

    // Which of the ten buttons are enabled, "1" or "0" each, from First to Refresh.
    static QString enabledButtons(DBNavigator* nav)
    {
        QString s;
        for (int b = 0; b < DBNavigator::buttonCount; ++b)
            s += nav->button(DBNavigator::Button(b))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }

    static void verifyTitleBar(QWidget* screen)
    {
        const Qt::WindowFlags flags = screen->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    }

    static void verifyCentredOn(QWidget* screen, const QRect& area)
    {
        const QPoint offset = screen->frameGeometry().center() - area.center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("off by %1,%2").arg(offset.x()).arg(offset.y())));
    }

    void verifyHelpKey(QWidget* target, int context)
    {
        helpAsked.clear();
        QTest::keyClick(target, Qt::Key_F1);
        QCOMPARE(helpAsked, QList<int>{context});
    }

private slots:
    void initTestCase()
    {
        text::applyProgramFormats();
        registerTablesHelp();
        desktop::HelpSystem::installHelpKey();
        desktop::HelpSystem::setHandler([this](int context) { helpAsked << context; });
    }

    void init()
    {
        start();
        // A main window higher than the middle of the screen, so that the two placements differ.
        mainWindow = std::make_unique<QWidget>();
        mainWindow->setGeometry(40, 0, 720, 640);
        mainWindow->show();
    }

    void cleanup()
    {
        mainWindow.reset();
        stop();
    }

    void helpPagesAreRegistered()
    {
        const QList<QPair<int, QString>> expected{{4, QStringLiteral("Rodzaje paliw")},
                                                  {5, QStringLiteral("Rodzaje pojazdów")},
                                                  {6, QStringLiteral("Stawki opłat")},
                                                  {7, QStringLiteral("Wskaźniki")}};
        const auto topics = desktop::HelpSystem::topics();
        for (const auto& [context, title] : expected) {
            auto topic = std::find_if(topics.begin(), topics.end(), [&](const auto& t) { return t.context == context; });
            QVERIFY(topic != topics.end());
            QCOMPARE(topic->title, title);
            QFile page(QLatin1Char(':') + topic->source.path());
            QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(topic->source.toString()));
            const QString html = QString::fromUtf8(page.readAll());
            QVERIFY(html.contains(QStringLiteral("<h2>")));
            QVERIFY(html.contains(QStringLiteral("Ctrl+Delete")));
            QVERIFY(html.contains(QStringLiteral("Insert")));
        }
    }

    void fuelScreen()
    {
        Tf_pal screen(*dm, mainWindow.get());
        QVERIFY(!dm->ibds_pal.isActive());
        screen.show();
        QVERIFY(dm->ibds_pal.isActive());
        QCOMPARE(screen.windowTitle(), QStringLiteral("Rodzaje paliw"));
        verifyTitleBar(&screen);
        verifyCentredOn(&screen, screen.screen()->availableGeometry());
        QCOMPARE(desktop::helpContext(&screen), 4);

        auto* nav = screen.findChild<DBNavigator*>(QStringLiteral("DBNavigator"));
        auto* grid = screen.findChild<dbw::DBGrid*>(QStringLiteral("DBGrid1"));
        QVERIFY(nav && grid);
        verifyHelpKey(grid, 4);
        QCOMPARE(nav->toolTip(), QStringLiteral("Nawigowanie po danych"));
        QCOMPARE(nav->dataSource(), &dm->ds_pal);
        QVERIFY(nav->geometry().bottom() < grid->geometry().top());
        QCOMPARE(enabledButtons(nav), QStringLiteral("0011111001"));

        QCOMPARE(titles(grid), (QStringList{"NR", "NAZWA", "PRZEL. L->KG"}));
        QVERIFY(grid->horizontalHeader()->font().bold());
        QCOMPARE(grid->model()->rowCount(), 6);
        QCOMPARE(cellText(grid, 0, QStringLiteral("PRZEL_L_KG")), QStringLiteral("0,755"));

        // A factor of four decimals is kept in full and shown with three; the row is posted
        // when the grid moves to another row.
        enterCell(grid, 0, QStringLiteral("PRZEL_L_KG"), QStringLiteral("0,7456"));
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Edit);
        QCOMPARE(enabledButtons(nav), QStringLiteral("0011110111"));
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where PRZEL_L_KG = 0.7456")), 0);
        grid->setCurrentIndex(grid->model()->index(1, 0));
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Browse);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NR = 1 and PRZEL_L_KG = 0.7456")), 1);
        QCOMPARE(cellText(grid, 0, QStringLiteral("PRZEL_L_KG")), QStringLiteral("0,746"));
        QCOMPARE(enabledButtons(nav), QStringLiteral("1111111001"));
        QTest::keyClick(grid, Qt::Key_Tab); // Tab goes to the next cell
        QCOMPARE(grid->currentIndex(), grid->model()->index(1, 1));

        // Insert starts a row whose number comes from the generator at once.
        grid->setCurrentIndex(grid->model()->index(5, 1));
        QTest::keyClick(grid, Qt::Key_Insert);
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Insert);
        const int newRow = dm->ibds_pal.recNo();
        QCOMPARE(cellText(grid, newRow, QStringLiteral("NR")), QStringLiteral("7"));
        enterCell(grid, newRow, QStringLiteral("NAZWA"), QStringLiteral("wodór"));
        nav->click(DBNavigator::Post);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NR = 7 and NAZWA = 'wodór'")), 1);

        // Deleting asks first; the question does not close the screen.
        answer = desktop::Answer::No;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, desktop::MessageKind::Question);
        QCOMPARE(shown[0].text, QStringLiteral("Czy usunąć bieżący wiersz?"));
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NR = 7")), 1);
        answer = desktop::Answer::Yes;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NR = 7")), 0);
        QVERIFY(screen.isVisible());
        QVERIFY(dm->ibds_pal.isActive());

        // Escape cancels an edit and does not close the screen then.
        QTest::keyClick(grid, Qt::Key_Insert);
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Insert);
        QTest::keyClick(grid, Qt::Key_Escape);
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Browse);
        QVERIFY(screen.isVisible());

        // A complete new row still unposted when the screen closes is posted, without a message.
        QTest::keyClick(grid, Qt::Key_Insert);
        enterCell(grid, dm->ibds_pal.recNo(), QStringLiteral("NAZWA"), QStringLiteral("biogaz"));
        QCOMPARE(dm->ibds_pal.state(), ds::DatasetState::Insert);
        const int messages = shown.size();
        screen.close();
        QVERIFY(!screen.isVisible());
        QVERIFY(!dm->ibds_pal.isActive());
        QCOMPARE(shown.size(), messages);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_PALIWA where NAZWA = 'biogaz'")), 1);

        // A screen freed while open closes its dataset too.
        {
            Tf_pal other(*dm, mainWindow.get());
            other.show();
            QVERIFY(dm->ibds_pal.isActive());
        }
        QVERIFY(!dm->ibds_pal.isActive());
    }

    void vehicleTypeScreen()
    {
        Tf_siln screen(*dm, mainWindow.get());
        QVERIFY(!dm->IBDS_siln.isActive());
        screen.show();
        QVERIFY(dm->IBDS_siln.isActive());
        QCOMPARE(screen.windowTitle(), QStringLiteral("Rodzaje pojazdów"));
        verifyTitleBar(&screen);
        verifyCentredOn(&screen, mainWindow->frameGeometry());
        QCOMPARE(desktop::helpContext(&screen), 5);

        auto* nav = screen.findChild<DBNavigator*>(QStringLiteral("DBNav_siln"));
        auto* grid = screen.findChild<dbw::DBGrid*>(QStringLiteral("DBG_siln"));
        QVERIFY(nav && grid);
        verifyHelpKey(grid, 5);
        QCOMPARE(nav->toolTip(), QStringLiteral("Nawigowanie po danych"));
        QCOMPARE(nav->dataSource(), &dm->ds_siln);
        QCOMPARE(enabledButtons(nav), QStringLiteral("0011111001"));

        QCOMPARE(titles(grid), (QStringList{"NR", "NAZWA"}));
        // The larger font of the rows still fits them.
        QVERIFY(grid->verticalHeader()->defaultSectionSize() > QFontMetrics(grid->font()).height());
        QCOMPARE(grid->model()->rowCount(), 44);

        // A new type takes its number from the generator; it cannot be posted without a name.
        nav->click(DBNavigator::Insert);
        const int newRow = dm->IBDS_siln.recNo();
        QCOMPARE(cellText(grid, newRow, QStringLiteral("NR")), QStringLiteral("45"));
        try {
            nav->click(DBNavigator::Post);
            QFAIL("a vehicle type without a name was posted");
        } catch (const ds::Error& e) {
            QCOMPARE(e.message(), QStringLiteral("Field 'NAZWA' must have a value"));
        }
        QCOMPARE(dm->IBDS_siln.state(), ds::DatasetState::Insert);
        enterCell(grid, newRow, QStringLiteral("NAZWA"), QStringLiteral("Hulajnogi spalinowe"));
        nav->click(DBNavigator::Post);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_SILNIKA where NR = 45 and NAZWA = 'Hulajnogi spalinowe'")), 1);

        // A name changed in place is posted when another row becomes current.
        QVERIFY(dm->IBDS_siln.locate(QStringLiteral("NR"), 1));
        const int first = dm->IBDS_siln.recNo();
        enterCell(grid, first, QStringLiteral("NAZWA"), QStringLiteral("Osobowe, do 1992"));
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_SILNIKA where NAZWA = 'Osobowe, do 1992'")), 0);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(dm->IBDS_siln.recNo(), first + 1);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_SILNIKA where NR = 1 and NAZWA = 'Osobowe, do 1992'")), 1);

        // Closing with a name still in the cell editor of a new row posts the row with it; a
        // new row left untouched goes without a word.
        QTest::keyClick(grid, Qt::Key_Insert);
        auto* editor = qobject_cast<QLineEdit*>(openEditor(grid, dm->IBDS_siln.recNo(), QStringLiteral("NAZWA")));
        QVERIFY(editor);
        typeText(editor, QStringLiteral("Rowery"));
        const int messages = shown.size();
        screen.close();
        QCoreApplication::processEvents();
        QVERIFY(!dm->IBDS_siln.isActive());
        QCOMPARE(shown.size(), messages);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_SILNIKA where NAZWA = 'Rowery'")), 1);

        Tf_siln again(*dm);
        again.show();
        QTest::keyClick(again.findChild<dbw::DBGrid*>(QStringLiteral("DBG_siln")), Qt::Key_Insert);
        QCOMPARE(dm->IBDS_siln.state(), ds::DatasetState::Insert);
        again.close();
        QVERIFY(!dm->IBDS_siln.isActive());
        QCOMPARE(shown.size(), messages);
        QCOMPARE(count(QStringLiteral("select count(*) from RODZ_SILNIKA")), 46);
    }

    void yearlyParameterScreen()
    {
        Tf_par screen(*dm, mainWindow.get());
        QVERIFY(!dm->IBT_param.isActive());
        screen.show();
        QVERIFY(dm->IBT_param.isActive());
        QCOMPARE(screen.windowTitle(),
                 QStringLiteral("Dane do ustalenia kwoty, powyżej której wnosi się opłaty za korzystanie ze środowiska "));
        verifyTitleBar(&screen);
        verifyCentredOn(&screen, mainWindow->frameGeometry());
        QCOMPARE(desktop::helpContext(&screen), 7);

        auto* memo = screen.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        auto* nav = screen.findChild<DBNavigator*>(QStringLiteral("DBNavigator1"));
        auto* grid = screen.findChild<dbw::DBGrid*>(QStringLiteral("DBGrid1"));
        QVERIFY(memo && nav && grid);
        verifyHelpKey(grid, 7);
        QCOMPARE(nav->dataSource(), &dm->DS_param);

        // The note above the navigator, line by line, blanks included.
        const QStringList note{
            "      Zasady obowiązujące do 30.06.2005. Nie wnosi się opłat z tytułu tych rodzajów korzystania ze środowiska,",
            "których kwartalna wysokość nie przekracza 25% najniższego wynagrodzenia za pracę pracowników obowiązującego",
            "w dniu 30 września roku poprzedniego. Sejmik województwa może uchwalić podwyższenie wskaźnika procentowego,",
            "jednak nie więcej niż do 50%.",
            "",
            "       Zasady obowiązujące od lipca 2005. Nie wnosi się opłat jeżeli ich wysokość za półrocze nie przekracza 400 zł. ",
            "Aby nie zmieniać zakresu pól w tabeli paramatry od 2005 r. w polu płaca minimalna należy wpisać 800 zł, a wskaźnik 50%.",
            "",
            "       Zasady obowiązujące od 2013. Nie wnosi się opłat jeżeli ich wysokość nie przekracza 800 zł rocznie.",
            "Aby nie zmieniać zakresu pól w tabeli paramatry od 2013 r. w polu płaca minimalna należy wpisać 1600 zł, a wskaźnik 50%."};
        QCOMPARE(memo->toPlainText().split(QLatin1Char('\n')), note);
        QVERIFY(memo->isReadOnly());
        QVERIFY(!(memo->focusPolicy() & Qt::TabFocus));
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(memo->geometry().bottom() < nav->geometry().top());
        QVERIFY(nav->geometry().bottom() < grid->geometry().top());
        // The grid takes the left part of the window.
        QVERIFY(grid->geometry().left() < 10);
        QVERIFY(grid->geometry().right() < screen.width() / 2 + 10);
        QCOMPARE(enabledButtons(nav), QStringLiteral("0011111001"));

        QCOMPARE(titles(grid), (QStringList{"ROK", "Płaca minimalna", "Wskaźnik procentowy"}));
        QCOMPARE(grid->model()->rowCount(), 22);
        const int row2024 = 2024 - 2006;
        QCOMPARE(cellText(grid, row2024, QStringLiteral("ROK")), QStringLiteral("2024"));
        QCOMPARE(cellText(grid, row2024, QStringLiteral("PLAC_MIN")), QStringLiteral("1.600,00 zł"));

        // The percentage: 25 and 50 are taken, 24,99 and 50,01 refused with the data
        // layer's message, the value staying as it was.
        enterCell(grid, row2024, QStringLiteral("WSK_PROC"), QStringLiteral("25"));
        grid->setCurrentIndex(grid->model()->index(row2024 - 1, 0));
        QCOMPARE(count(QStringLiteral("select count(*) from PARAM where ROK = 2024 and WSK_PROC = 25")), 1);
        enterCell(grid, row2024, QStringLiteral("WSK_PROC"), QStringLiteral("50"));
        grid->setCurrentIndex(grid->model()->index(row2024 - 1, 0));
        QCOMPARE(count(QStringLiteral("select count(*) from PARAM where ROK = 2024 and WSK_PROC = 50")), 1);
        QVERIFY(shown.isEmpty());
        for (const QString& refused : {QStringLiteral("24,99"), QStringLiteral("50,01")}) {
            shown.clear();
            enterCell(grid, row2024, QStringLiteral("WSK_PROC"), refused);
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].kind, desktop::MessageKind::Error);
            QCOMPARE(shown[0].text, refused + QStringLiteral(" is not a valid value for field 'Wskaźnik procentowy'. "
                                                             "The allowed range is 25 to 50"));
            QCOMPARE(dm->IBT_param.fieldByName(QStringLiteral("WSK_PROC")).asMoney().units(), 500000);
            grid->setCurrentIndex(grid->model()->index(row2024 - 1, 0));
        }
        QCOMPARE(count(QStringLiteral("select count(*) from PARAM where ROK = 2024 and WSK_PROC = 50")), 1);

        // The minimum wage is typed with thousands marks.
        enterCell(grid, row2024, QStringLiteral("PLAC_MIN"), QStringLiteral("1.700,50"));
        grid->setCurrentIndex(grid->model()->index(row2024 - 1, 0));
        QCOMPARE(count(QStringLiteral("select count(*) from PARAM where ROK = 2024 and PLAC_MIN = 1700.5")), 1);
        QCOMPARE(cellText(grid, row2024, QStringLiteral("PLAC_MIN")), QStringLiteral("1.700,50 zł"));

        screen.close();
        QVERIFY(!dm->IBT_param.isActive());
    }
};

TEST_MAIN(QApplication, TestReferenceScreens)
#include "test_reference_screens.moc"
