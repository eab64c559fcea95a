// What fields do with values: ranges, display and edit formats, typed text, lookups,
// calculated values, and finding rows by them.
#include "dataset_fixture.h"
#include "test_main.h"

using namespace dstest;

namespace {

// The yearly parameters the way the data module defines them.
void defineParams(ds::Dataset& d, TestDb& db)
{
    d.setDatabase(&db.connection, &db.transaction);
    d.setSelectSql(u"select * from PARAM order by ROK"_s);
    d.setWriteStatements(ds::writeStatementsFor(u"PARAM"_s, {u"ROK"_s, u"PLAC_MIN"_s, u"WSK_PROC"_s}, {u"ROK"_s}));
    d.addField(u"ROK"_s, FieldType::SmallInt).setRequired();
    d.addField(u"PLAC_MIN"_s, FieldType::Float).setRequired().setCurrency()
        .setDisplayLabel(u"Płaca minimalna"_s).setEditFormat(u"#,##0.00"_s);
    d.addField(u"WSK_PROC"_s, FieldType::Decimal, 0, 2)
        .setDisplayLabel(u"Wskaźnik procentowy"_s).setEditFormat(u"#0.00"_s).setRange(25, 50);
}

} // namespace

class TestDatasetFields : public SampleDatabaseTest {
    Q_OBJECT

private slots:
    void rangeRefusesValuesOutside()
    {
        ds::Dataset params(u"params"_s);
        defineParams(params, db);
        params.open();
        params.append();
        params.setValue(u"ROK"_s, 2010);
        params.setValue(u"PLAC_MIN"_s, 1317);
        ds::Field& rate = params.fieldByName(u"WSK_PROC"_s);
        QCOMPARE(dsErrorOf([&] { rate.setValue(60); }),
                 u"60 is not a valid value for field 'Wskaźnik procentowy'. The allowed range is 25 to 50"_s);
        QVERIFY(rate.isNull());
        QCOMPARE(dsErrorOf([&] { rate.setText(u"50,5"_s); }),
                 u"50,5 is not a valid value for field 'Wskaźnik procentowy'. The allowed range is 25 to 50"_s);
        QCOMPARE(dsErrorOf([&] { rate.setValue(24.99); }),
                 u"24,99 is not a valid value for field 'Wskaźnik procentowy'. The allowed range is 25 to 50"_s);
        QVERIFY(rate.isNull());
        rate.setValue(25); // both ends belong to the range
        QCOMPARE(rate.value(), money("25"));
        rate.setValue(50);
        QCOMPARE(rate.value(), money("50"));
        rate.setText(u"37,5"_s);
        params.post();
        QCOMPARE(db.scalar(u"select WSK_PROC from PARAM where ROK = 2010"_s), QVariant::fromValue(fb::Numeric{3750, -2}));

        // Limits with decimals print with the decimal comma; without a label the name is shown.
        rate.setRange(25.5, 50.5).setDisplayLabel(QString());
        params.edit();
        QCOMPARE(dsErrorOf([&] { rate.setValue(60.25); }),
                 u"60,25 is not a valid value for field 'WSK_PROC'. The allowed range is 25,5 to 50,5"_s);
        QCOMPARE(rate.value(), money("37.5")); // the refused value left the field as it was
        QVERIFY(!params.isModified());
        params.cancel();
    }

    void displayAndEditFormats()
    {
        // A four-place decimal with "#0.###".
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        fuels.open();
        ds::Field& factor = fuels.fieldByName(u"PRZEL_L_KG"_s);
        QCOMPARE(factor.displayTextAt(2), u"0,84"_s);
        QCOMPARE(factor.displayTextAt(1), u"0,5"_s);
        QCOMPARE(factor.displayText(), u"0,755"_s);
        QCOMPARE(factor.editText(), u"0,755"_s); // numbers without an edit format edit as shown
        fuels.append();
        factor.setText(u"1,23456"_s);
        QCOMPARE(factor.value(), money("1.2346")); // kept to the field's four places
        QCOMPARE(factor.displayText(), u"1,235"_s);
        fuels.cancel();

        // A float with "######0.00", a date, and typed text.
        ds::Dataset purchases(u"purchases"_s);
        definePurchases(purchases, db);
        purchases.open();
        ds::Field& litres = purchases.fieldByName(u"IL_ZAK"_s);
        ds::Field& date = purchases.fieldByName(u"D_ZAK"_s);
        QCOMPARE(litres.displayText(), u"1234,50"_s);
        QCOMPARE(litres.editText(), u"1234,50"_s);
        QCOMPARE(litres.displayTextAt(1), u"40,00"_s);
        QCOMPARE(date.displayText(), u"05-11-2004"_s);
        QCOMPARE(date.asString(), u"05-11-2004"_s);

        purchases.append();
        purchases.setValue(u"NR_REJ"_s, u"WB222"_s);
        purchases.setValue(u"NR_RACH"_s, u"R/9"_s);
        purchases.fieldByName(u"NR_RODZ_PAL"_s).setText(u"3"_s);
        litres.setText(u"1234,5"_s);
        QCOMPARE(litres.value(), QVariant(1234.5));
        litres.setText(u"1.234,25"_s);
        QCOMPARE(litres.value(), QVariant(1234.25));
        date.setText(u"5-11-2004"_s);
        QCOMPARE(date.value(), QVariant(QDate(2004, 11, 5)));
        QCOMPARE(date.displayText(), u"05-11-2004"_s);
        purchases.post();
        const QList<QVariantList> stored = db.rows(u"select D_ZAK, IL_ZAK, NR_RODZ_PAL from ZAK_PAL where NR_KOL = 3"_s);
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0][0].toDateTime().date(), QDate(2004, 11, 5));
        QCOMPARE(stored[0][1], QVariant(1234.25));
        QCOMPARE(stored[0][2], QVariant(3));

        // Text that is not a value of the field's type is refused, and the value stays.
        purchases.edit();
        QVERIFY(!dsErrorOf([&] { litres.setText(u"12x"_s); }).isEmpty());
        QVERIFY(!dsErrorOf([&] { date.setText(u"31-02-2004"_s); }).isEmpty());
        QVERIFY(!dsErrorOf([&] { date.setText(u"jutro"_s); }).isEmpty());
        QVERIFY(!dsErrorOf([&] { purchases.fieldByName(u"NR_RODZ_PAL"_s).setText(u"1,5"_s); }).isEmpty());
        QVERIFY(!dsErrorOf([&] { purchases.setValue(u"NR_RACH"_s, QString(21, u'x')); }).isEmpty());
        QCOMPARE(litres.value(), QVariant(1234.25));
        QCOMPARE(date.value(), QVariant(QDate(2004, 11, 5)));
        QCOMPARE(purchases.value(u"NR_RODZ_PAL"_s), QVariant(3));
        QCOMPARE(purchases.value(u"NR_RACH"_s), QVariant(u"R/9"_s));
        QVERIFY(!purchases.isModified());
        purchases.cancel();

        // A currency float, and a decimal with an edit format only.
        db.exec(u"insert into PARAM values (2009, 1234.56, 50)"_s);
        ds::Dataset params(u"params"_s);
        defineParams(params, db);
        params.open();
        QCOMPARE(params.fieldByName(u"PLAC_MIN"_s).displayText(), u"1.234,56 zł"_s);
        QCOMPARE(params.fieldByName(u"PLAC_MIN"_s).editText(), u"1.234,56"_s);
        QCOMPARE(params.fieldByName(u"WSK_PROC"_s).displayText(), u"50"_s);
        QCOMPARE(params.fieldByName(u"WSK_PROC"_s).editText(), u"50,00"_s);
        params.edit();
        params.fieldByName(u"PLAC_MIN"_s).setText(u"1.317,00"_s);
        QCOMPARE(params.value(u"PLAC_MIN"_s), QVariant(1317.0));
        params.post();
        QCOMPARE(db.scalar(u"select PLAC_MIN from PARAM where ROK = 2009"_s), QVariant(1317.0));
    }

    void lookupFields()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        ds::Dataset vehicles(u"vehicles"_s);
        defineVehicles(vehicles, db);
        vehicles.setSelectSql(u"select * from SAM order by NR_REJ"_s); // EL333, EL444, WA111, WB222
        vehicles.addLookupField(u"naz_pal"_s, FieldType::String, 30, u"NR_RODZ_PAL"_s, &fuels, u"NR"_s, u"NAZWA"_s)
            .setDisplayLabel(u"Rodzaj paliwa"_s);
        vehicles.open();
        ds::Field& fuelName = vehicles.fieldByName(u"naz_pal"_s);

        // Only an open lookup dataset gives values.
        QVERIFY(fuelName.isNull());
        QCOMPARE(fuelName.displayTextAt(3), QString());
        fuels.open();
        QCOMPARE(fuelName.value(), QVariant(u"gaz LPG"_s));
        QCOMPARE(columnValues(vehicles, u"naz_pal"_s),
                 (QVariantList{u"gaz LPG"_s, u"benzyna"_s, u"benzyna"_s, u"olej napędowy"_s}));
        fuels.close();
        QVERIFY(fuelName.isNull());
        QVERIFY(!fuelName.valueAt(3).isValid());
        fuels.open();

        // A key set directly shows its row at once; choosing a shown value chooses the key.
        vehicles.edit();
        vehicles.setValue(u"NR_RODZ_PAL"_s, 1);
        QCOMPARE(fuelName.value(), QVariant(u"benzyna"_s));
        fuelName.setValue(u"olej napędowy"_s);
        QCOMPARE(vehicles.value(u"NR_RODZ_PAL"_s), QVariant(3));
        QVERIFY(!dsErrorOf([&] { fuelName.setValue(u"wodór"_s); }).isEmpty());
        QCOMPARE(vehicles.value(u"NR_RODZ_PAL"_s), QVariant(3));
        vehicles.post();
        QCOMPARE(db.scalar(u"select NR_RODZ_PAL from SAM where NR_REJ = 'EL333'"_s), QVariant(3));
        QCOMPARE(fuelName.value(), QVariant(u"olej napędowy"_s));

        // A change of the looked-up row shows at once.
        fuels.last();
        fuels.edit();
        fuels.setValue(u"NAZWA"_s, u"diesel"_s);
        fuels.post();
        QCOMPARE(fuelName.value(), QVariant(u"diesel"_s));
        QCOMPARE(fuelName.displayTextAt(3), u"diesel"_s);
        // So does a key changed and then given up.
        fuels.edit();
        fuels.setValue(u"NR"_s, 9);
        QVERIFY(fuelName.isNull());
        fuels.cancel();
        QCOMPARE(fuelName.value(), QVariant(u"diesel"_s));
        // Clearing the shown value clears the key.
        vehicles.edit();
        fuelName.clear();
        QVERIFY(vehicles.fieldByName(u"NR_RODZ_PAL"_s).isNull());
        vehicles.cancel();
        QCOMPARE(vehicles.value(u"NR_RODZ_PAL"_s), QVariant(3));
    }

    void calculatedFields()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        fuels.open();
        ds::Dataset purchases(u"purchases"_s);
        definePurchases(purchases, db);
        purchases.addCalculatedField(u"kg"_s, FieldType::Float).setDisplayFormat(u"###0.000"_s);
        int calls = 0;
        purchases.onCalcFields = [&](ds::Dataset& d) {
            ++calls;
            const QVariant factor = fuels.lookup({u"NR"_s}, {d.value(u"NR_RODZ_PAL"_s)}, u"PRZEL_L_KG"_s);
            d.setValue(u"kg"_s, d.fieldByName(u"IL_ZAK"_s).asFloat() * factor.value<text::Money>().toDouble());
        };
        purchases.open();
        QCOMPARE(calls, 2); // once for each row fetched
        ds::Field& kg = purchases.fieldByName(u"kg"_s);
        QCOMPARE(kg.value().toDouble(), 1234.5 * 0.755);
        QCOMPARE(kg.valueAt(1).toDouble(), 40 * 0.84);
        QCOMPARE(kg.displayTextAt(1), u"33,600"_s);

        // In an edit, a change of a field computes again at once; cancel brings the old values.
        purchases.edit();
        const int before = calls;
        purchases.setValue(u"IL_ZAK"_s, 100);
        QVERIFY(calls > before);
        QCOMPARE(kg.value().toDouble(), 75.5);
        purchases.setValue(u"NR_RODZ_PAL"_s, 3);
        QCOMPARE(kg.value().toDouble(), 84.0);
        QVERIFY(!dsErrorOf([&] { kg.setValue(1.0); }).isEmpty()); // computed, not entered
        purchases.cancel();
        QCOMPARE(kg.value().toDouble(), 1234.5 * 0.755);

        // Posting writes the data fields only and keeps the computed value current.
        purchases.edit();
        purchases.setValue(u"IL_ZAK"_s, 10);
        purchases.post();
        QCOMPARE(kg.value().toDouble(), 7.55);
        QCOMPARE(db.scalar(u"select IL_ZAK from ZAK_PAL where NR_KOL = 1"_s), QVariant(10.0));

        // A new row is computed too.
        purchases.append();
        QCOMPARE(kg.value(), QVariant(0.0));
        purchases.cancel();

        calls = 0;
        purchases.close();
        purchases.open();
        QCOMPARE(calls, 2);
    }

    void locateFindsRows()
    {
        ds::Dataset taxpayers(u"taxpayers"_s);
        defineTaxpayers(taxpayers, db); // 1 ALFA, 2 ŁÓDKA, 3 ŁÓDŹ SA, 4 BETA
        int scrolls = 0;
        taxpayers.afterScroll = [&](ds::Dataset&) { ++scrolls; };
        taxpayers.open();
        QVERIFY(taxpayers.locate(u"NAZSKR"_s, u"BETA"_s));
        QCOMPARE(taxpayers.recNo(), 3);
        QVERIFY(taxpayers.locate(u"NR_PODAT"_s, 2));
        QCOMPARE(taxpayers.value(u"NAZSKR"_s), QVariant(u"ŁÓDKA"_s));
        QVERIFY(taxpayers.locate(u"NR_PODAT"_s, u"3"_s)); // a key given as text
        QCOMPARE(taxpayers.recNo(), 2);

        // Exact by default: neither another letter case nor a beginning; a failure stays put.
        taxpayers.moveTo(1);
        const int scrollsBefore = scrolls;
        QVERIFY(!taxpayers.locate(u"NAZSKR"_s, u"beta"_s));
        QVERIFY(!taxpayers.locate(u"NAZSKR"_s, u"BE"_s));
        QVERIFY(!taxpayers.locate(u"NR_PODAT"_s, 9));
        QCOMPARE(taxpayers.recNo(), 1);
        QCOMPARE(scrolls, scrollsBefore);

        const ds::LocateOptions anyCase{.caseInsensitive = true};
        const ds::LocateOptions beginning{.partialKey = true};
        const ds::LocateOptions both{.caseInsensitive = true, .partialKey = true};
        QVERIFY(taxpayers.locate(u"NAZSKR"_s, u"beta"_s, anyCase));
        QCOMPARE(taxpayers.recNo(), 3);
        QVERIFY(!taxpayers.locate(u"NAZSKR"_s, u"BE"_s, anyCase));
        QVERIFY(taxpayers.locate(u"NAZSKR"_s, u"AL"_s, beginning));
        QCOMPARE(taxpayers.recNo(), 0);
        QVERIFY(!taxpayers.locate(u"NAZSKR"_s, u"al"_s, beginning));
        QCOMPARE(taxpayers.recNo(), 0);

        // Polish letters: "łódź" begins "ŁÓDŹ SA" but not "ŁÓDKA".
        QVERIFY(taxpayers.locate(u"NAZSKR"_s, u"łódź"_s, both));
        QCOMPARE(taxpayers.value(u"NR_PODAT"_s), QVariant(3));
        QVERIFY(taxpayers.locate(u"NAZSKR"_s, u"łódk"_s, both));
        QCOMPARE(taxpayers.value(u"NR_PODAT"_s), QVariant(2));
        QVERIFY(!taxpayers.locate(u"NAZSKR"_s, u"łódź"_s, beginning));
        QVERIFY(taxpayers.locate(u"NAZSKR"_s, u"łódź sa"_s, anyCase));
        QCOMPARE(taxpayers.value(u"NR_PODAT"_s), QVariant(3));

        // Several fields must all match.
        QVERIFY(taxpayers.locate(QStringList{u"NR_PODAT"_s, u"NAZSKR"_s}, QVariantList{4, u"BETA"_s}));
        QCOMPARE(taxpayers.recNo(), 3);
        QVERIFY(!taxpayers.locate(QStringList{u"NR_PODAT"_s, u"NAZSKR"_s}, QVariantList{1, u"BETA"_s}));
        QCOMPARE(taxpayers.recNo(), 3);

        // A row being edited is posted before the search moves away from it.
        taxpayers.edit();
        taxpayers.setValue(u"NAZWA"_s, u"Beta sp. j."_s);
        QVERIFY(taxpayers.locate(u"NR_PODAT"_s, 1));
        QCOMPARE(taxpayers.state(), ds::DatasetState::Browse);
        QCOMPARE(db.scalar(u"select NAZWA from PODAT where NR_PODAT = 4"_s), QVariant(u"Beta sp. j."_s));
    }

    void sortByReordersBufferedRows()
    {
        db.exec(u"insert into PODAT (NR_PODAT, NIP, NAZSKR) values (5, '555', 'ĆMA')"_s);
        ds::Dataset taxpayers(u"taxpayers"_s);
        defineTaxpayers(taxpayers, db);
        taxpayers.open();
        taxpayers.locate(u"NR_PODAT"_s, 3);
        taxpayers.sortBy({{u"NAZSKR"_s, true}});
        // Polish alphabetical order: C < Ć < D ... L < Ł < M.
        QCOMPARE(columnValues(taxpayers, u"NAZSKR"_s),
                 (QVariantList{u"ALFA"_s, u"BETA"_s, u"ĆMA"_s, u"ŁÓDKA"_s, u"ŁÓDŹ SA"_s}));
        QCOMPARE(taxpayers.value(u"NR_PODAT"_s), QVariant(3)); // the same row stays current
        taxpayers.sortBy({{u"NR_PODAT"_s, false}});
        QCOMPARE(columnValues(taxpayers, u"NR_PODAT"_s), (QVariantList{5, 4, 3, 2, 1}));
        QCOMPARE(taxpayers.value(u"NR_PODAT"_s), QVariant(3));
        // The order holds when the rows are read again, until it is taken back.
        taxpayers.refresh();
        QCOMPARE(columnValues(taxpayers, u"NR_PODAT"_s), (QVariantList{5, 4, 3, 2, 1}));
        taxpayers.sortBy({});
        QCOMPARE(columnValues(taxpayers, u"NR_PODAT"_s), (QVariantList{1, 2, 3, 4, 5}));
        QCOMPARE(taxpayers.value(u"NR_PODAT"_s), QVariant(3));
        QVERIFY_THROWS_EXCEPTION(ds::Error, taxpayers.sortBy({{u"NOPE"_s, true}}));

        // An order given to a closed dataset applies when it opens.
        taxpayers.close();
        taxpayers.sortBy({{u"NAZSKR"_s, false}});
        taxpayers.open();
        QCOMPARE(columnValues(taxpayers, u"NR_PODAT"_s), (QVariantList{3, 2, 5, 4, 1}));
        QCOMPARE(taxpayers.recNo(), 0);
        taxpayers.close();
        taxpayers.sortBy({});
        taxpayers.open();
        QCOMPARE(columnValues(taxpayers, u"NR_PODAT"_s), (QVariantList{1, 2, 3, 4, 5}));
    }

    // A posted row takes its place in the order shown and stays the current row: the select's
    // order said again for a new row started at the top, a title's order for an edited one.
    void postedRowTakesItsPlace()
    {
        ds::Dataset taxpayers(u"taxpayers"_s);
        defineTaxpayers(taxpayers, db);
        taxpayers.setRowOrder({{u"NR_PODAT"_s, true}});
        taxpayers.open();
        taxpayers.insert();
        taxpayers.setValue(u"NR_PODAT"_s, 5);
        taxpayers.setValue(u"NIP"_s, u"5"_s);
        taxpayers.setValue(u"NAZSKR"_s, u"CEZAR"_s);
        taxpayers.post();
        QCOMPARE(columnValues(taxpayers, u"NR_PODAT"_s), (QVariantList{1, 2, 3, 4, 5}));
        QCOMPARE(taxpayers.recNo(), 4);
        taxpayers.sortBy({{u"NAZSKR"_s, true}});
        taxpayers.locate(u"NR_PODAT"_s, 1);
        taxpayers.edit();
        taxpayers.setValue(u"NAZSKR"_s, u"ZETA"_s);
        taxpayers.post();
        QCOMPARE(columnValues(taxpayers, u"NR_PODAT"_s), (QVariantList{4, 5, 2, 3, 1}));
        QCOMPARE(taxpayers.value(u"NR_PODAT"_s), QVariant(1));
    }
};

int runDatasetFieldTests(int argc, char** argv)
{
    return testsupport::runTestClass<TestDatasetFields>(argc, argv);
}

#include "test_dataset_fields.moc"
