#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTextCharFormat>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "data/dm1.h"
#include "data/refusals.h"
#include "dataset/error.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/db_navigator.h"
#include "dbwidgets/grid_delegate.h"
#include "dbwidgets/grid_model.h"
#include "desktop/help_context.h"
#include "desktop/help_system.h"
#include "desktop/messages.h"
#include "firebird/error.h"
#include "register_rows.h"
#include "registers/delete_refusal.h"
#include "registers/pobdaty.h"
#include "registers/sam.h"
#include "module_fixture.h"
#include "text/formats.h"
#include "widget_testing.h"
#include "test_main.h"

using dbw::DBNavigator;

class TestSam : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    std::unique_ptr<Tf_sam> screen;

    // What the date picker was given when it was shown, and how the test answers it.
    struct PickerSeen {
        QDate date;
        QDate earliest;
        QPoint position;
        bool instanceSet = false;
    };
    QList<PickerSeen> pickers;
    QDate answerDate;
    int pickerAnswer = QDialog::Rejected;

    template <class T>
    T* child(const char* name) const
    {
        return testsupport::control<T>(screen.get(), name);
    }

    dbw::DBGrid* taxpayers() const { return child<dbw::DBGrid>("DBGrid1"); }
    dbw::DBGrid* vehicles() const { return child<dbw::DBGrid>("DBGrid2"); }

    static int columnOf(dbw::DBGrid* grid, const QString& field)
    {
        return grid->gridModel()->columnOf(grid->dataset()->field(field));
    }

    void chooseTaxpayer(int number)
    {
        dbw::DBGrid* grid = taxpayers();
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            if (grid->model()->index(row, 0).data().toInt() == number) {
                grid->setCurrentIndex(grid->model()->index(row, 0));
                return;
            }
        }
        QFAIL("taxpayer not listed");
    }

    QStringList registrationsShown() const
    {
        QStringList shownRows;
        const int column = columnOf(vehicles(), QStringLiteral("NR_REJ"));
        for (int row = 0; row < vehicles()->model()->rowCount(); ++row)
            shownRows << vehicles()->model()->index(row, column).data().toString();
        return shownRows;
    }

    void chooseVehicle(const QString& registration)
    {
        QVERIFY(dm->IBDS_sam.locate(QStringLiteral("NR_REJ"), registration));
    }

    // Presses the ellipsis of a date cell of the current vehicle with Ctrl+Enter.
    void pressDate(const QString& field)
    {
        dbw::DBGrid* grid = vehicles();
        grid->setCurrentIndex(grid->model()->index(dm->IBDS_sam.recNo(), columnOf(grid, field)));
        QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
    }

    QVariant stored(const QString& column, const QString& registration) const
    {
        return register_rows::scalar(*dm, QStringLiteral("select %1 from SAM where NR_REJ = '%2'").arg(column, registration));
    }

    void open(QWidget* owner = nullptr)
    {
        screen = std::make_unique<Tf_sam>(*dm, owner);
        f_sam = screen.get();
        screen->show();
    }

private slots:
    void initTestCase() { text::applyProgramFormats(); }

    void init()
    {
        start();
        using namespace register_rows;
        // Written out of number order: the screen lists them by number.
        addTaxpayer(*dm, 3, QStringLiteral("ABC"), QStringLiteral("Przedsiębiorstwo ABC"));
        addTaxpayer(*dm, 1, QStringLiteral("Zenit"), QStringLiteral("Zenit sp. z o.o."));
        addTaxpayer(*dm, 2, QStringLiteral("Kowalski"), QStringLiteral("Jan Kowalski"));
        addVehicle(*dm, QStringLiteral("WA 777"), 2, QDate(2020, 1, 2));
        addVehicle(*dm, QStringLiteral("PO 12345"), 2, QDate(2024, 3, 15));
        addVehicle(*dm, QStringLiteral("PO 00001"), 2, QDate(2019, 6, 1), QDate(2023, 12, 31));
        addVehicle(*dm, QStringLiteral("KR 1"), 3, QDate(2021, 5, 5));
        addVehicle(*dm, QStringLiteral("GD 5"), 1, QDate(2022, 2, 2));
        addPurchase(*dm, 1, QStringLiteral("PO 12345"), QDate(2024, 4, 1));

        pickers.clear();
        pickerAnswer = QDialog::Rejected;
        Tf_sam::setPickerRunner([this](Tf_pobdaty& picker) {
            pickers << PickerSeen{picker.date(), picker.earliestDate(), picker.pos(), f_pobdaty == &picker};
            if (answerDate.isValid())
                picker.setDate(answerDate);
            return pickerAnswer;
        });
    }

    void cleanup()
    {
        Tf_sam::setPickerRunner({});
        screen.reset();
        f_sam = nullptr;
        stop();
    }

    void screenAsOpened()
    {
        QWidget main;
        main.setGeometry(40, 30, 1100, 700);
        main.show();
        open(&main);
        QCOMPARE(screen->windowTitle(), QStringLiteral("Samochody"));
        const Qt::WindowFlags flags = screen->windowFlags();
        QVERIFY((flags & Qt::WindowCloseButtonHint) && (flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QCOMPARE(desktop::helpContext(screen.get()), 9);
        desktop::HelpSystem::installHelpKey();
        QList<int> helpAsked;
        desktop::HelpSystem::setHandler([&helpAsked](int context) { helpAsked << context; });
        QTest::keyClick(child<dbw::DBGrid>("DBGrid2"), Qt::Key_F1);
        desktop::HelpSystem::setHandler({});
        QCOMPARE(helpAsked, QList<int>{9});
        // As wide as the main window, from its left edge, centred on it vertically.
        QCOMPARE(screen->frameGeometry().left(), main.frameGeometry().left());
        QCOMPARE(screen->frameGeometry().width(), main.frameGeometry().width());
        QVERIFY(qAbs(screen->frameGeometry().center().y() - main.frameGeometry().center().y()) <= 1);

        QCOMPARE(child<QLabel>("e_podatnik")->text(), QStringLiteral("Podatnik"));
        QCOMPARE(child<QLabel>("e_samochody")->text(), QStringLiteral("Sa mo cho dy"));
        QVERIFY(child<QLabel>("e_samochody")->wordWrap());
        QCOMPARE(child<DBNavigator>("DBN_opl")->dataSource(), &dm->DS_sam);

        // The taxpayers by number, read-only, whole rows.
        dbw::DBGrid* upper = taxpayers();
        QCOMPARE(upper->model()->columnCount(), 2);
        QCOMPARE(upper->model()->headerData(0, Qt::Horizontal).toString().startsWith(QStringLiteral("Nr podatnika")), true);
        QCOMPARE(upper->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nazwa skrócona"));
        QVERIFY(upper->isGridReadOnly());
        QCOMPARE(upper->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(upper->model()->rowCount(), 3);
        for (int row = 0; row < 3; ++row)
            QCOMPARE(upper->model()->index(row, 0).data().toInt(), row + 1);

        // The vehicles' columns.
        dbw::DBGrid* lower = vehicles();
        const QStringList titles{"Nazwa skrócona", "Nr rejestracyjny", "Rodzaj silnika", "Rodzaj paliwa",
                                 "Data rozp. użytkow.", "Data zak. użytkow."};
        QCOMPARE(lower->model()->columnCount(), titles.size());
        for (int c = 0; c < titles.size(); ++c)
            QCOMPARE(lower->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        // A date column shows its whole title.
        QVERIFY(lower->columnWidth(4) >= lower->horizontalHeader()->fontMetrics().horizontalAdvance(titles[4]));
        QCOMPARE(lower->gridModel()->gridColumn(2)->dropDownRows, 10);
        QVERIFY(lower->gridModel()->gridColumn(4)->ellipsis && lower->gridModel()->gridColumn(5)->ellipsis);
        QVERIFY(lower->tabKeyNavigation());

        // Neither part of the splitter goes below 50 pixels.
        auto* splitter = child<QSplitter>("Splitter1");
        QCOMPARE(splitter->orientation(), Qt::Vertical);
        QVERIFY(!splitter->childrenCollapsible());
        splitter->setSizes({0, 10000});
        QVERIFY(splitter->sizes()[0] >= 50);
        splitter->setSizes({10000, 0});
        QVERIFY(splitter->sizes()[1] >= 50);

        // Opened: the taxpayers, the vehicles and their lookups; the names resolve.
        QVERIFY(dm->IBQ_pod.isActive() && dm->IBDS_sam.isActive());
        QVERIFY(dm->IBDS_podat.isActive() && dm->IBDS_siln.isActive() && dm->ibds_pal.isActive());
        QCOMPARE(registrationsShown(), QStringList{"GD 5"});
        QCOMPARE(lower->model()->index(0, 0).data().toString(), QStringLiteral("Zenit"));
        QVERIFY(!lower->model()->index(0, 2).data().toString().isEmpty());
        QVERIFY(!lower->model()->index(0, 3).data().toString().isEmpty());
        QCOMPARE(lower->model()->index(0, 4).data().toString(), QStringLiteral("02-02-2022"));

        // Escape closes the screen as its close box does: a complete edit is posted, the
        // taxpayers and vehicles are closed, the lookup datasets left open.
        dm->IBDS_sam.edit();
        dm->IBDS_sam.setValue(QStringLiteral("D_ZAK_U"), QDate(2024, 1, 1));
        QTest::keyClick(screen.get(), Qt::Key_Escape);
        QVERIFY(!screen->isVisible());
        QVERIFY(!dm->IBQ_pod.isActive() && !dm->IBDS_sam.isActive());
        QVERIFY(dm->IBDS_podat.isActive() && dm->IBDS_siln.isActive() && dm->ibds_pal.isActive());
        QCOMPARE(stored(QStringLiteral("D_ZAK_U"), QStringLiteral("GD 5")).toDate(), QDate(2024, 1, 1));
        screen.reset();
    }

    void vehiclesOfTheChosenTaxpayer()
    {
        open();
        chooseTaxpayer(2);
        QCOMPARE(registrationsShown(), (QStringList{"PO 00001", "PO 12345", "WA 777"}));
        chooseTaxpayer(3);
        QCOMPARE(registrationsShown(), QStringList{"KR 1"});

        // A new vehicle belongs to the taxpayer chosen, whatever was there before.
        // The keyboard goes with it to the new vehicle's registration number, so that the next
        // key types there instead of moving to another taxpayer.
        taxpayers()->setFocus();
        child<DBNavigator>("DBN_opl")->button(DBNavigator::Insert)->click();
        QCOMPARE(dm->IBDS_sam.state(), ds::DatasetState::Insert);
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("NR_POD")).toInt(), 3);
        QCOMPARE(screen->focusWidget(), vehicles());
        QCOMPARE(vehicles()->currentIndex().column(), columnOf(vehicles(), QStringLiteral("NR_REJ")));
        QTest::keyClick(vehicles(), Qt::Key_K);
        QCOMPARE(dm->IBQ_pod.value(QStringLiteral("NR_PODAT")).toInt(), 3);
        QCOMPARE(dm->IBDS_sam.state(), ds::DatasetState::Insert);
        vehicles()->closePersistentEditor(vehicles()->currentIndex());
        dm->IBDS_sam.setValue(QStringLiteral("NR_REJ"), QStringLiteral("KR 2"));
        dm->IBDS_sam.setValue(QStringLiteral("NR_RODZ_SILN"), 2);
        dm->IBDS_sam.setValue(QStringLiteral("NR_RODZ_PAL"), 2);
        dm->IBDS_sam.setValue(QStringLiteral("D_ROZP_U"), QDate(2024, 1, 1));
        // An end of use before the start is refused, and the row stays to be corrected.
        dm->IBDS_sam.setValue(QStringLiteral("D_ZAK_U"), QDate(2023, 12, 31));
        QVERIFY_THROWS_EXCEPTION(ds::Error, child<DBNavigator>("DBN_opl")->button(DBNavigator::Post)->click());
        QCOMPARE(dm->IBDS_sam.state(), ds::DatasetState::Insert);
        dm->IBDS_sam.setValue(QStringLiteral("D_ZAK_U"), QDate(2024, 1, 1)); // one day of use
        child<DBNavigator>("DBN_opl")->button(DBNavigator::Post)->click();
        QCOMPARE(stored(QStringLiteral("NR_POD"), QStringLiteral("KR 2")).toInt(), 3);
        QCOMPARE(vehicles()->model()->index(dm->IBDS_sam.recNo(), 0).data().toString(), QStringLiteral("ABC"));
        chooseTaxpayer(2);
        chooseTaxpayer(3);
        QCOMPARE(registrationsShown(), (QStringList{"KR 1", "KR 2"}));

        // The same through the grid's Insert key, for another taxpayer.
        chooseTaxpayer(1);
        QTest::keyClick(vehicles(), Qt::Key_Insert);
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("NR_POD")).toInt(), 1);
        // The owner column cannot be edited: the owner is the taxpayer chosen above.
        QVERIFY(!(vehicles()->model()->flags(vehicles()->model()->index(dm->IBDS_sam.recNo(), 0)) & Qt::ItemIsEditable));
        QVERIFY(vehicles()->model()->flags(vehicles()->model()->index(dm->IBDS_sam.recNo(), 1)) & Qt::ItemIsEditable);
    }

    void datePicker()
    {
        open();
        chooseTaxpayer(2);
        const QDate today = QDate::currentDate();

        // A first day of use opens the picker on it; the picker stands centred at the top.
        chooseVehicle(QStringLiteral("PO 12345"));
        pressDate(QStringLiteral("D_ROZP_U"));
        QCOMPARE(pickers.size(), 1);
        QCOMPARE(pickers[0].date, QDate(2024, 3, 15));
        QVERIFY(pickers[0].instanceSet);
        QCOMPARE(f_pobdaty, nullptr);
        Tf_pobdaty sample;
        const QDate noBound = sample.earliestDate();
        QCOMPARE(pickers[0].earliest, noBound);
        const int pickerWidth = sample.frameGeometry().width();
        QCOMPARE(pickers[0].position,
                 QPoint(screen->x() + screen->frameGeometry().width() / 2 - pickerWidth / 2, screen->y() + 1));
        // Anuluj changes nothing.
        QCOMPARE(dm->IBDS_sam.state(), ds::DatasetState::Browse);
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("D_ROZP_U")).toDate(), QDate(2024, 3, 15));

        // The last day of use: today when there is none, no earlier than the day after the
        // first day of use.
        pressDate(QStringLiteral("D_ZAK_U"));
        QCOMPARE(pickers.size(), 2);
        QCOMPARE(pickers[1].date, today);
        QCOMPARE(pickers[1].earliest, QDate(2024, 3, 16));
        chooseVehicle(QStringLiteral("PO 00001"));
        pressDate(QStringLiteral("D_ZAK_U"));
        QCOMPARE(pickers[2].date, QDate(2023, 12, 31));
        QCOMPARE(pickers[2].earliest, QDate(2019, 6, 2));

        // OK writes the date into the row, which stays unposted.
        pickerAnswer = QDialog::Accepted;
        answerDate = QDate(2024, 6, 30);
        pressDate(QStringLiteral("D_ZAK_U"));
        QCOMPARE(dm->IBDS_sam.state(), ds::DatasetState::Edit);
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("D_ZAK_U")).toDate(), QDate(2024, 6, 30));
        QCOMPARE(stored(QStringLiteral("D_ZAK_U"), QStringLiteral("PO 00001")).toDate(), QDate(2023, 12, 31));
        answerDate = QDate(2019, 5, 1);
        pressDate(QStringLiteral("D_ROZP_U"));
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("D_ROZP_U")).toDate(), QDate(2019, 5, 1));
        child<DBNavigator>("DBN_opl")->button(DBNavigator::Post)->click();
        QCOMPARE(stored(QStringLiteral("D_ZAK_U"), QStringLiteral("PO 00001")).toDate(), QDate(2024, 6, 30));

        // Another column: no picker.
        pressDate(QStringLiteral("NR_REJ"));
        QCOMPARE(pickers.size(), 5);

        // A new row: the picker opens on today, without a bound, and fills the new row.
        QTest::keyClick(vehicles(), Qt::Key_Insert);
        answerDate = QDate(2024, 2, 29);
        pressDate(QStringLiteral("D_ZAK_U"));
        QCOMPARE(pickers.size(), 6);
        QCOMPARE(pickers[5].date, today);
        QCOMPARE(pickers[5].earliest, noBound);
        QCOMPARE(dm->IBDS_sam.state(), ds::DatasetState::Insert);
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("D_ZAK_U")).toDate(), QDate(2024, 2, 29));
        answerDate = QDate(2024, 2, 1);
        pressDate(QStringLiteral("D_ROZP_U"));
        QCOMPARE(pickers[6].date, today);
        QCOMPARE(dm->IBDS_sam.state(), ds::DatasetState::Insert);
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("D_ROZP_U")).toDate(), QDate(2024, 2, 1));
        // Cancelled on a new row: the row keeps its state and values.
        pickerAnswer = QDialog::Rejected;
        pressDate(QStringLiteral("D_ROZP_U"));
        QCOMPARE(dm->IBDS_sam.state(), ds::DatasetState::Insert);
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("D_ROZP_U")).toDate(), QDate(2024, 2, 1));

        // The mouse on the ellipsis button of the current cell does the same.
        pickerAnswer = QDialog::Accepted;
        answerDate = QDate(2024, 2, 2);
        dbw::DBGrid* grid = vehicles();
        const QModelIndex cell = grid->model()->index(dm->IBDS_sam.recNo(), columnOf(grid, QStringLiteral("D_ROZP_U")));
        grid->setCurrentIndex(cell);
        const QPoint button = dbw::GridDelegate::ellipsisRect(grid->visualRect(cell)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, button);
        QCOMPARE(pickers.size(), 9);
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("D_ROZP_U")).toDate(), QDate(2024, 2, 2));
    }

    void pickerDialog()
    {
        Tf_sam::setPickerRunner({});
        open();
        chooseTaxpayer(2);
        chooseVehicle(QStringLiteral("PO 12345"));

        // Enter on a day of the calendar is OK.
        QString caption;
        QDate minimum;
        bool noButtons = false;
        QTimer::singleShot(0, this, [&] {
            auto* picker = qobject_cast<Tf_pobdaty*>(QApplication::activeModalWidget());
            if (!picker)
                return;
            caption = picker->windowTitle();
            minimum = picker->findChild<QCalendarWidget*>(QStringLiteral("kalend"))->minimumDate();
            const Qt::WindowFlags flags = picker->windowFlags();
            noButtons = !(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
            QCOMPARE(picker->findChild<QPushButton*>(QStringLiteral("kl_ok"))->text(), QStringLiteral("O&K"));
            QCOMPARE(picker->findChild<QPushButton*>(QStringLiteral("kl_anuluj"))->text(), QStringLiteral("&Anuluj"));
            QVERIFY(picker->findChild<QPushButton*>(QStringLiteral("kl_ok"))->isDefault());
            picker->setDate(QDate(2024, 8, 20));
            auto* days = picker->findChild<QCalendarWidget*>(QStringLiteral("kalend"))->findChild<QAbstractItemView*>();
            QTest::keyClick(days, Qt::Key_Return);
        });
        pressDate(QStringLiteral("D_ZAK_U"));
        QCOMPARE(caption, QStringLiteral("Data"));
        QCOMPARE(minimum, QDate(2024, 3, 16));
        QVERIFY(noButtons);
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("D_ZAK_U")).toDate(), QDate(2024, 8, 20));
        QCOMPARE(f_pobdaty, nullptr);
        dm->IBDS_sam.cancel();

        // Escape is Anuluj.
        QTimer::singleShot(0, this, [] {
            if (QWidget* picker = QApplication::activeModalWidget()) {
                qobject_cast<Tf_pobdaty*>(picker)->setDate(QDate(2024, 9, 1));
                QTest::keyClick(picker, Qt::Key_Escape);
            }
        });
        pressDate(QStringLiteral("D_ZAK_U"));
        QCOMPARE(dm->IBDS_sam.state(), ds::DatasetState::Browse);
        QVERIFY(!dm->IBDS_sam.value(QStringLiteral("D_ZAK_U")).isValid());

        // The buttons themselves.
        QTimer::singleShot(0, this, [] {
            if (QWidget* picker = QApplication::activeModalWidget()) {
                qobject_cast<Tf_pobdaty*>(picker)->setDate(QDate(2024, 3, 10));
                picker->findChild<QPushButton*>(QStringLiteral("kl_ok"))->click();
            }
        });
        pressDate(QStringLiteral("D_ROZP_U"));
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("D_ROZP_U")).toDate(), QDate(2024, 3, 10));
        QTimer::singleShot(0, this, [] {
            if (QWidget* picker = QApplication::activeModalWidget()) {
                qobject_cast<Tf_pobdaty*>(picker)->setDate(QDate(2024, 3, 11));
                picker->findChild<QPushButton*>(QStringLiteral("kl_anuluj"))->click();
            }
        });
        pressDate(QStringLiteral("D_ROZP_U"));
        QCOMPARE(dm->IBDS_sam.value(QStringLiteral("D_ROZP_U")).toDate(), QDate(2024, 3, 10));
        QCOMPARE(dm->IBDS_sam.state(), ds::DatasetState::Edit);

        // Days before the earliest are greyed; a date set before it moves to it, and OK
        // then gives the earliest day.
        Tf_pobdaty bounded;
        bounded.setDate(QDate(2024, 3, 10));
        bounded.setEarliestDate(QDate(2024, 3, 16));
        QCOMPARE(bounded.date(), QDate(2024, 3, 16));
        auto* days = bounded.findChild<QCalendarWidget*>(QStringLiteral("kalend"));
        QVERIFY(days->dateTextFormat(QDate(2024, 3, 15)).hasProperty(QTextFormat::ForegroundBrush));
        QVERIFY(!days->dateTextFormat(QDate(2024, 3, 16)).hasProperty(QTextFormat::ForegroundBrush));
        bounded.setDate(QDate(2024, 3, 14));
        QCOMPARE(bounded.date(), QDate(2024, 3, 16));

        // Its size: about 295 by 316 pixels at 120 dots per inch.
        Tf_pobdaty sized;
        const double scale = sized.logicalDpiX() / 120.0;
        QVERIFY(sized.width() >= qRound(295 * scale) && sized.height() >= qRound(316 * scale));
    }

    void deleteRefusals()
    {
        open();
        chooseTaxpayer(2);
        const QString refusal = QStringLiteral("Nie można usunąć samochodu, do którego są zapisane zakupy paliwa.");

        // Through the navigator, after its question.
        chooseVehicle(QStringLiteral("PO 12345"));
        child<DBNavigator>("DBN_opl")->button(DBNavigator::Delete)->click();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].kind, desktop::MessageKind::Question);
        QCOMPARE(shown[1].kind, desktop::MessageKind::Error);
        QCOMPARE(shown[1].text, refusal);
        QCOMPARE(stored(QStringLiteral("NR_POD"), QStringLiteral("PO 12345")).toInt(), 2);
        QCOMPARE(registrationsShown(), (QStringList{"PO 00001", "PO 12345", "WA 777"}));

        // Through Ctrl+Delete in the grid.
        shown.clear();
        vehicles()->setFocus();
        QTest::keyClick(vehicles(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].text, refusal);
        QCOMPARE(registrationsShown(), (QStringList{"PO 00001", "PO 12345", "WA 777"}));

        // A vehicle without purchases goes, by either way.
        shown.clear();
        chooseVehicle(QStringLiteral("WA 777"));
        QTest::keyClick(vehicles(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(registrationsShown(), (QStringList{"PO 00001", "PO 12345"}));
        QVERIFY(!stored(QStringLiteral("NR_POD"), QStringLiteral("WA 777")).isValid());
        chooseVehicle(QStringLiteral("PO 00001"));
        child<DBNavigator>("DBN_opl")->button(DBNavigator::Delete)->click();
        QCOMPARE(registrationsShown(), QStringList{"PO 12345"});

        // Only the foreign-key refusal is explained; other failures go on as they are.
        QVERIFY(data::isReferencedRow(fb::Error(QStringLiteral("violation"), {}, -530, {335544466, 335544838})));
        QVERIFY(!data::isReferencedRow(fb::Error(QStringLiteral("lock conflict"), {}, -901, {335544345})));
        QVERIFY(!data::isReferencedRow(ds::Error(QStringLiteral("Field 'x' must have a value"))));
        DeleteRefusal guard(QStringLiteral("x"), screen.get());
        bool passedOn = false;
        try {
            guard.run([] { throw ds::Error(QStringLiteral("other")); });
        } catch (const ds::Error& e) {
            passedOn = e.message() == QStringLiteral("other");
        }
        QVERIFY(passedOn);
    }
};

TEST_MAIN(QApplication, TestSam)
#include "test_sam.moc"
