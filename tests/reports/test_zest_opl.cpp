// The office overview screen driven as the user drives it: its rows and totals, the colours
// of the status, sorting and the letter search, the settlement opened on a double click,
// every taxpayer's PDF files (a stopped run leaves whole files only) and the CSV export.
#include <QtTest>

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include "data/dm1.h"
#include "desktop/messages.h"
#include "desktop/print_dialogs.h"
#include "module_fixture.h"
#include "reports/overview_export.h"
#include "reports/overview_model.h"
#include "reports/rozl.h"
#include "reports/zest_opl.h"
#include "sql_testing.h"
#include "text/formats.h"
#include "test_main.h"

using namespace Qt::StringLiterals;
using screentest::exec;

class TestZestOpl : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    std::unique_ptr<Tf_zest_opl> w;

    QTableView* grid() const { return w->findChild<QTableView*>(u"DBG_zest"_s); }
    QString cell(int row, int column) const { return grid()->model()->index(row, column).data().toString(); }

    void open(int year)
    {
        w = std::make_unique<Tf_zest_opl>(*dm);
        f_zest_opl = w.get();
        w->show();
        auto* edit = w->findChild<QLineEdit*>(u"m_rok"_s);
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &in);
        edit->setText(QString::number(year));
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase() { text::applyProgramFormats(); }

    void init()
    {
        start();
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (1, '111', 'ZETA')"_s);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (2, '222', 'ALFA')"_s);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (3, '333', 'BETA')"_s);
        exec(u"insert into SAM values ('Z1', 1, 11, 5, '2020-01-01', null)"_s);
        exec(u"insert into SAM values ('Z2', 1, 5, 1, '2020-01-01', null)"_s);
        exec(u"insert into SAM values ('A1', 2, 5, 5, '2020-01-01', null)"_s);
        exec(u"insert into ZAK_PAL values (1, 'Z1', 'F/1', '2024-03-01', 5, 200000)"_s); // above the threshold
        exec(u"insert into ZAK_PAL values (2, 'Z2', 'F/2', '2024-04-01', 1, 500)"_s);
        exec(u"insert into ZAK_PAL values (3, 'A1', 'F/3', '2024-05-01', 5, 100)"_s);
        exec(u"insert into ZAK_PAL values (4, 'A1', 'F/4', '2024-05-02', 2, 50)"_s); // LPG for type 5: no rate?
        dm->tr_opl.commitRetaining();
    }

    void cleanup()
    {
        w.reset();
        f_zest_opl = nullptr;
        stop();
    }

    void rowsTotalsAndSettlement()
    {
        open(2024);
        QCOMPARE(grid()->model()->rowCount(), 3);
        QCOMPARE(cell(0, reports::OverviewModel::ShortName), u"ZETA"_s);
        QCOMPARE(cell(0, reports::OverviewModel::Vehicles), u"2"_s);
        QCOMPARE(cell(2, reports::OverviewModel::Vehicles), u"0"_s);
        const data::Overview& o = w->model()->overview();
        // Each row is exactly the settlement of its taxpayer.
        for (const data::OverviewRow& r : o.rows) {
            const data::Settlement s = data::computeSettlement(*dm, r.shortName, 2024, o.period, o.parameters);
            QCOMPARE(r.amount, s.amount);
            QCOMPARE(int(r.linesWithoutRate), int(s.linesWithoutRate().size()));
        }
        QCOMPARE(cell(0, reports::OverviewModel::Status), u"do zapłaty"_s);
        QCOMPARE(grid()->model()->index(0, reports::OverviewModel::Status).data(Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(Qt::red));
        QCOMPARE(cell(2, reports::OverviewModel::Status), u"poniżej progu"_s);
        QCOMPARE(grid()->model()->index(2, reports::OverviewModel::Status).data(Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(0, 128, 0));
        // What each files for 2024: a fee above the threshold is filed and paid, one of at
        // most 100 zł needs no statement; the sentence in the hint.
        QCOMPARE(grid()->model()->headerData(reports::OverviewModel::Filing, Qt::Horizontal).toString(), u"Obowiązek"_s);
        QCOMPARE(cell(0, reports::OverviewModel::Filing), u"wykaz i opłata"_s);
        QCOMPARE(cell(2, reports::OverviewModel::Filing), u"bez wykazu"_s);
        QCOMPARE(grid()->model()->index(2, reports::OverviewModel::Filing).data(Qt::ToolTipRole).toString(),
                 u"Opłata nie przekracza 100,00 zł: wykazu się nie składa, opłaty się nie wnosi."_s);
        const QString totals = w->findChild<QLabel*>(u"e_razem"_s)->text();
        QVERIFY2(totals.contains(text::formatMoney(o.amount())) && totals.contains(u"podatników 3 (do zapłaty 1)"_s),
                 qPrintable(totals));

        // Sorted by the short name; letters typed in the grid find a taxpayer.
        grid()->sortByColumn(reports::OverviewModel::ShortName, Qt::AscendingOrder);
        QCOMPARE(cell(0, reports::OverviewModel::ShortName), u"ALFA"_s);
        QTest::keyClicks(grid(), u"ze"_s);
        QCOMPARE(grid()->currentIndex().row(), 2);

        // A double click opens the settlement of that taxpayer and year.
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            QVERIFY(f_rozl);
            QCOMPARE(f_rozl->chosen().taxpayer, u"ZETA"_s);
            QCOMPARE(f_rozl->chosen().year, 2024);
            QCOMPARE(f_rozl->printoutSubject().settlement.amount, w->model()->overview().rows[0].amount);
            checked = true;
            f_rozl->close();
        });
        emit grid()->doubleClicked(grid()->model()->index(2, reports::OverviewModel::ShortName));
        QVERIFY(checked);
        QVERIFY(!f_rozl);
    }

    // Short names sort in the Polish alphabet: Ć after C, Ż after Z, whatever the machine's
    // own language settings.
    void shortNamesInThePolishAlphabet()
    {
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (4, '444', 'ŻÓŁW')"_s);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (5, '555', 'ĆWIK')"_s);
        exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (6, '666', 'CEZAR')"_s);
        dm->tr_opl.commitRetaining();
        open(2024);
        grid()->sortByColumn(reports::OverviewModel::ShortName, Qt::AscendingOrder);
        QStringList names;
        for (int r = 0; r < grid()->model()->rowCount(); ++r)
            names << cell(r, reports::OverviewModel::ShortName);
        QCOMPARE(names, (QStringList{u"ALFA"_s, u"BETA"_s, u"CEZAR"_s, u"ĆWIK"_s, u"ZETA"_s, u"ŻÓŁW"_s}));
    }

    // The grid, the CSV and the command line round a number alike: 1,005 l (a little less in
    // binary) is 1,01 in all three as the program rounds what it shows, a fee beyond money
    // "poza zakresem".
    void oneRoundingInEveryFormat()
    {
        data::Overview o;
        o.rows.push_back({.number = 1, .shortName = u"A;B"_s, .nip = u"1"_s, .fullName = {}, .vehicles = 1, .litres = 1.005, .tonnes = 1.0005, .amount = {}});
        o.rows.push_back({.number = 2, .shortName = u"C"_s, .nip = u"2"_s, .fullName = {}, .vehicles = 1, .litres = 1, .tonnes = 1,
                          .amount = {}, .amountOutOfRange = true});
        reports::OverviewModel model;
        model.setOverview(o);
        QCOMPARE(model.index(0, reports::OverviewModel::Litres).data().toString(), u"1,01"_s);
        const QStringList tsv = reports::overviewRecords(o, reports::allRows(o), reports::OverviewFormat::Tsv).split(u'\n');
        QCOMPARE(tsv[0].section(u'\t', 5, 6), u"1.01\t1.001"_s);
        QCOMPARE(tsv[1].section(u'\t', 7, 7), u"poza zakresem"_s);
        QCOMPARE(tsv[2].section(u'\t', 5, 7), u"2.01\t2.001\tpoza zakresem"_s);
        const QStringList csv = reports::overviewRecords(o, reports::allRows(o), reports::OverviewFormat::Csv).split(u"\r\n"_s);
        QVERIFY2(csv[1].startsWith(u"1;\"A;B\";;\"=\"\"1\"\"\";1;1,01;1,001;"_s), qPrintable(csv[1]));
        QVERIFY2(csv[3].startsWith(u";Razem;;;2;2,01;2,001;poza zakresem;"_s), qPrintable(csv[3]));
    }

    void everyTaxpayersPdfAndCsv()
    {
        open(2024);
        QTemporaryDir folder;
        auto outcomes = w->zapisz_pdf(folder.path());
        QCOMPARE(outcomes.size(), size_t(3));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), (QStringList{u"1_ZETA_2024.pdf"_s, u"2_ALFA_2024.pdf"_s}));
        QVERIFY(outcomes[2].result == reports::BatchOutcome::Result::Skipped);

        // Stopped after the first taxpayer: that file is whole, no other file is begun.
        QTemporaryDir stopped;
        int asked = 0;
        outcomes = w->zapisz_pdf(stopped.path(), [&] { return asked++ == 1; });
        QCOMPARE(outcomes.size(), size_t(1));
        QCOMPARE(QDir(stopped.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"1_ZETA_2024.pdf"_s});
        QFile first(stopped.filePath(u"1_ZETA_2024.pdf"_s));
        QVERIFY(first.open(QIODevice::ReadOnly) && first.readAll().trimmed().endsWith("%%EOF"));

        // CSV for a Polish spreadsheet: UTF-8 with its mark, semicolons, decimal commas.
        const QString csv = folder.filePath(u"zestawienie.csv"_s);
        QVERIFY(w->eksport_csv(csv));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s, Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5); // the titles, three taxpayers, the totals
        QCOMPARE(lines[0].section(u';', 0, 3), u"Nr;Nazwa skrócona;Nazwa pełna;NIP"_s);
        const QStringList zeta = lines[1].split(u';');
        const data::OverviewRow& zetaRow = w->model()->overview().rows[0];
        QCOMPARE(zeta[1], u"ZETA"_s);
        QCOMPARE(zeta[2], zetaRow.fullName);
        QCOMPARE(zeta[3], u"\"=\"\"%1\"\"\""_s.arg(zetaRow.nip)); // a formula of the text: never a number
        QCOMPARE(zeta[7], zetaRow.amount.toDecimalString(2).replace(u'.', u','));
        QCOMPARE(zeta[9], u"do zapłaty"_s);
        QCOMPARE(lines[0].section(u';', 10, 10), u"Obowiązek"_s);
        QCOMPARE(zeta[10], u"wykaz i opłata"_s);
        QCOMPARE(lines[4].section(u';', 1, 1), u"Razem"_s);
        QCOMPARE(lines[4].section(u';', 7, 7), w->model()->overview().amount().toDecimalString(2).replace(u'.', u','));
        QString error;
        QVERIFY(!w->eksport_csv(folder.filePath(u"brak/katalogu.csv"_s), &error));
        QVERIFY(error.startsWith(u"Nie można zapisać pliku"_s));

        // "Drukuj wszystkie": one print dialog, then each taxpayer who bought, and a summary.
        int dialogs = 0;
        desktop::setPrintDialogHandler([&](const desktop::PrintDialogRequest& request) {
            ++dialogs;
            request.printer->setOutputFormat(QPrinter::PdfFormat);
            request.printer->setOutputFileName(folder.filePath(u"druk.pdf"_s));
            return true;
        });
        QStringList said;
        desktop::setMessageHandler([&](const desktop::Message& m) {
            said << m.text;
            return desktop::Answer::Ok;
        });
        w->findChild<QPushButton*>(u"kl_druk"_s)->click();
        desktop::setPrintDialogHandler({});
        desktop::setMessageHandler({});
        QCOMPARE(dialogs, 1);
        QCOMPARE(said, QStringList{u"Wydrukowano podatników: 2."_s});
        QVERIFY(QFile::exists(folder.filePath(u"druk.pdf"_s)));

        // A rate removed meanwhile: the run settles again and passes over the taxpayer whose
        // fee would now be too small, naming what lacks a rate.
        exec(u"delete from TAB_OPL_SILN where NR_SILN = 5 and NR_PALIWA = 5 and ROK = 2024"_s);
        QTemporaryDir lacking;
        outcomes = w->zapisz_pdf(lacking.path());
        QCOMPARE(QDir(lacking.path()).entryList(QDir::Files), QStringList{u"1_ZETA_2024.pdf"_s});
        QVERIFY(outcomes[1].result == reports::BatchOutcome::Result::MissingRates);
        QVERIFY2(outcomes[1].reason.startsWith(u"Brak stawek dla: A1 ("_s), qPrintable(outcomes[1].reason));
        QVERIFY(reports::batchSummary(outcomes, false).contains(u"Pominięto (brak stawek, opłata byłaby zaniżona): 1."_s));
    }
};

TEST_MAIN(QApplication, TestZestOpl)
#include "test_zest_opl.moc"
