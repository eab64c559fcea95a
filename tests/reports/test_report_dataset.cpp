// A report fed by the program's datasets: a master query and a detail query linked to it,
// over a database file as delivered.
#include <QtTest>

#include "data/connection_settings.h"
#include "dataset/data_source.h"
#include "dataset/dataset.h"
#include "dataset/field.h"
#include "firebird/connection.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"
#include "program_database.h"
#include "report/band.h"
#include "report/report.h"
#include "report/report_printer.h"
#include "text/formats.h"
#include <QApplication>
#include "test_main.h"

using namespace Qt::StringLiterals;
using ds::FieldType;
using report::BandKind;

class TestReportDataset : public QObject {
    Q_OBJECT

    QStringList column(fb::Connection& c, fb::Transaction& t, const QString& sql, const QVariantMap& params = {})
    {
        fb::Statement st(c, t, sql);
        for (auto it = params.begin(); it != params.end(); ++it)
            st.setParam(it.key(), it.value());
        st.execute();
        QStringList result;
        while (st.fetch())
            result << st.value(0).toString().trimmed();
        return result;
    }

private slots:
    void masterAndLinkedDetail()
    {
        fb::Connection connection;
        connection.open(testsupport::freshDeliveredDatabase(), data::defaultUser(), data::defaultPassword());
        fb::Transaction transaction(&connection);
        const int year = 2011;

        ds::Dataset fuels(u"ibds_pal"_s);
        fuels.setDatabase(&connection, &transaction);
        fuels.setSelectSql(u"select NR, NAZWA from RODZ_PALIWA order by NR"_s);
        fuels.open();

        ds::Dataset engines(u"IBQ_sil_w"_s);
        engines.setDatabase(&connection, &transaction);
        engines.setSelectSql(u"select distinct RODZ_SILNIKA.NR, RODZ_SILNIKA.NAZWA from RODZ_SILNIKA join TAB_OPL_SILN "
                             "on RODZ_SILNIKA.NR = TAB_OPL_SILN.NR_SILN where TAB_OPL_SILN.ROK = :wybrok order by RODZ_SILNIKA.NR"_s);
        engines.setParam(u"wybrok"_s, year);
        engines.addField(u"NR"_s, FieldType::SmallInt);
        engines.addField(u"NAZWA"_s, FieldType::String, 50);
        ds::DataSource enginesSource(u"DS_sil_w"_s, &engines);

        ds::Dataset rates(u"IBQ_opl_w"_s);
        rates.setDatabase(&connection, &transaction);
        rates.setSelectSql(u"select NR_SILN, NR_PALIWA, OPL_ZA_TONE from TAB_OPL_SILN where NR_SILN = :nr and ROK = :wybrok order by NR_PALIWA"_s);
        rates.setParam(u"wybrok"_s, year);
        rates.setMasterSource(&enginesSource, {{u"nr"_s, u"NR"_s}});
        rates.addField(u"NR_SILN"_s, FieldType::SmallInt);
        rates.addField(u"NR_PALIWA"_s, FieldType::SmallInt);
        rates.addField(u"OPL_ZA_TONE"_s, FieldType::Float).setDisplayFormat(u"###0.00"_s);
        rates.addLookupField(u"nazpal"_s, FieldType::String, 30, u"NR_PALIWA"_s, &fuels, u"NR"_s, u"NAZWA"_s);
        engines.open();
        rates.open();
        QVERIFY(engines.recordCount() >= 2);

        report::Report r;
        r.setMaster(engines);
        r.setDetail(rates);
        report::Band& detail = r.addBand(BandKind::Detail, 6);
        detail.addComputed({0, 0, 10, 5}, [&r] { return QString::number(r.recordNumber()) + u'.'; });
        detail.addField({12, 0, 80, 5}, u"NAZWA"_s);
        report::Band& sub = r.addBand(BandKind::SubDetail, 5);
        sub.addField({20, 0, 60, 5}, u"nazpal"_s);
        sub.addField({90, 0, 30, 5}, u"OPL_ZA_TONE"_s);                                  // the field's display format
        sub.addField({130, 0, 30, 5}, u"OPL_ZA_TONE"_s).setMask(u"#,##0.000"_s);         // a mask of the item
        // Hooks see the printed rows as the datasets' current ones.
        QStringList current;
        sub.beforePrint = [&](report::Band&) {
            current << engines.value(u"NAZWA"_s).toString() + u'/' + rates.value(u"nazpal"_s).toString();
            return true;
        };
        report::ReportPrinter& p = r.prepare();
        p.generateAll();

        // What the database holds, read without the datasets.
        QStringList expected;
        QStringList expectedCurrent;
        const QStringList numbers = column(connection, transaction,
                                           u"select distinct NR_SILN from TAB_OPL_SILN where ROK = :rok order by NR_SILN"_s, {{u"rok"_s, year}});
        for (int i = 0; i < numbers.size(); ++i) {
            const QString name = column(connection, transaction, u"select NAZWA from RODZ_SILNIKA where NR = :nr"_s, {{u"nr"_s, numbers[i]}}).value(0);
            expected << QString::number(i + 1) + u'.' << name;
            fb::Statement st(connection, transaction,
                             u"select p.NAZWA, o.OPL_ZA_TONE from TAB_OPL_SILN o join RODZ_PALIWA p on p.NR = o.NR_PALIWA "
                             "where o.NR_SILN = :nr and o.ROK = :rok order by o.NR_PALIWA"_s);
            st.setParam(u"nr"_s, numbers[i]);
            st.setParam(u"rok"_s, year);
            st.execute();
            while (st.fetch()) {
                const double rate = st.value(1).toDouble();
                expected << st.value(0).toString() << text::formatFloat(u"###0.00"_s, rate) << text::formatFloat(u"#,##0.000"_s, rate);
                expectedCurrent << name + u'/' + st.value(0).toString();
            }
        }
        QStringList printed;
        for (int n = 1; n <= p.pageCount(); ++n)
            printed << p.page(n).texts();
        QCOMPARE(printed, expected);
        QCOMPARE(current, expectedCurrent);
        QVERIFY(printed.size() > 2 * numbers.size());

        rates.close();
        engines.close();
        fuels.close();
        if (transaction.isActive())
            transaction.rollback();
        connection.close();
    }
};

TEST_MAIN(QApplication, TestReportDataset)
#include "test_report_dataset.moc"
