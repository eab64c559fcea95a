// Damaged ledger files: random bytes, records cut short and impossible dates, through the
// readers and through whole imports. Nothing may crash or hang, no text may leave its slot,
// and every damaged record of the chosen taxpayer is logged.
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "firebird/statement.h"
#include "import/ledger_files.h"
#include "import/purchase_import.h"
#include "import/taxpayer_import.h"
#include "ledger_builder.h"
#include "module_fixture.h"
#include "text/formats.h"
#include <QApplication>
#include "test_main.h"

using namespace Qt::StringLiterals;
using namespace ledgertest;

class TestLedgerFuzz : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    QRandomGenerator random{20261208}; // the same damage every run

    QByteArray noise(int size)
    {
        QByteArray bytes(size, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random.bounded(256));
        return bytes;
    }

private slots:
    void initTestCase() { text::applyProgramFormats(); }

    // Random records of every kind: the fields keep within their slots.
    void readersOnNoise()
    {
        for (int i = 0; i < 3000; ++i) {
            const ledger::PkpirEntry p = ledger::PkpirEntry::from(ledger::Record(noise(ledger::PkpirEntry::size)));
            QVERIFY(p.account.size() <= 8 && p.document.size() <= 10 && p.description.size() <= 168
                    && p.continuation.size() <= 123);
            const ledger::FkEntry f = ledger::FkEntry::from(ledger::Record(noise(ledger::FkEntry::size)));
            QVERIFY(f.account.size() <= 8 && f.description.size() <= 73 && f.document <= 0xFFFF);
            const ledger::Account a = ledger::Account::from(ledger::Record(noise(ledger::Account::size)));
            QVERIFY(a.street.size() <= 20 && a.house.size() <= 10 && a.flat.size() <= 5 && a.city.size() <= 25);
            QVERIFY(a.nip.size() <= ledger::Account::size - 2300);
            // Records cut short read as what is there.
            const ledger::PkpirEntry cut = ledger::PkpirEntry::from(ledger::Record(noise(random.bounded(40))));
            QVERIFY(cut.description.size() <= 8);
        }
    }

    // Whole imports over damaged files: each run completes, and each damaged record of the
    // taxpayer searched has its line in the log.
    void importsOnDamagedFiles()
    {
        start();
        fb::Statement(dm->db_opl, dm->tr_opl, u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (7, '7', 'S')"_s).execute();
        fb::Statement(dm->db_opl, dm->tr_opl, u"insert into SAM values ('WA 1', 7, 5, 5, '2000-01-01', null)"_s).execute();
        for (int run = 0; run < 150; ++run) {
            QTemporaryDir folder;
            QByteArray pkpir;
            QByteArray fk;
            int damagedPkpir = 0;
            int damagedFk = 0;
            for (int r = 0; r < 12; ++r) {
                PkpirLine line{u"007"_s, 13, u"D%1"_s.arg(r), 2024, 1 + random.bounded(12), 1 + random.bounded(28),
                               u"x/WA 1/%1"_s.arg(r)};
                FkLine entry{u"401"_s, 1, static_cast<unsigned>(r), 2024, line.month, line.day, line.description};
                switch (random.bounded(4)) {
                case 0: // a day that no month has
                    line.day = 32 + random.bounded(200);
                    entry.day = line.day;
                    ++damagedPkpir;
                    ++damagedFk;
                    break;
                case 1: // noise over the description and the continuation
                    pkpir += pkpirRecord(line).left(31) + noise(324 - 31);
                    fk += fkRecord(entry).left(21) + noise(95 - 21);
                    continue;
                default:
                    break;
                }
                pkpir += pkpirRecord(line);
                fk += fkRecord(entry);
            }
            pkpir += noise(random.bounded(324)); // a part shorter than a record
            fk += noise(random.bounded(95));
            writeFile(folder.path(), u"dok_010.zqd"_s, pkpir);
            writeFile(folder.path(), u"d001010.zqf"_s, fk);
            writeFile(folder.path(), u"dok_011.zqd"_s, noise(random.bounded(4000)));

            for (const ledger::Source source : {ledger::Source::Pkpir, ledger::Source::Fk}) {
                QStringList log;
                ledger::PurchaseImport import(*dm, [&log](const QString& line) { log << line; });
                import.run({source, folder.path(), {{2024, 1, 1}, {2024, 12, 31}}, {u"007"_s}});
                QCOMPARE(log.last(), u"Koniec"_s);
                const qsizetype damaged = log.filter(u"nie jest datą kalendarzową"_s).size();
                if (source == ledger::Source::Pkpir)
                    QVERIFY2(damaged >= damagedPkpir, qPrintable(log.join(u'\n'))); // the noise file may add some
                else
                    QCOMPARE(damaged, damagedFk);
            }
            // Each round starts without purchases.
            fb::Statement(dm->db_opl, dm->tr_opl, u"delete from ZAK_PAL"_s).execute();
        }
        stop();
    }
};

TEST_MAIN(QApplication, TestLedgerFuzz)
#include "test_ledger_fuzz.moc"
