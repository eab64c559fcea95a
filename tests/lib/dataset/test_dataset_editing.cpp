// Opening, navigating and editing datasets, and what a post leaves in the database.
#include <QProcess>

#include <cstdio>
#include <cstdlib>

#include "dataset_fixture.h"
#include "test_main.h"

using namespace dstest;

class TestDatasetEditing : public SampleDatabaseTest {
    Q_OBJECT

private slots:
    void openCloseAndFieldsFromColumns()
    {
        ds::Dataset fuels(u"fuels"_s);
        fuels.setDatabase(&db.connection, &db.transaction);
        fuels.setSelectSql(u"select * from RODZ_PALIWA order by NR"_s);
        QVERIFY(!fuels.isActive());
        QCOMPARE(fuels.state(), ds::DatasetState::Inactive);

        fuels.open();
        QVERIFY(fuels.isActive());
        QCOMPARE(fuels.state(), ds::DatasetState::Browse);
        QCOMPARE(fuels.recordCount(), 3);
        // No fields defined: one per column, in the columns' order, with their types.
        QCOMPARE(fuels.fields().size(), size_t(3));
        QCOMPARE(fuels.fields()[0]->name(), u"NR"_s);
        QCOMPARE(fuels.fields()[0]->type(), FieldType::SmallInt);
        QCOMPARE(fuels.fields()[1]->type(), FieldType::String);
        QCOMPARE(fuels.fields()[1]->size(), 30);
        QCOMPARE(fuels.fields()[2]->type(), FieldType::Decimal);
        QCOMPARE(fuels.fields()[2]->scale(), 4);
        QCOMPARE(fuels.value(u"nr"_s), QVariant(1)); // names without regard to case
        QCOMPARE(fuels.value(u"NAZWA"_s), QVariant(u"benzyna"_s));
        QCOMPARE(fuels.value(u"PRZEL_L_KG"_s), money("0.755"));

        fuels.close();
        QVERIFY(!fuels.isActive());
        QCOMPARE(fuels.state(), ds::DatasetState::Inactive);
        QCOMPARE(fuels.recordCount(), 0);
        QCOMPARE(fuels.recNo(), -1);
        QVERIFY_THROWS_EXCEPTION(ds::Error, fuels.next());
        QVERIFY_THROWS_EXCEPTION(ds::Error, fuels.edit());

        // Another select: the fields made from columns follow it.
        fuels.setSelectSql(u"select NR, NAZWA as NAZWA_PALIWA from RODZ_PALIWA where NR > 1 order by NR"_s);
        fuels.open();
        QCOMPARE(fuels.fields().size(), size_t(2));
        QCOMPARE(fuels.fields()[1]->name(), u"NAZWA_PALIWA"_s);
        QCOMPARE(fuels.value(u"NAZWA_PALIWA"_s), QVariant(u"gaz LPG"_s));
        QVERIFY(!fuels.field(u"PRZEL_L_KG"_s));
        QVERIFY_THROWS_EXCEPTION(ds::Error, fuels.fieldByName(u"PRZEL_L_KG"_s));

        // Dates of a dialect-1 database arrive as timestamps and become date fields.
        ds::Dataset vehicles(u"vehicles"_s);
        vehicles.setDatabase(&db.connection, &db.transaction);
        vehicles.setSelectSql(u"select * from SAM order by NR_REJ desc"_s);
        vehicles.open();
        QCOMPARE(vehicles.fieldByName(u"D_ROZP_U"_s).type(), FieldType::Date);
        QCOMPARE(vehicles.value(u"NR_REJ"_s), QVariant(u"WB222"_s));
        QCOMPARE(vehicles.value(u"D_ROZP_U"_s), QVariant(QDate(2004, 1, 1)));
        QVERIFY(vehicles.fieldByName(u"D_ZAK_U"_s).isNull());
    }

    void definedFieldsAreBoundByName()
    {
        ds::Dataset fuels(u"fuels"_s);
        fuels.setDatabase(&db.connection, &db.transaction);
        fuels.setSelectSql(u"select * from RODZ_PALIWA order by NR"_s);
        // Another order than the columns', another letter case, and not every column.
        fuels.addField(u"PRZEL_L_KG"_s, FieldType::Decimal, 0, 4);
        fuels.addField(u"nazwa"_s, FieldType::String, 30);
        fuels.open();
        QCOMPARE(fuels.fields().size(), size_t(2));
        QCOMPARE(fuels.fields()[0]->name(), u"PRZEL_L_KG"_s);
        QCOMPARE(fuels.fields()[0]->value(), money("0.755"));
        QCOMPARE(fuels.fields()[1]->value(), QVariant(u"benzyna"_s));
        fuels.last();
        QCOMPARE(fuels.fields()[0]->value(), money("0.84"));
        QCOMPARE(fuels.fields()[1]->value(), QVariant(u"olej napędowy"_s));
        QVERIFY(!fuels.field(u"NR"_s));

        // A defined field that the select does not give: the dataset does not open.
        ds::Dataset broken(u"broken"_s);
        broken.setDatabase(&db.connection, &db.transaction);
        broken.setSelectSql(u"select NR, NAZWA from RODZ_PALIWA"_s);
        broken.addField(u"NR"_s, FieldType::SmallInt);
        broken.addField(u"PRZEL_L_KG"_s, FieldType::Decimal, 0, 4);
        const QString message = dsErrorOf([&] { broken.open(); });
        QVERIFY2(message.contains(u"PRZEL_L_KG"_s), qPrintable(message));
        QVERIFY(!broken.isActive());
        QCOMPARE(broken.fields().size(), size_t(2));
    }

    // The select and the change of a row stay prepared from one reading to the next, over new
    // parameters and a closing, and are prepared anew after the connection was opened again.
    void statementsStayPreparedAcrossReadings()
    {
        ds::Dataset vehicles(u"vehicles"_s);
        defineVehicles(vehicles, db);
        // The first vehicle, changed, and the dataset's statements prepared on this attachment
        // (counted in a transaction of its own: each sees the MON$ tables once).
        const auto readAndChange = [&](int taxpayer) {
            vehicles.setParam(u"NR_PODAT"_s, taxpayer);
            vehicles.isActive() ? vehicles.refresh() : vehicles.open();
            vehicles.edit();
            vehicles.fieldByName(u"D_ZAK_U"_s).setText(u"31-12-2010"_s);
            vehicles.post();
            fb::Transaction tr(&db.connection);
            return QVariantList{vehicles.value(u"NR_REJ"_s), testsupport::queryRows(db.connection, tr, u"select count(*) from MON$STATEMENTS "
                "where MON$ATTACHMENT_ID = current_connection and (MON$SQL_TEXT starting with 'select * from SAM' "
                "or MON$SQL_TEXT starting with 'update SAM')"_s)[0][0]};
        };
        QCOMPARE(readAndChange(2), (QVariantList{u"EL333"_s, 2}));
        QCOMPARE(readAndChange(3), (QVariantList{u"EL444"_s, 2}));
        vehicles.close();
        QCOMPARE(readAndChange(2), (QVariantList{u"EL333"_s, 2}));
        const QString path = db.connection.databaseName();
        db.close();
        QVERIFY_THROWS_EXCEPTION(fb::Error, vehicles.refresh());
        db.open(path);
        QCOMPARE(readAndChange(1), (QVariantList{u"WA111"_s, 2}));
        QCOMPARE(db.count(u"SAM"_s, u"D_ZAK_U = '2010-12-31'"_s), 3);
    }

    void navigation()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        fuels.open();
        QCOMPARE(fuels.recNo(), 0);
        QVERIFY(fuels.bof());
        QVERIFY(!fuels.eof());

        fuels.next();
        QCOMPARE(fuels.recNo(), 1);
        QCOMPARE(fuels.value(u"NR"_s), QVariant(2));
        QVERIFY(!fuels.bof());
        fuels.next();
        QCOMPARE(fuels.recNo(), 2);
        QVERIFY(!fuels.eof()); // the end is found by trying to go past the last row
        fuels.next();
        QCOMPARE(fuels.recNo(), 2);
        QVERIFY(fuels.eof());
        QCOMPARE(fuels.value(u"NR"_s), QVariant(3));
        fuels.prior();
        QCOMPARE(fuels.recNo(), 1);
        QVERIFY(!fuels.eof());
        fuels.prior();
        fuels.prior();
        QCOMPARE(fuels.recNo(), 0);
        QVERIFY(fuels.bof());
        fuels.last();
        QCOMPARE(fuels.recNo(), 2);
        QVERIFY(fuels.eof());
        QVERIFY(!fuels.bof());
        fuels.first();
        QCOMPARE(fuels.recNo(), 0);
        QVERIFY(fuels.bof());
        QVERIFY(!fuels.eof());
        fuels.moveTo(1);
        QCOMPARE(fuels.value(u"NAZWA"_s), QVariant(u"gaz LPG"_s));

        QVariantList walked;
        for (fuels.first(); !fuels.eof(); fuels.next())
            walked << fuels.value(u"NR"_s);
        QCOMPARE(walked, (QVariantList{1, 2, 3}));

        // An empty dataset: no current row, at both ends, and moving changes nothing.
        ds::Dataset none(u"none"_s);
        defineFuels(none, db);
        none.setSelectSql(u"select * from RODZ_PALIWA where NR >= 100 order by NR"_s);
        none.open();
        QVERIFY(none.isEmpty());
        QCOMPARE(none.recNo(), -1);
        QVERIFY(none.bof() && none.eof());
        none.first();
        none.next();
        none.last();
        none.prior();
        QCOMPARE(none.recNo(), -1);
        QVERIFY(none.bof() && none.eof());
        QVERIFY(!none.value(u"NR"_s).isValid());
        // It stays so after a new row is given up, and again after its only row is deleted.
        none.append();
        QVERIFY(!none.bof() && !none.eof());
        none.cancel();
        QCOMPARE(none.recNo(), -1);
        QVERIFY(none.bof() && none.eof());
        none.append();
        none.setValue(u"NR"_s, 100);
        none.post();
        QCOMPARE(none.recordCount(), 1);
        none.remove();
        QVERIFY(none.isEmpty());
        QCOMPARE(none.recNo(), -1);
        QVERIFY(none.bof() && none.eof());
        QCOMPARE(db.count(u"RODZ_PALIWA"_s, u"NR = 100"_s), 0);
    }

    void insertAndAppendWriteNewRows()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        fuels.open();
        fuels.moveTo(1);
        fuels.insert();
        QCOMPARE(fuels.state(), ds::DatasetState::Insert);
        QCOMPARE(fuels.recNo(), 1);
        QCOMPARE(columnValues(fuels, u"NR"_s), (QVariantList{1, QVariant(), 2, 3})); // before the current row
        fuels.setValue(u"NR"_s, 10);
        fuels.fieldByName(u"NAZWA"_s).setText(u"etanol"_s);
        fuels.fieldByName(u"PRZEL_L_KG"_s).setText(u"0,79"_s);
        QVERIFY(fuels.isModified());
        fuels.post();
        QCOMPARE(fuels.state(), ds::DatasetState::Browse);
        QVERIFY(!fuels.isModified());
        QCOMPARE(fuels.recNo(), 1);
        QCOMPARE(fuels.value(u"NR"_s), QVariant(10));
        QCOMPARE(columnValues(fuels, u"NR"_s), (QVariantList{1, 10, 2, 3}));
        QCOMPARE(db.rows(u"select NAZWA, PRZEL_L_KG from RODZ_PALIWA where NR = 10"_s),
                 (QList<QVariantList>{{u"etanol"_s, QVariant::fromValue(fb::Numeric{7900, -4})}}));

        fuels.moveTo(0);
        fuels.append();
        QCOMPARE(fuels.recNo(), 4); // at the end, wherever the current row was
        QCOMPARE(fuels.recordCount(), 5);
        fuels.setValue(u"NR"_s, 11);
        fuels.setValue(u"NAZWA"_s, u"wodór"_s);
        fuels.post();
        QCOMPARE(fuels.recNo(), 4);
        QCOMPARE(columnValues(fuels, u"NR"_s), (QVariantList{1, 10, 2, 3, 11}));
        QCOMPARE(db.rows(u"select NAZWA, PRZEL_L_KG from RODZ_PALIWA where NR = 11"_s),
                 (QList<QVariantList>{{u"wodór"_s, QVariant()}})); // a field left empty is stored as null
        QCOMPARE(db.count(u"RODZ_PALIWA"_s), 5);

        fuels.close();
        fuels.open();
        QCOMPARE(columnValues(fuels, u"NR"_s), (QVariantList{1, 2, 3, 10, 11}));
    }

    void editAddressesTheRowByItsOldKey()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        fuels.open();
        fuels.moveTo(1);
        fuels.edit();
        QCOMPARE(fuels.state(), ds::DatasetState::Edit);
        fuels.setValue(u"NR"_s, 20);
        fuels.setValue(u"NAZWA"_s, u"LPG"_s);
        QCOMPARE(fuels.fieldByName(u"NR"_s).oldValue(), QVariant(2));
        QCOMPARE(fuels.fieldByName(u"NR"_s).value(), QVariant(20));
        fuels.post();
        QCOMPARE(fuels.state(), ds::DatasetState::Browse);
        QCOMPARE(fuels.recNo(), 1);
        QCOMPARE(fuels.value(u"NR"_s), QVariant(20));
        const QList<QVariantList> expected{{1, u"benzyna"_s}, {3, u"olej napędowy"_s}, {20, u"LPG"_s}};
        QCOMPARE(db.rows(u"select NR, NAZWA from RODZ_PALIWA order by NR"_s), expected);

        // The next edit of the row finds it under its new key.
        fuels.edit();
        fuels.setValue(u"NAZWA"_s, u"propan-butan"_s);
        fuels.post();
        QCOMPARE(db.rows(u"select NR, NAZWA from RODZ_PALIWA order by NR"_s),
                 (QList<QVariantList>{{1, u"benzyna"_s}, {3, u"olej napędowy"_s}, {20, u"propan-butan"_s}}));

        QCOMPARE(db.scalar(u"select NR_RODZ_PAL from SAM where NR_REJ = 'EL333'"_s), QVariant(20)); // carried over

        // A row deleted behind the dataset's back is not silently "saved".
        fuels.append();
        fuels.setValue(u"NR"_s, 30);
        fuels.post();
        db.exec(u"delete from RODZ_PALIWA where NR = 30"_s);
        fuels.edit();
        fuels.setValue(u"NAZWA"_s, u"nieistniejące"_s);
        QVERIFY(!dsErrorOf([&] { fuels.post(); }).isEmpty());
        QCOMPARE(fuels.state(), ds::DatasetState::Edit);
        fuels.cancel();
    }

    void cancelRestoresRowsAndPosition()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        fuels.open();
        fuels.moveTo(1);
        fuels.insert();
        fuels.setValue(u"NR"_s, 50);
        fuels.cancel();
        QCOMPARE(fuels.state(), ds::DatasetState::Browse);
        QCOMPARE(columnValues(fuels, u"NR"_s), (QVariantList{1, 2, 3}));
        QCOMPARE(fuels.recNo(), 1);
        QCOMPARE(fuels.value(u"NR"_s), QVariant(2));
        QCOMPARE(db.count(u"RODZ_PALIWA"_s, u"NR = 50"_s), 0);

        fuels.append();
        QCOMPARE(fuels.recNo(), 3);
        fuels.cancel();
        QCOMPARE(fuels.recNo(), 1);
        QCOMPARE(fuels.recordCount(), 3);

        fuels.first();
        fuels.edit();
        fuels.setValue(u"NAZWA"_s, u"zmienione"_s);
        fuels.fieldByName(u"PRZEL_L_KG"_s).clear();
        fuels.cancel();
        QCOMPARE(fuels.state(), ds::DatasetState::Browse);
        QVERIFY(!fuels.isModified());
        QCOMPARE(fuels.value(u"NAZWA"_s), QVariant(u"benzyna"_s));
        QCOMPARE(fuels.value(u"PRZEL_L_KG"_s), money("0.755"));
        QCOMPARE(db.scalar(u"select NAZWA from RODZ_PALIWA where NR = 1"_s), QVariant(u"benzyna"_s));
    }

    void editOfEmptyDatasetInsertsAndCheckBrowseMode()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        fuels.setSelectSql(u"select * from RODZ_PALIWA where NR >= 100 order by NR"_s);
        int posts = 0;
        fuels.beforePost = [&](ds::Dataset&) { ++posts; };
        fuels.open();
        fuels.edit();
        QCOMPARE(fuels.state(), ds::DatasetState::Insert);
        QCOMPARE(fuels.recordCount(), 1);
        fuels.setValue(u"NR"_s, 100);
        fuels.setValue(u"NAZWA"_s, u"nowe"_s);
        fuels.post();
        QCOMPARE(db.count(u"RODZ_PALIWA"_s, u"NR = 100"_s), 1);

        // checkBrowseMode posts what was changed...
        fuels.edit();
        fuels.setValue(u"NAZWA"_s, u"zmienione"_s);
        fuels.checkBrowseMode();
        QCOMPARE(fuels.state(), ds::DatasetState::Browse);
        QCOMPARE(db.scalar(u"select NAZWA from RODZ_PALIWA where NR = 100"_s), QVariant(u"zmienione"_s));
        fuels.append();
        fuels.setValue(u"NR"_s, 101);
        fuels.checkBrowseMode();
        QCOMPARE(fuels.state(), ds::DatasetState::Browse);
        QCOMPARE(db.count(u"RODZ_PALIWA"_s, u"NR = 101"_s), 1);
        QCOMPARE(posts, 3);

        // ...and gives up what was not.
        fuels.append();
        fuels.checkBrowseMode();
        QCOMPARE(fuels.state(), ds::DatasetState::Browse);
        QCOMPARE(fuels.recordCount(), 2);
        fuels.edit();
        fuels.checkBrowseMode();
        QCOMPARE(fuels.state(), ds::DatasetState::Browse);
        QCOMPARE(posts, 3);
        QCOMPARE(db.count(u"RODZ_PALIWA"_s, u"NR >= 100"_s), 2);

        // Moving to another row ends the edit the same way.
        fuels.first();
        fuels.edit();
        fuels.setValue(u"NAZWA"_s, u"po przejściu"_s);
        fuels.next();
        QCOMPARE(fuels.state(), ds::DatasetState::Browse);
        QCOMPARE(db.scalar(u"select NAZWA from RODZ_PALIWA where NR = 100"_s), QVariant(u"po przejściu"_s));

        // Closing drops a row that was not posted, new or edited.
        fuels.append();
        fuels.setValue(u"NR"_s, 102);
        fuels.setValue(u"NAZWA"_s, u"porzucone"_s);
        fuels.close();
        QVERIFY(!fuels.isActive());
        QCOMPARE(db.count(u"RODZ_PALIWA"_s, u"NR = 102"_s), 0);
        fuels.open();
        QCOMPARE(fuels.recordCount(), 2);
        fuels.edit();
        fuels.setValue(u"NAZWA"_s, u"porzucone"_s);
        fuels.close();
        QCOMPARE(db.scalar(u"select NAZWA from RODZ_PALIWA where NR = 100"_s), QVariant(u"po przejściu"_s));
    }

    void generatorValueIsDrawnWhenANewRowStarts()
    {
        ds::Dataset purchases(u"purchases"_s);
        definePurchases(purchases, db);
        QVariant numberSeen;
        ds::DatasetState stateSeen = ds::DatasetState::Inactive;
        purchases.onNewRecord = [&](ds::Dataset& d) {
            numberSeen = d.value(u"NR_KOL"_s);
            stateSeen = d.state();
            d.setValue(u"NR_RODZ_PAL"_s, 1);
        };
        purchases.open();
        purchases.append();
        QCOMPARE(numberSeen, QVariant(3)); // the generator stood at 2
        QCOMPARE(stateSeen, ds::DatasetState::Insert);
        QCOMPARE(purchases.value(u"NR_KOL"_s), QVariant(3));
        QCOMPARE(purchases.value(u"NR_RODZ_PAL"_s), QVariant(1));
        QVERIFY(!purchases.isModified()); // defaults of a new row are no change of the user's
        purchases.cancel();

        // The number of the abandoned row is not given again.
        purchases.insert();
        QCOMPARE(numberSeen, QVariant(4));
        purchases.setValue(u"NR_REJ"_s, u"WA111"_s);
        purchases.setValue(u"NR_RACH"_s, u"R/3"_s);
        purchases.fieldByName(u"D_ZAK"_s).setText(u"6-11-2004"_s);
        purchases.setValue(u"IL_ZAK"_s, 10);
        purchases.post();
        QCOMPARE(db.rows(u"select NR_KOL, NR_RACH from ZAK_PAL order by NR_KOL"_s),
                 (QList<QVariantList>{{1, u"R/1"_s}, {2, u"R/2"_s}, {4, u"R/3"_s}}));
        purchases.append();
        QCOMPARE(purchases.value(u"NR_KOL"_s), QVariant(5));
        purchases.cancel();
    }

    void requiredFieldsMustHaveValues()
    {
        ds::Dataset taxpayers(u"taxpayers"_s);
        defineTaxpayers(taxpayers, db);
        taxpayers.open();
        taxpayers.append();
        taxpayers.setValue(u"NR_PODAT"_s, 5);
        taxpayers.setValue(u"NAZSKR"_s, u"GAMMA"_s);
        // Named by the display label...
        QCOMPARE(dsErrorOf([&] { taxpayers.post(); }), u"Field 'NIP podatnika' must have a value"_s);
        QCOMPARE(taxpayers.state(), ds::DatasetState::Insert);
        QCOMPARE(taxpayers.value(u"NAZSKR"_s), QVariant(u"GAMMA"_s));
        QCOMPARE(taxpayers.value(u"NR_PODAT"_s), QVariant(5));
        QCOMPARE(db.count(u"PODAT"_s, u"NR_PODAT = 5"_s), 0);
        // ...an empty text is no value...
        taxpayers.setValue(u"NIP"_s, u""_s);
        QVERIFY(taxpayers.fieldByName(u"NIP"_s).isNull());
        QCOMPARE(dsErrorOf([&] { taxpayers.post(); }), u"Field 'NIP podatnika' must have a value"_s);
        // ...and a field without a label is named by its name.
        taxpayers.setValue(u"NIP"_s, u"555"_s);
        taxpayers.fieldByName(u"NAZSKR"_s).setText(u""_s);
        QCOMPARE(dsErrorOf([&] { taxpayers.post(); }), u"Field 'NAZSKR' must have a value"_s);
        QCOMPARE(taxpayers.state(), ds::DatasetState::Insert);

        taxpayers.setValue(u"NAZSKR"_s, u"GAMMA"_s);
        taxpayers.post();
        QCOMPARE(taxpayers.state(), ds::DatasetState::Browse);
        QCOMPARE(db.rows(u"select NIP, NAZSKR from PODAT where NR_PODAT = 5"_s),
                 (QList<QVariantList>{{u"555"_s, u"GAMMA"_s}}));

        // The same when a row is edited.
        taxpayers.edit();
        taxpayers.fieldByName(u"NIP"_s).clear();
        QCOMPARE(dsErrorOf([&] { taxpayers.post(); }), u"Field 'NIP podatnika' must have a value"_s);
        QCOMPARE(taxpayers.state(), ds::DatasetState::Edit);
        taxpayers.setValue(u"NIP"_s, u"556"_s);
        taxpayers.post();
        QCOMPARE(db.scalar(u"select NIP from PODAT where NR_PODAT = 5"_s), QVariant(u"556"_s));
    }

    void failedPostKeepsTheRowForCorrection()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        int afterPosts = 0;
        fuels.afterPost = [&](ds::Dataset&) { ++afterPosts; };
        fuels.open();
        fuels.append();
        fuels.setValue(u"NR"_s, 2);
        fuels.setValue(u"NAZWA"_s, u"duplikat"_s);
        QString message;
        try {
            fuels.post();
        } catch (const std::exception& e) {
            message = QString::fromUtf8(e.what());
        }
        QVERIFY2(message.contains(u"PRIMARY or UNIQUE KEY"_s) && message.contains(u"PK_RODZ_PALIWA"_s),
                 qPrintable(message));
        QCOMPARE(fuels.state(), ds::DatasetState::Insert);
        QCOMPARE(fuels.value(u"NR"_s), QVariant(2));
        QCOMPARE(fuels.value(u"NAZWA"_s), QVariant(u"duplikat"_s));
        QCOMPARE(fuels.recordCount(), 4);
        QCOMPARE(afterPosts, 0);
        QCOMPARE(db.scalar(u"select NAZWA from RODZ_PALIWA where NR = 2"_s), QVariant(u"gaz LPG"_s));

        fuels.setValue(u"NR"_s, 4);
        fuels.post();
        QCOMPARE(afterPosts, 1);
        QCOMPARE(db.scalar(u"select NAZWA from RODZ_PALIWA where NR = 4"_s), QVariant(u"duplikat"_s));

        // An edit that fails stays an edit of the same row.
        fuels.first();
        fuels.edit();
        fuels.setValue(u"NR"_s, 3);
        QVERIFY_THROWS_EXCEPTION(std::exception, fuels.post());
        QCOMPARE(fuels.state(), ds::DatasetState::Edit);
        QCOMPARE(fuels.fieldByName(u"NR"_s).oldValue(), QVariant(1));
        fuels.setValue(u"NR"_s, 7);
        fuels.post();
        QCOMPARE(db.rows(u"select NR, NAZWA from RODZ_PALIWA order by NR"_s),
                 (QList<QVariantList>{{2, u"gaz LPG"_s}, {3, u"olej napędowy"_s}, {4, u"duplikat"_s}, {7, u"benzyna"_s}}));
    }

    void postedRowsAreCommittedAtOnce()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        fuels.open();

        fb::Connection other;
        other.open(db.connection.databaseName(), testsupport::user(), testsupport::password());
        fb::Transaction otherTransaction(&other);
        // Each look of the other connection is a transaction of its own.
        auto seenByOther = [&](const QString& sql) {
            QVariant v;
            {
                fb::Statement st(other, otherTransaction, sql);
                st.execute();
                if (st.fetch())
                    v = st.value(0);
            }
            otherTransaction.commit();
            return v;
        };

        fuels.append();
        fuels.setValue(u"NR"_s, 9);
        fuels.setValue(u"NAZWA"_s, u"wodór"_s);
        fuels.post();
        QVERIFY(db.transaction.isActive());
        QCOMPARE(seenByOther(u"select NAZWA from RODZ_PALIWA where NR = 9"_s), QVariant(u"wodór"_s));
        fuels.edit();
        fuels.setValue(u"NAZWA"_s, u"wodór sprężony"_s);
        fuels.post();
        QCOMPARE(seenByOther(u"select NAZWA from RODZ_PALIWA where NR = 9"_s), QVariant(u"wodór sprężony"_s));
        fuels.remove();
        QVERIFY(db.transaction.isActive());
        QCOMPARE(seenByOther(u"select count(*) from RODZ_PALIWA where NR = 9"_s).toInt(), 0);

        // With committing after each write switched off, the row waits for the transaction.
        fuels.setCommitAfterWrite(false);
        fuels.append();
        fuels.setValue(u"NR"_s, 8);
        fuels.post();
        QCOMPARE(seenByOther(u"select count(*) from RODZ_PALIWA where NR = 8"_s).toInt(), 0);
        db.transaction.commitRetaining();
        QCOMPARE(seenByOther(u"select count(*) from RODZ_PALIWA where NR = 8"_s).toInt(), 1);
        other.close();

        // What was posted stays when the transaction is rolled back afterwards.
        fuels.setCommitAfterWrite(true);
        fuels.append();
        fuels.setValue(u"NR"_s, 10);
        fuels.post();
        fuels.close();
        db.transaction.rollback();
        QCOMPARE(db.count(u"RODZ_PALIWA"_s, u"NR = 10"_s), 1);
    }

    void postedRowSurvivesTheDeathOfTheProcess()
    {
        const QString path = freshSampleDatabase();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {u"--post-and-wait"_s, path});
        QVERIFY(child.waitForStarted());
        QByteArray output;
        while (!output.contains("posted") && child.waitForReadyRead(60000))
            output += child.readAllStandardOutput();
        QVERIFY2(output.contains("posted"), (output + child.readAllStandardError()).constData());
        child.kill(); // SIGKILL: nothing is closed, committed or rolled back by the child
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        TestDb after;
        after.open(path);
        QCOMPARE(after.rows(u"select NR, NAZWA from RODZ_PALIWA"_s), (QList<QVariantList>{{7, u"po awarii"_s}}));
        after.close();
    }
};

void postRowAndWaitToBeKilled(const QString& databasePath)
{
    TestDb db;
    db.open(databasePath);
    ds::Dataset fuels(u"fuels"_s);
    defineFuels(fuels, db);
    fuels.open();
    fuels.append();
    fuels.setValue(u"NR"_s, 7);
    fuels.setValue(u"NAZWA"_s, u"po awarii"_s);
    fuels.post();
    std::fputs("posted\n", stdout);
    std::fflush(stdout);
    std::getchar(); // the parent kills this process while it waits here
    std::_Exit(3);
}

int runDatasetEditingTests(int argc, char** argv)
{
    return testsupport::runTestClass<TestDatasetEditing>(argc, argv);
}

#include "test_dataset_editing.moc"
