// The rules of the purchase screen that need no window: the letter search, and the two queries, whose bound parameters must give the rows that the texts
// with the period and the taxpayer written into them give.
#include "common/letter_search.h"
#include "purchase_fixture.h"
#include "test_main.h"

namespace purchasetest {

namespace {

// The purchase query as text with the period and taxpayer written into it.
QString literalPurchaseSql(const data::Period& p, const QString& taxpayer)
{
    return QStringLiteral("select nr_kol, ZAK_PAL.nr_rej, nr_rach, d_zak, ZAK_PAL.nr_rodz_pal, il_zak from ZAK_PAL join sam "
                          "ON ZAK_PAL.nr_rej=sam.nr_rej where d_zak between ")
           + text::sqlDateLiteral(p.start) + QStringLiteral(" and ") + text::sqlDateLiteral(p.end)
           + QStringLiteral(" and sam.nr_pod=") + QStringLiteral("(select nr_podat from podat where nazskr='") + taxpayer
           + QStringLiteral("') order by NR_REJ, D_ZAK, NR_RACH");
}

QString literalVehicleSql(const data::Period& p, const QString& taxpayer)
{
    return QStringLiteral("select NR_REJ, NR_RODZ_PAL, d_rozp_u, d_zak_u from SAM join podat on sam.nr_pod=podat.nr_podat "
                          "where nazskr='")
           + taxpayer + QStringLiteral("' and ((sam.d_zak_u is null and sam.d_rozp_u <= ") + text::sqlDateLiteral(p.end)
           + QStringLiteral(") or (sam.d_zak_u >= ") + text::sqlDateLiteral(p.start) + QStringLiteral(")) order by NR_REJ");
}

QList<QVariantList> datasetRows(ds::Dataset& d)
{
    QList<QVariantList> rows;
    for (int r = 0; r < d.recordCount(); ++r) {
        QVariantList row;
        for (const auto& f : d.fields())
            if (f->kind() == ds::FieldKind::Data)
                row << f->valueAt(r);
        rows << row;
    }
    return rows;
}

// The rows of a statement in the types the dataset gives them (dates without time).
QList<QVariantList> normalised(const QList<QVariantList>& rows)
{
    QList<QVariantList> result;
    for (QVariantList row : rows) {
        for (QVariant& v : row)
            if (v.metaType() == QMetaType::fromType<QDateTime>())
                v = v.toDateTime().date();
        result << row;
    }
    return result;
}

} // namespace

class TestPurchaseRules : public QObject {
    Q_OBJECT

private slots:
    void letterSearch()
    {
        using common::searchLetter;
        QCOMPARE(searchLetter(QStringLiteral("ł")), std::optional<QChar>(QChar(0x141))); // Ł
        QCOMPARE(searchLetter(QStringLiteral("Ż")), std::optional<QChar>(QChar(0x17B)));
        QCOMPARE(searchLetter(QStringLiteral("q")), std::optional<QChar>(QLatin1Char('Q')));
        for (const char* other : {"7", ",", " ", "é", "ab", ""})
            QVERIFY2(!searchLetter(QString::fromUtf8(other)), other);

        const QStringList names{QStringLiteral("Abakus"), QStringLiteral("lis"), QStringLiteral("łoś"), QStringLiteral("Łódź")};
        QCOMPARE(common::firstItemStartingWith(names, QChar(0x141)), 2);
        QCOMPARE(common::firstItemStartingWith(names, QLatin1Char('L')), 1);
        QCOMPARE(common::firstItemStartingWith(names, QLatin1Char('Z')), -1);
    }

    void boundQueriesGiveTheRowsOfTheLiteralTexts()
    {
        ScreenFixture fx;
        fx.connect();
        Rows rows(*fx.dm);
        rows.taxpayer(1, QStringLiteral("ABC"));
        rows.taxpayer(2, QStringLiteral("O'Brien"));
        rows.taxpayer(3, QStringLiteral("Zeta"));
        rows.vehicle(QStringLiteral("WA100"), 1, diesel, QDate(2010, 1, 1));
        rows.vehicle(QStringLiteral("WA200"), 1, petrol, QDate(2012, 8, 1));                     // starts in II/2012
        rows.vehicle(QStringLiteral("WA300"), 1, diesel, QDate(2012, 8, 1), QDate(2012, 9, 1));  // ends after I starts
        rows.vehicle(QStringLiteral("WA400"), 1, diesel, QDate(2009, 1, 1), QDate(2011, 12, 31));
        rows.vehicle(QStringLiteral("KR1"), 2, diesel, QDate(2010, 1, 1));
        rows.vehicle(QStringLiteral("ZE1"), 3, petrol, QDate(2010, 1, 1));
        int number = 0;
        for (const QDate& day : {QDate(2011, 12, 31), QDate(2012, 1, 1), QDate(2012, 6, 30), QDate(2012, 7, 1),
                                 QDate(2012, 12, 31), QDate(2013, 1, 1), QDate(2013, 12, 31), QDate(2014, 1, 1)}) {
            for (const char* vehicle : {"WA100", "KR1", "ZE1"}) {
                ++number;
                rows.purchase(number, QString::fromLatin1(vehicle), QStringLiteral("F/%1").arg(number), day, 10 * number,
                              vehicle[0] == 'Z' ? petrol : diesel);
            }
        }
        rows.purchase(++number, QStringLiteral("WA100"), QStringLiteral("A/1"), QDate(2012, 3, 1), 5);

        const QList<QPair<int, int>> periods{{2012, 0}, {2012, 1}, {2013, 0}};
        for (const auto& [year, half] : periods) {
            const data::Period p = data::settlementPeriod(year, half);
            for (const QString& taxpayer : {QStringLiteral("ABC"), QStringLiteral("O'Brien"), QStringLiteral("Zeta"),
                                            QStringLiteral("nikt"), QString()}) {
                const QString quoted = QString(taxpayer).replace(QLatin1Char('\''), QStringLiteral("''"));
                const QByteArray what = QStringLiteral("%1/%2 %3").arg(year).arg(half).arg(taxpayer).toUtf8();

                ds::Dataset& zak = fx.dm->IBDS_zak;
                fx.dm->choosePurchases(p, taxpayer);
                zak.open();
                QVERIFY2(datasetRows(zak) == normalised(rows.select(literalPurchaseSql(p, quoted))), what.constData());
                if (taxpayer == QLatin1String("ABC"))
                    QVERIFY2(zak.recordCount() >= 1, what.constData());
                zak.close();

                ds::Dataset& vehicles = fx.dm->IBQ_sam_pod;
                fx.dm->chooseVehicles(p, taxpayer);
                vehicles.open();
                QVERIFY2(datasetRows(vehicles) == normalised(rows.select(literalVehicleSql(p, quoted))), what.constData());
                vehicles.close();
            }
        }

        // The rows of one period, as the screen gets them: the apostrophe needs nothing.
        ds::Dataset& zak = fx.dm->IBDS_zak;
        fx.dm->choosePurchases(data::settlementPeriod(2012, 0), QStringLiteral("O'Brien"));
        zak.open();
        QCOMPARE(zak.recordCount(), 2); // 1 January and 30 June 2012
        zak.close();
        fx.dm->choosePurchases(data::settlementPeriod(2012, 0), QStringLiteral("ABC"));
        zak.open();
        QStringList invoices;
        for (int r = 0; r < zak.recordCount(); ++r)
            invoices << zak.fieldByName(QStringLiteral("NR_RACH")).valueAt(r).toString();
        QCOMPARE(invoices, (QStringList{QStringLiteral("F/4"), QStringLiteral("A/1"), QStringLiteral("F/7")}));
        zak.close();
        fx.close();
    }
};

int runPurchaseRuleTests(int argc, char** argv)
{
    return testsupport::runTestClass<TestPurchaseRules>(argc, argv);
}

} // namespace purchasetest

#include "test_purchase_rules.moc"
