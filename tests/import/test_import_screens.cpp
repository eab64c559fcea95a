// The two import screens and the comparison dialog, driven through their controls on a real
// database with ledger files written by the test.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QComboBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "common/period_chooser.h"
#include "dbwidgets/db_grid.h"
#include "desktop/help_context.h"
#include "desktop/print_dialogs.h"
#include "firebird/statement.h"
#include "import/import_help.h"
#include "import/jest_pod.h"
#include "import/log_printing.h"
#include "import/pod_kpr.h"
#include "import/invoice_preview.h"
#include "import/zak_kpr.h"
#include "import/zak_ksef.h"
#include "ksef_builder.h"
#include "ledger_builder.h"
#include "module_fixture.h"
#include "text/formats.h"
#include "widget_testing.h"
#include <QApplication>
#include "test_main.h"

using namespace Qt::StringLiterals;
using namespace ledgertest;

class TestImportScreens : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    QTemporaryDir folder;

    void exec(const QString& sql)
    {
        fb::Statement st(dm->db_opl, dm->tr_opl, sql);
        st.execute();
        dm->tr_opl.commitRetaining();
    }

    QVariant scalar(const QString& sql)
    {
        fb::Statement st(dm->db_opl, dm->tr_opl, sql);
        st.execute();
        return st.fetch() ? st.value(0) : QVariant();
    }

    static void setYear(QWidget* screen, const QString& year)
    {
        auto* edit = testsupport::control<QLineEdit>(screen, "m_rok");
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, year);
        testsupport::control<QWidget>(screen, "z_katalog")->setFocus(Qt::TabFocusReason);
    }

private slots:
    void initTestCase()
    {
        text::applyProgramFormats();
        registerImportHelp();
    }

    void init()
    {
        start();
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (7, '7', 'SIEDEM')"_s);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR, ADRES) values (12, '12', 'DWANAŚCIE', 'stary adres')"_s);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (3, '3', 'TRZY')"_s);
        exec(u"insert into SAM values ('WA 100', 7, 5, 5, '2000-01-01', null)"_s);
    }

    void cleanup()
    {
        desktop::setPrintDialogHandler({});
        setComparisonRunner({});
        stop();
    }

    void purchaseImportScreen()
    {
        Tf_zak_kpr screen(*dm);
        screen.show();
        QApplication::setActiveWindow(&screen);
        QCOMPARE(screen.windowTitle(), u"Import danych dotyczących zakupu paliw z systemu PKPiR lub FK"_s);
        QCOMPARE(desktop::helpContext(&screen), 14);
        QVERIFY(!testsupport::control<QListWidget>(&screen, "lb_kwart")->isVisible()); // 2013 and later: the whole year
        QCOMPARE(testsupport::control<QLabel>(&screen, "e_katalog")->text(), u"Katalog z danymi systemu PKPiR"_s);
        QVERIFY(!testsupport::control<QPushButton>(&screen, "kl_dr_rap")->isVisible());

        // The source sets the folder and the captions.
        testsupport::control<QRadioButton>(&screen, "rb_fk")->click();
        QCOMPARE(testsupport::control<QLabel>(&screen, "e_katalog")->text(), u"Katalog z danymi systemu FK"_s);
        QVERIFY(testsupport::control<QLineEdit>(&screen, "z_katalog")->text().endsWith(u"fk"_s));
        testsupport::control<QRadioButton>(&screen, "rb_pkpir")->click();

        // ">" adds the selected taxpayers' codes once; ">>" all of them in the grid's order.
        auto* grid = testsupport::control<dbw::DBGrid>(&screen, "dbg_firmy");
        grid->selectRow(1); // taxpayer 7 (the grid is ordered by number)
        testsupport::control<QToolButton>(&screen, "kl_przen")->click();
        grid->selectRow(1);
        testsupport::control<QToolButton>(&screen, "kl_przen")->click();
        QCOMPARE(screen.chosenCodes(), QStringList{u"007"_s});
        testsupport::control<QToolButton>(&screen, "kl_wszystko")->click();
        QCOMPARE(screen.chosenCodes(), (QStringList{u"003"_s, u"007"_s, u"012"_s}));

        // FK takes the first taxpayer only, and the screen says so outside the log.
        testsupport::control<QRadioButton>(&screen, "rb_fk")->click();
        QVERIFY(testsupport::control<QLabel>(&screen, "e_fk_uwaga")->isVisible());
        QVERIFY(testsupport::control<QLabel>(&screen, "e_fk_uwaga")->text().contains(u"003"_s));
        testsupport::control<QRadioButton>(&screen, "rb_pkpir")->click();
        QVERIFY(!testsupport::control<QLabel>(&screen, "e_fk_uwaga")->isVisible());

        // Years up to 2012 go by quarters.
        setYear(&screen, u"2012"_s);
        QVERIFY(testsupport::control<QListWidget>(&screen, "lb_kwart")->isVisible());
        QCOMPARE(testsupport::control<QListWidget>(&screen, "lb_kwart")->currentRow(), 0);
        QCOMPARE(screen.period().start, QDate(2012, 1, 1));
        QCOMPARE(screen.period().end, QDate(2012, 3, 31));
        auto* quarters = testsupport::control<QListWidget>(&screen, "lb_kwart");
        QTest::mouseClick(quarters->viewport(), Qt::LeftButton, {}, quarters->visualItemRect(quarters->item(2)).center());
        QCOMPARE(screen.period().start, QDate(2012, 7, 1));
        QCOMPARE(screen.period().end, QDate(2012, 9, 30));

        // A run: the log as the import writes it; then it can be printed.
        writeFile(folder.path(), u"dok_080.zqd"_s, pkpirRecord({u"007"_s, 13, u"F1"_s, 2012, 8, 3, u"x/wa 100/12,5"_s}));
        testsupport::control<QLineEdit>(&screen, "z_katalog")->setText(folder.path());
        testsupport::control<QPushButton>(&screen, "kl_przep")->click();
        const QStringList log = screen.logLines();
        QVERIFY(log.first().startsWith(u"Import zakupów paliw z systemu PKPiR. Wykonano "_s));
        QCOMPARE(log.mid(1), (QStringList{u"Wyszukiwanie zakupów paliwa dla konta 003"_s, u"Zapisano 0 rekordów"_s,
                                          QString(44, u'-'), u"Wyszukiwanie zakupów paliwa dla konta 007"_s,
                                          u"Zapisano 1 rekord"_s, QString(44, u'-'),
                                          u"Wyszukiwanie zakupów paliwa dla konta 012"_s, u"Zapisano 0 rekordów"_s,
                                          QString(44, u'-'), u"Koniec"_s}));
        QCOMPARE(scalar(u"select NR_REJ from ZAK_PAL where NR_RACH = 'F1'"_s).toString(), u"WA 100"_s);
        QVERIFY(testsupport::control<QPushButton>(&screen, "kl_dr_rap")->isVisible());

        const QString pdf = folder.filePath(u"raport.pdf"_s);
        desktop::setPrintDialogHandler([&](const desktop::PrintDialogRequest& r) {
            r.printer->setOutputFormat(QPrinter::PdfFormat);
            r.printer->setOutputFileName(pdf);
            return true;
        });
        testsupport::control<QPushButton>(&screen, "kl_dr_rap")->click();
        QVERIFY(QFileInfo(pdf).size() > 0);
        screen.close();
    }

    // "Przerwij" ends the run at the next entry: what was stored stays, the log says how much,
    // and the screen is as before the run. While the run goes, only the log and the stop are
    // on; closing the screen then stops the run instead of closing it.
    void purchaseImportStops()
    {
        exec(u"insert into SAM values ('GD 1', 12, 5, 5, '2000-01-01', null)"_s);
        const QTemporaryDir folder;
        QByteArray file;
        for (int e = 0; e < 3; ++e)
            file += pkpirRecord({u"007"_s, 13, u"S%1"_s.arg(e), 2024, 3, 1 + e, u"x/WA 100/5"_s});
        for (int e = 0; e < 2; ++e)
            file += pkpirRecord({u"012"_s, 13, u"D%1"_s.arg(e), 2024, 3, 1 + e, u"x/GD 1/5"_s});
        writeFile(folder.path(), u"dok_030.zqd"_s, file);

        Tf_zak_kpr screen(*dm);
        screen.show();
        QApplication::setActiveWindow(&screen);
        setYear(&screen, u"2024"_s);
        testsupport::control<QLineEdit>(&screen, "z_katalog")->setText(folder.path());
        testsupport::control<QToolButton>(&screen, "kl_wszystko")->click(); // 003, 007, 012
        auto* stop = testsupport::control<QPushButton>(&screen, "kl_przerwij");
        auto* run = testsupport::control<QPushButton>(&screen, "kl_przep");
        auto* log = testsupport::control<QPlainTextEdit>(&screen, "m_rap");
        QVERIFY(!stop->isVisible());

        struct During {
            bool stopOn = false, runOff = false, listOff = false, logOn = false, barShown = false;
        } during;
        const auto pressAt = [&](const QString& line, const std::function<void()>& press) {
            return connect(log, &QPlainTextEdit::textChanged, &screen, [&, line, press] {
                if (!log->toPlainText().endsWith(line))
                    return;
                during = {stop->isVisible() && stop->isEnabled(), !run->isEnabled(),
                          !testsupport::control<QWidget>(&screen, "dbg_firmy")->isEnabled(), log->isEnabled(),
                          testsupport::control<QProgressBar>(&screen, "pb_postep")->isVisible()};
                press();
            });
        };
        auto pressing = pressAt(u"Wyszukiwanie zakupów paliwa dla konta 012"_s, [stop] { stop->click(); });
        run->click();
        disconnect(pressing);
        QVERIFY(during.stopOn && during.runOff && during.listOff && during.logOn && during.barShown);
        QCOMPARE(screen.logLines().mid(5), (QStringList{u"Zapisano 3 rekordy"_s, QString(44, u'-'),
                                                         u"Wyszukiwanie zakupów paliwa dla konta 012"_s,
                                                         u"Przerwano. Zapisane dotąd zakupy (3) pozostają w bazie."_s}));
        QCOMPARE(scalar(u"select count(*) from ZAK_PAL where NR_RACH starting 'S'"_s).toInt(), 3);
        QCOMPARE(scalar(u"select count(*) from ZAK_PAL where NR_RACH starting 'D'"_s).toInt(), 0);
        QVERIFY(!stop->isVisible());
        QVERIFY(run->isEnabled() && testsupport::control<QWidget>(&screen, "dbg_firmy")->isEnabled());

        // Closing the screen during a run stops the run; the screen stays to show the log.
        log->clear();
        pressing = pressAt(u"Wyszukiwanie zakupów paliwa dla konta 012"_s, [&screen] { screen.close(); });
        run->click();
        disconnect(pressing);
        QVERIFY(screen.isVisible());
        QCOMPARE(screen.logLines().last(), u"Przerwano. Zapisane dotąd zakupy (0) pozostają w bazie."_s);
        QCOMPARE(scalar(u"select count(*) from ZAK_PAL where NR_RACH starting 'D'"_s).toInt(), 0);
        QVERIFY(screen.close());
    }

    void logPaging()
    {
        // A page holds n − 1 lines, n being the page height less 50 in line steps.
        const QList<std::tuple<int, int, int>> pages{{1050, 100, 9}, {1049, 100, 8}, {150, 100, 1}, {5000, 0, 1}};
        for (const auto& [height, step, lines] : pages)
            QCOMPARE(importlog::linesPerPage(height, step), lines);
    }

    // Escape that no control takes presses "Anuluj", on both screens; with the folder
    // chooser open it closes the chooser first.
    // The e-invoice import screen: a folder read into the preview (a package in it too), an
    // invoice naming two vehicles resolved by the keyboard in the grid's drop-down, the totals,
    // "Przejmij" storing the ready lines with its log; read again, nothing is ready twice.
    void invoiceImportScreen()
    {
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (20, 'PL 123-456-32-18', 'TRANSPOL')"_s);
        exec(u"insert into SAM values ('WA 500', 20, 5, 5, '2020-01-01', null)"_s);
        exec(u"insert into SAM values ('WA 600', 20, 5, 5, '2020-01-01', null)"_s);
        exec(u"insert into SAM values ('WA 700', 20, 5, 1, '2020-01-01', null)"_s); // petrol: no choice for diesel
        ksefbuild::Invoice named;
        named.lines = {{u"Olej napędowy"_s, u"50"_s}};
        named.notes = {{1, u"Nr rejestracyjny"_s, u"WA500"_s}};
        ksefbuild::Invoice two = named;
        two.number = u"FV/2/2026"_s;
        two.lines = {{u"ON"_s, u"30.5"_s}};
        two.notes = {{0, u"Pojazdy"_s, u"WA 500, WA 600"_s}};
        ksefbuild::Invoice stranger = named;
        stranger.number = u"FV/3/2026"_s;
        stranger.buyerNip = u"5555555555"_s;
        const QList<ksefbuild::Invoice> invoices{named, two, stranger};
        const QTemporaryDir files;
        ksefbuild::writeZip(files.filePath(u"paczka.zip"_s), {{u"FV1.xml"_s, ksefbuild::xml(named)}});
        ksefbuild::writeFile(files.filePath(u"luzem/FV2.xml"_s), ksefbuild::xml(two));
        ksefbuild::writeFile(files.filePath(u"luzem/FV3.xml"_s), ksefbuild::xml(stranger));
        ksefbuild::writeFile(files.filePath(u"luzem/paragon.txt"_s), "paragon");

        Tf_zak_ksef screen(*dm);
        screen.show();
        QApplication::setActiveWindow(&screen);
        QCOMPARE(screen.windowTitle(), u"Import zakupów z e-faktur (KSeF)"_s);
        QCOMPARE(desktop::helpContext(&screen), import_help::invoiceImport);
        auto* take = testsupport::control<QPushButton>(&screen, "kl_przejmij");
        QVERIFY(!take->isEnabled());

        screen.readPaths({files.path()});
        auto* grid = testsupport::control<QTableView>(&screen, "tv_wiersze");
        QAbstractItemModel* model = grid->model();
        const auto cell = [&](int row, int column) { return model->index(row, column).data().toString(); };
        QCOMPARE(model->rowCount(), 3);
        QStringList vehicles, states;
        for (int row = 0; row < 3; ++row) {
            vehicles << cell(row, 1);
            states << cell(row, 7);
        }
        const int ambiguous = static_cast<int>(vehicles.indexOf(u"(wybierz)"_s));
        QVERIFY(ambiguous >= 0);
        QVERIFY(vehicles.contains(u"WA 500"_s));
        QVERIFY(states.contains(u"gotowy"_s));
        QVERIFY(states[ambiguous].startsWith(u"pozostawiony: faktura wskazuje kilka pojazdów (WA 500, WA 600)"_s));
        QVERIFY(states.join(u'\n').contains(u"5555555555"_s));
        QCOMPARE(cell(ambiguous, 4), u"30,50 l"_s);
        QCOMPARE(cell(ambiguous, 5), u"FV/2/2026, wiersz 1"_s);
        QVERIFY(screen.logLines().join(u'\n').contains(u"paragon.txt"_s)); // passed over, said at once
        QVERIFY(take->isEnabled());

        // F2 on the vehicle opens the buyer's diesel vehicles; Down and Enter choose the second.
        grid->setFocus();
        grid->setCurrentIndex(model->index(ambiguous, 1));
        QTest::keyClick(grid, Qt::Key_F2);
        auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget());
        QVERIFY(box);
        QStringList offered;
        for (int i = 0; i < box->count(); ++i)
            offered << box->itemText(i);
        QCOMPARE(offered, (QStringList{u"WA 500"_s, u"WA 600"_s}));
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Return);
        QTRY_COMPARE(cell(ambiguous, 1), u"WA 600"_s); // the view commits the editor queued
        QCOMPARE(cell(ambiguous, 7), u"gotowy"_s);
        auto* totals = testsupport::control<QTableWidget>(&screen, "tw_razem");
        QCOMPARE(totals->rowCount(), 1);
        QCOMPARE(totals->item(0, 0)->text(), u"TRANSPOL"_s);
        QCOMPARE(totals->item(0, 2)->text(), u"2"_s);
        QCOMPARE(totals->item(0, 3)->text(), u"80,50 l"_s);

        take->click();
        QVERIFY(screen.logLines().first().startsWith(u"Import zakupów paliw z e-faktur (KSeF). Wykonano "_s));
        QCOMPARE(scalar(u"select count(*) from ZAK_PAL where NR_REJ = 'WA 500' and IL_ZAK = 50 and NR_RACH = 'FV/1/2026'"_s).toInt(), 1);
        QCOMPARE(scalar(u"select count(*) from ZAK_PAL where NR_REJ = 'WA 600' and IL_ZAK = 30.5 and NR_RACH = 'FV/2/2026'"_s).toInt(), 1);
        QCOMPARE(cell(ambiguous, 7), u"zapisany"_s);
        QCOMPARE(totals->rowCount(), 0);
        QVERIFY(!take->isEnabled());
        QVERIFY(testsupport::control<QPushButton>(&screen, "kl_dr_rap")->isVisible());

        screen.readPaths({files.path()});
        QCOMPARE(cell(ambiguous, 7), u"przejęty wcześniej"_s);
        QVERIFY(!take->isEnabled());
        QCOMPARE(ksefbuild::schemaErrors(invoices), QString());
        screen.close();
    }

    void escapePressesCancel()
    {
        Tf_zak_kpr purchases(*dm);
        Tf_pod_kpr taxpayers(*dm);
        for (QDialog* screen : {static_cast<QDialog*>(&purchases), static_cast<QDialog*>(&taxpayers)}) {
            screen->show();
            QApplication::setActiveWindow(screen);
            testsupport::control<QPushButton>(screen, "kl_wyb_kat")->click();
            QWidget* chooser = screen->findChild<QWidget*>(u"gb_wyb_kat"_s);
            QVERIFY(chooser && chooser->isVisible());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!chooser->isVisible());
            QVERIFY(screen->isVisible());
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : screen, Qt::Key_Escape);
            QVERIFY(!screen->isVisible());
            QCOMPARE(screen->result(), int(QDialog::Rejected));
        }
    }

    // "Przerwij" ends the taxpayer import before the next account: those taken stay, the
    // rest stay chosen, and the screen stays open saying so.
    void taxpayerImportStops()
    {
        const QTemporaryDir folder;
        QByteArray file = accountRecord({u"0000"_s});
        file += accountRecord({u"   1"_s, {}, u"Jedynka"_s, u"JEDEN"_s, u"111"_s});
        for (int n = 2; n < 12; ++n)
            file += accountRecord({u"   %1"_s.arg(n), {}, u"Firma %1"_s.arg(n), u"F%1"_s.arg(n), u"%1"_s.arg(n)});
        file += accountRecord({u"  12"_s, {}, u"Dwunastka"_s, u"DWA"_s, u"1212"_s});
        writeFile(folder.path(), u"konta200.zqd"_s, file);

        Tf_pod_kpr screen(*dm);
        screen.show();
        auto* folderEdit = testsupport::control<QLineEdit>(&screen, "z_katalog");
        folderEdit->setText(folder.path());
        QTest::keyClick(folderEdit, Qt::Key_Return);
        auto* stop = testsupport::control<QPushButton>(&screen, "kl_przerwij");
        QVERIFY(!stop->isVisible());
        bool stopOnChosenOff = false;
        // Taxpayer 12 is there: while its comparison is open, "Przerwij" is pressed.
        setComparisonRunner([&](Tf_jest_pod& dialog) -> ledger::TaxpayerFields {
            stopOnChosenOff = stop->isVisible() && stop->isEnabled()
                              && !testsupport::control<QWidget>(&screen, "mem_wyb_konta")->isEnabled()
                              && !testsupport::control<QWidget>(&screen, "kl_ok")->isEnabled();
            stop->click();
            dialog.kl_pom->click();
            return dialog.chosen();
        });
        auto* chosen = testsupport::control<QPlainTextEdit>(&screen, "mem_wyb_konta");
        chosen->setPlainText(u"1\n12\n\n4\n5"_s);
        testsupport::control<QPushButton>(&screen, "kl_ok")->click();
        QVERIFY(stopOnChosenOff);
        QCOMPARE(shownTexts(), QStringList{u"Przerwano. Przejęte dotąd konta (2) pozostają w bazie."_s});
        QCOMPARE(screen.chosenLines(), (QStringList{u"4"_s, u"5"_s}));
        QCOMPARE(scalar(u"select NAZSKR from PODAT where NR_PODAT = 1"_s).toString(), u"JEDEN"_s);
        QVERIFY(!scalar(u"select NR_PODAT from PODAT where NR_PODAT = 4"_s).isValid());
        QVERIFY(screen.isVisible());
        QVERIFY(!stop->isVisible());
        QVERIFY(chosen->isEnabled() && testsupport::control<QWidget>(&screen, "kl_ok")->isEnabled());
    }

    void taxpayerImportScreen()
    {
        QByteArray file = accountRecord({u"0000"_s});
        file += accountRecord({u"   1"_s, {}, u"Jedynka"_s, u"JEDEN"_s, u"111"_s});
        file += accountRecord({u"    "_s});
        file += accountRecord({u"   3"_s, {}, u"Trójka"_s, u"TROJKA"_s, u"333"_s});
        file += accountRecord({u"   4"_s, {}, u"Czwórka"_s, {}, u"444"_s});
        for (int n = 5; n < 12; ++n)
            file += accountRecord({u"    "_s});
        file += accountRecord({u"  12"_s, u"REG12"_s, u"Dwunastka"_s, u"DWA"_s, u"1212"_s, u"Polna"_s, u"3"_s, u"12"_s,
                               u"Lublin"_s, u"20-001"_s});
        writeFile(folder.path(), u"KONTA200.ZQD"_s, file);

        Tf_pod_kpr screen(*dm);
        screen.show();
        QCOMPARE(screen.windowTitle(), u"Przepisanie danych podatników z systemu PKPiR"_s);
        QCOMPARE(desktop::helpContext(&screen), 13);
        auto* folderEdit = testsupport::control<QLineEdit>(&screen, "z_katalog");
        folderEdit->setText(folder.path());
        QTest::keyClick(folderEdit, Qt::Key_Return);
        auto* grid = testsupport::control<QTableWidget>(&screen, "sg_kon");
        QCOMPARE(grid->rowCount(), 4);
        QCOMPARE(grid->item(3, 0)->text(), u"  12"_s);
        QCOMPARE(grid->item(3, 1)->text(), u"Dwunastka"_s);

        // Rows 2 to 3 twice: their codes once each, in grid order; ">>" all of them.
        grid->clearSelection();
        grid->setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, 2), true);
        testsupport::control<QToolButton>(&screen, "kl_przen")->click();
        testsupport::control<QToolButton>(&screen, "kl_przen")->click();
        QCOMPARE(screen.chosenLines(), (QStringList{u"   3"_s, u"   4"_s}));
        testsupport::control<QToolButton>(&screen, "kl_wszystko")->click();
        QCOMPARE(screen.chosenLines().size(), 4);

        // Taxpayer 12 exists: the dialog shows both sides; only the address is ticked.
        QList<QPair<QString, QString>> shownInDialog;
        bool clearedAtFirst = true;
        setComparisonRunner([&](Tf_jest_pod& dialog) -> ledger::TaxpayerFields {
            shownInDialog << qMakePair(testsupport::control<QLabel>(&dialog, "e_kon")->text(), testsupport::control<QLabel>(&dialog, "e_kpr_adr")->text());
            shownInDialog << qMakePair(dialog.windowTitle(), testsupport::control<QLabel>(&dialog, "e_opl_adr")->text());
            clearedAtFirst = clearedAtFirst && !dialog.ch_naz->isChecked() && !dialog.ch_adr->isChecked();
            dialog.ch_adr->setChecked(true);
            dialog.kl_przep->click();
            return dialog.chosen();
        });
        auto* chosen = testsupport::control<QPlainTextEdit>(&screen, "mem_wyb_konta");
        chosen->setPlainText(u"4\n12\nabc\n1"_s);
        testsupport::control<QPushButton>(&screen, "kl_ok")->click();
        QCOMPARE(shownInDialog, (QList<QPair<QString, QString>>{{u"12"_s, u"Polna 3/12 20-001 Lublin"_s},
                                                                {u"Uwaga!"_s, u"stary adres"_s}}));
        QVERIFY(clearedAtFirst);
        QCOMPARE(scalar(u"select NAZSKR from PODAT where NR_PODAT = 4"_s).toString(), u"Czwórka"_s); // the name's start
        QCOMPARE(scalar(u"select ADRES from PODAT where NR_PODAT = 12"_s).toString(), u"Polna 3/12 20-001 Lublin"_s);
        QCOMPARE(scalar(u"select NAZSKR from PODAT where NR_PODAT = 12"_s).toString(), u"DWANAŚCIE"_s);
        // "abc" stops the run with the conversion error; the screen stays with its lines.
        QCOMPARE(shownTexts(), QStringList{u"'abc' is not a valid integer value"_s});
        QVERIFY(screen.isVisible());
        QCOMPARE(screen.chosenLines().size(), 4);
        QVERIFY(!scalar(u"select NR_PODAT from PODAT where NR_PODAT = 1"_s).isValid());

        // Every account is taken: one the database refuses (a NIP longer than its column) is
        // named with the reason and stays chosen, one whose short name another taxpayer has
        // gets a free one, blank lines are passed over.
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (30, '30', 'TROJKA')"_s);
        QByteArray longNip = accountRecord({u"0000"_s});
        longNip += accountRecord({u"   1"_s, {}, u"Jedynka"_s, u"JEDEN"_s, QString(25, u'1')});
        for (int n = 2; n < 5; ++n)
            longNip += accountRecord({u"    "_s});
        longNip += accountRecord({u"   5"_s, {}, u"Piątka"_s, u"TROJKA"_s, u"555"_s});
        writeFile(folder.path(), u"KONTA200.ZQD"_s, longNip);
        shown.clear();
        chosen->setPlainText(u"\n1\n\n5\n"_s);
        testsupport::control<QPushButton>(&screen, "kl_ok")->click();
        QCOMPARE(shownTexts().size(), 1);
        QVERIFY2(shownTexts()[0].startsWith(u"Konto 5: nazwa skrócona TROJKA2 (jego nazwę skróconą ma inny podatnik).\n"
                                            "Nie przejęto:\nKonto 1: "_s)
                     && shownTexts()[0].contains(u"najwyżej 20 znaków"_s),
                 qPrintable(shownTexts()[0]));
        QCOMPARE(scalar(u"select NAZSKR from PODAT where NR_PODAT = 5"_s).toString(), u"TROJKA2"_s);
        QCOMPARE(chosen->toPlainText(), u"1"_s);
        QVERIFY(screen.isVisible());

        // Leaving or clicking the folder field keeps the chosen list; only another folder
        // empties it. An empty list closes the screen, as "Przepisz" after the last line does.
        folderEdit->setFocus();
        QTest::mouseClick(folderEdit, Qt::LeftButton);
        testsupport::control<QPlainTextEdit>(&screen, "mem_wyb_konta")->setFocus();
        QCOMPARE(chosen->toPlainText(), u"1"_s);
        chosen->setPlainText(u"\n \n"_s);
        shown.clear();
        testsupport::control<QPushButton>(&screen, "kl_ok")->click();
        QVERIFY(shownTexts().isEmpty());
        QVERIFY(!screen.isVisible());
    }
};

TEST_MAIN(QApplication, TestImportScreens)
#include "test_import_screens.moc"
