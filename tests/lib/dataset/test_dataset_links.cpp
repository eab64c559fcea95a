// Datasets tied to others: master and detail, events and the data sources that hear of
// changes, and the table model that shows a dataset in a view.
#include <QSignalSpy>

#include "dataset/dataset_model.h"
#include "dataset_fixture.h"
#include "test_main.h"

using namespace dstest;

namespace {

QString stateName(ds::DatasetState s)
{
    switch (s) {
    case ds::DatasetState::Inactive: return u"Inactive"_s;
    case ds::DatasetState::Browse: return u"Browse"_s;
    case ds::DatasetState::Edit: return u"Edit"_s;
    case ds::DatasetState::Insert: return u"Insert"_s;
    case ds::DatasetState::CalcFields: return u"CalcFields"_s;
    }
    return {};
}

// The entries of `log` that start with one of `prefixes`, in order.
QStringList only(const QStringList& log, const QStringList& prefixes)
{
    QStringList out;
    for (const QString& entry : log)
        for (const QString& p : prefixes)
            if (entry.startsWith(p)) {
                out << entry;
                break;
            }
    return out;
}

} // namespace

class TestDatasetLinks : public SampleDatabaseTest {
    Q_OBJECT

private slots:
    void detailFollowsMaster()
    {
        ds::Dataset taxpayers(u"taxpayers"_s);
        defineTaxpayers(taxpayers, db);
        ds::DataSource taxpayerSource(u"DS_pod"_s, &taxpayers);
        ds::Dataset vehicles(u"vehicles"_s);
        defineVehicles(vehicles, db);
        vehicles.setMasterSource(&taxpayerSource, {{u"NR_PODAT"_s, u"NR_PODAT"_s}});
        taxpayers.open();
        vehicles.open();
        QCOMPARE(vehicles.param(u"NR_PODAT"_s), QVariant(1));
        QCOMPARE(columnValues(vehicles, u"NR_REJ"_s), (QVariantList{u"WA111"_s, u"WB222"_s}));
        QCOMPARE(vehicles.recNo(), 0);

        taxpayers.next();
        QCOMPARE(columnValues(vehicles, u"NR_REJ"_s), (QVariantList{u"EL333"_s}));
        QVERIFY(taxpayers.locate(u"NR_PODAT"_s, 4)); // a taxpayer without vehicles
        QVERIFY(vehicles.isEmpty());
        QCOMPARE(vehicles.recNo(), -1);
        QVERIFY(vehicles.bof() && vehicles.eof());
        QVERIFY(taxpayers.locate(u"NR_PODAT"_s, 3));
        QCOMPARE(columnValues(vehicles, u"NR_REJ"_s), (QVariantList{u"EL444"_s}));
        taxpayers.first();
        QCOMPARE(columnValues(vehicles, u"NR_REJ"_s), (QVariantList{u"WA111"_s, u"WB222"_s}));

        // A detail row being edited is posted before the detail follows its master.
        vehicles.next();
        vehicles.edit();
        vehicles.fieldByName(u"D_ZAK_U"_s).setText(u"31-12-2006"_s);
        taxpayers.next();
        QCOMPARE(vehicles.state(), ds::DatasetState::Browse);
        QCOMPARE(db.scalar(u"select D_ZAK_U from SAM where NR_REJ = 'WB222'"_s).toDateTime().date(), QDate(2006, 12, 31));
        QCOMPARE(columnValues(vehicles, u"NR_REJ"_s), (QVariantList{u"EL333"_s}));

        // The master read again: the detail is read again too.
        db.exec(u"insert into SAM values ('EL555', 2, 1, 1, '2005-01-01', null)"_s);
        taxpayers.refresh();
        QCOMPARE(columnValues(vehicles, u"NR_REJ"_s), (QVariantList{u"EL333"_s, u"EL555"_s}));

        // A closed or empty master: the detail shows nothing.
        taxpayers.close();
        QVERIFY(vehicles.isEmpty());
        vehicles.close();
        vehicles.open();
        QVERIFY(vehicles.isEmpty());
        ds::Dataset nobody(u"nobody"_s);
        defineTaxpayers(nobody, db, u"select * from PODAT where NR_PODAT > 100"_s);
        ds::DataSource nobodySource(u"DS_nobody"_s, &nobody);
        vehicles.close();
        vehicles.setMasterSource(&nobodySource, {{u"NR_PODAT"_s, u"NR_PODAT"_s}});
        nobody.open();
        vehicles.open();
        QVERIFY(vehicles.isEmpty());
        QVERIFY(!vehicles.param(u"NR_PODAT"_s).isValid());
        // The detail left its old master: moving that one changes nothing any more.
        taxpayers.open();
        taxpayers.last();
        QVERIFY(vehicles.isEmpty());
    }

    // Closing is cleanup and never throws, even when nothing more can be read; a detail that
    // cannot follow its master while the user works says so once, to the caller.
    void closingNeverThrows()
    {
        ds::Dataset taxpayers(u"taxpayers"_s);
        defineTaxpayers(taxpayers, db);
        ds::DataSource taxpayerSource(u"DS_pod"_s, &taxpayers);
        ds::Dataset vehicles(u"vehicles"_s);
        defineVehicles(vehicles, db);
        // The vehicles of the second taxpayer cannot be read: their query divides by zero.
        vehicles.setSelectSql(u"select * from SAM where NR_POD = :NR_PODAT and 1 / (NR_POD - 2) > -9"_s);
        vehicles.setMasterSource(&taxpayerSource, {{u"NR_PODAT"_s, u"NR_PODAT"_s}});
        taxpayers.open();
        vehicles.open();
        QVERIFY_THROWS_EXCEPTION(std::exception, taxpayers.next());
        taxpayers.beforeClose = [](ds::Dataset&) { throw ds::Error(u"refused"_s); };
        taxpayers.close();
        QVERIFY(!taxpayers.isActive());
        QVERIFY(vehicles.isEmpty());
        vehicles.close();
        QVERIFY(!vehicles.isActive());
    }

    void detailFollowsRenumberedMaster()
    {
        ds::Dataset taxpayers(u"taxpayers"_s);
        defineTaxpayers(taxpayers, db);
        ds::DataSource taxpayerSource(u"DS_podat"_s, &taxpayers);
        ds::Dataset vehicles(u"vehicles"_s);
        defineVehicles(vehicles, db);
        vehicles.setMasterSource(&taxpayerSource, {{u"NR_PODAT"_s, u"NR_PODAT"_s}});
        taxpayers.open();
        vehicles.open();
        vehicles.last();

        // The database carries the new number over to the vehicles; the detail shows it.
        taxpayers.edit();
        taxpayers.setValue(u"NR_PODAT"_s, 7);
        taxpayers.post();
        QCOMPARE(db.count(u"SAM"_s, u"NR_POD = 7"_s), 2);
        QCOMPARE(vehicles.param(u"NR_PODAT"_s), QVariant(7));
        QCOMPARE(columnValues(vehicles, u"NR_POD"_s), (QVariantList{7, 7}));
        // So a vehicle can still be edited: its row does not carry the old number back.
        vehicles.edit();
        vehicles.fieldByName(u"D_ZAK_U"_s).setText(u"1-1-2007"_s);
        vehicles.post();
        QCOMPARE(db.rows(u"select NR_POD, D_ZAK_U from SAM where NR_REJ = 'WA111'"_s).value(0).value(0), QVariant(7));

        // A post that keeps the master's key leaves the detail where it was.
        vehicles.last();
        taxpayers.edit();
        taxpayers.setValue(u"NAZWA"_s, u"Alfa S.A."_s);
        taxpayers.post();
        QCOMPARE(vehicles.recNo(), 1);
    }

    void eventsRunInOrder()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        ds::DataSource source(u"ds_pal"_s, &fuels);
        QStringList log;
        auto handler = [&log](const QString& name) {
            return [&log, name](ds::Dataset& d) { log << name + u' ' + stateName(d.state()); };
        };
        fuels.beforeInsert = handler(u"beforeInsert"_s);
        fuels.onNewRecord = handler(u"onNewRecord"_s);
        fuels.beforeEdit = handler(u"beforeEdit"_s);
        fuels.afterCancel = handler(u"afterCancel"_s);
        fuels.beforePost = [&](ds::Dataset& d) {
            log << u"beforePost %1 in database %2"_s.arg(stateName(d.state())).arg(db.count(u"RODZ_PALIWA"_s, u"NR = 9"_s));
        };
        fuels.afterPost = [&](ds::Dataset& d) {
            log << u"afterPost %1 in database %2"_s.arg(stateName(d.state())).arg(db.count(u"RODZ_PALIWA"_s, u"NR = 9"_s));
        };
        fuels.beforeDelete = [&](ds::Dataset& d) {
            log << u"beforeDelete %1 in database %2"_s.arg(d.value(u"NR"_s).toInt()).arg(db.count(u"RODZ_PALIWA"_s, u"NR = 9"_s));
        };
        fuels.afterDelete = [&](ds::Dataset& d) {
            log << u"afterDelete rows %1 in database %2"_s.arg(d.recordCount()).arg(db.count(u"RODZ_PALIWA"_s, u"NR = 9"_s));
        };
        fuels.fieldByName(u"NAZWA"_s).onChange = [&](ds::Field& f) { log << u"change "_s + f.name() + u'=' + f.asString(); };
        source.onDataChange = [&](ds::DataSource&, ds::Field* f) { log << u"data "_s + (f ? f->name() : u"-"_s); };
        const QStringList handlers{u"before"_s, u"after"_s, u"onNew"_s};
        fuels.open();
        QCOMPARE(log.last(), u"data -"_s); // the data sources heard of the opening

        log.clear();
        fuels.append();
        QCOMPARE(only(log, handlers), (QStringList{u"beforeInsert Browse"_s, u"onNewRecord Insert"_s}));
        QVERIFY(log.indexOf(u"data -"_s) > log.indexOf(u"onNewRecord Insert"_s));
        fuels.setValue(u"NR"_s, 9);

        // The field's own reaction comes first, then the data sources, for the same change.
        log.clear();
        fuels.setValue(u"NAZWA"_s, u"wodór"_s);
        QCOMPARE(log, (QStringList{u"change NAZWA=wodór"_s, u"data NAZWA"_s}));
        // Suspended by a blocker (nested ones too), the reaction stays attached for later.
        log.clear();
        {
            const ds::Field::ReactionBlocker outer(fuels.fieldByName(u"NAZWA"_s));
            {
                const ds::Field::ReactionBlocker inner(fuels.fieldByName(u"NAZWA"_s));
            }
            fuels.setValue(u"NAZWA"_s, u"hel"_s);
        }
        fuels.setValue(u"NAZWA"_s, u"wodór"_s);
        QCOMPARE(log, (QStringList{u"data NAZWA"_s, u"change NAZWA=wodór"_s, u"data NAZWA"_s}));

        log.clear();
        fuels.post();
        QCOMPARE(only(log, handlers), (QStringList{u"beforePost Insert in database 0"_s, u"afterPost Browse in database 1"_s}));
        QVERIFY(log.contains(u"data -"_s));

        log.clear();
        fuels.edit();
        fuels.setValue(u"NAZWA"_s, u"H2"_s);
        fuels.cancel();
        QCOMPARE(only(log, handlers), (QStringList{u"beforeEdit Browse"_s, u"afterCancel Browse"_s}));
        QCOMPARE(fuels.value(u"NAZWA"_s), QVariant(u"wodór"_s));

        log.clear();
        fuels.remove();
        QCOMPARE(only(log, handlers), (QStringList{u"beforeDelete 9 in database 1"_s, u"afterDelete rows 3 in database 0"_s}));

        // A handler that throws stops what it precedes.
        fuels.beforePost = [](ds::Dataset&) { throw ds::Error(u"nie teraz"_s); };
        fuels.append();
        fuels.setValue(u"NR"_s, 9);
        QCOMPARE(dsErrorOf([&] { fuels.post(); }), u"nie teraz"_s);
        QCOMPARE(fuels.state(), ds::DatasetState::Insert);
        fuels.cancel();
        QCOMPARE(db.count(u"RODZ_PALIWA"_s, u"NR = 9"_s), 0);
        fuels.beforeEdit = [](ds::Dataset&) { throw ds::Error(u"nie teraz"_s); };
        QVERIFY(!dsErrorOf([&] { fuels.edit(); }).isEmpty());
        QCOMPARE(fuels.state(), ds::DatasetState::Browse);
        fuels.beforeDelete = [](ds::Dataset&) { throw ds::Error(u"nie teraz"_s); };
        QVERIFY(!dsErrorOf([&] { fuels.remove(); }).isEmpty());
        QCOMPARE(fuels.recordCount(), 3);
        QCOMPARE(db.count(u"RODZ_PALIWA"_s), 3);
    }

    void disabledControlsHearOneChangeWhenEnabled()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        ds::DataSource source(u"ds_pal"_s, &fuels);
        QList<ds::Field*> dataChanges;
        QList<ds::DatasetState> stateChanges;
        source.onDataChange = [&](ds::DataSource&, ds::Field* f) { dataChanges << f; };
        source.onStateChange = [&](ds::DataSource& s) { stateChanges << s.dataset()->state(); };
        fuels.open();
        dataChanges.clear();
        stateChanges.clear();
        fuels.next();
        QCOMPARE(dataChanges.size(), 1); // a scroll is heard

        dataChanges.clear();
        fuels.disableControls();
        QVERIFY(fuels.controlsDisabled());
        fuels.next();
        fuels.edit();
        fuels.setValue(u"NAZWA"_s, u"ciche"_s);
        fuels.post();
        fuels.first();
        fuels.disableControls();
        fuels.last();
        fuels.enableControls();
        QVERIFY(fuels.controlsDisabled());
        QVERIFY(dataChanges.isEmpty());
        QVERIFY(stateChanges.isEmpty());
        fuels.enableControls();
        QVERIFY(!fuels.controlsDisabled());
        QCOMPARE(dataChanges, (QList<ds::Field*>{nullptr}));
        QVERIFY(stateChanges.isEmpty()); // the state is what it was
        QCOMPARE(db.scalar(u"select NAZWA from RODZ_PALIWA where NR = 3"_s), QVariant(u"ciche"_s));
        fuels.enableControls(); // one too many changes nothing
        QCOMPARE(dataChanges.size(), 1);

        // A state changed while the controls were off is told when they are on again.
        dataChanges.clear();
        fuels.disableControls();
        fuels.append();
        fuels.enableControls();
        QCOMPARE(stateChanges, (QList<ds::DatasetState>{ds::DatasetState::Insert}));
        QCOMPARE(dataChanges, (QList<ds::Field*>{nullptr}));
        fuels.cancel();
    }

    void modelShowsAndEditsRows()
    {
        ds::Dataset fuels(u"fuels"_s);
        defineFuels(fuels, db);
        ds::Dataset purchases(u"purchases"_s);
        definePurchases(purchases, db);
        purchases.addLookupField(u"nazpal"_s, FieldType::String, 30, u"NR_RODZ_PAL"_s, &fuels, u"NR"_s, u"NAZWA"_s)
            .setDisplayLabel(u"Rodzaj paliwa"_s);
        purchases.field(u"NR_RACH"_s)->setDisplayLabel(QString());
        ds::DataSource source(u"DS_zak"_s, &purchases);
        ds::DatasetModel model(&source);
        fuels.open();
        purchases.open();

        // Hidden fields (NR_REJ, NR_RODZ_PAL) are no columns; titles are the display labels.
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.columnCount(), 5);
        QStringList titles;
        for (int c = 0; c < model.columnCount(); ++c)
            titles << model.headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{u"Nr kolejny"_s, u"NR_RACH"_s, u"Data zakupu"_s, u"Ilość (w l)"_s, u"Rodzaj paliwa"_s}));
        QCOMPARE(model.data(model.index(0, 1)), QVariant(u"R/1"_s));
        QCOMPARE(model.data(model.index(0, 2)), QVariant(u"05-11-2004"_s));
        QCOMPARE(model.data(model.index(0, 3)), QVariant(u"1234,50"_s));
        QCOMPARE(model.data(model.index(1, 3)), QVariant(u"40,00"_s));
        QCOMPARE(model.data(model.index(1, 4)), QVariant(u"olej napędowy"_s));
        QCOMPARE(model.data(model.index(0, 3), Qt::EditRole), QVariant(u"1234,50"_s));
        QVERIFY(model.flags(model.index(0, 3)) & Qt::ItemIsEditable);

        // An edit moves to the row, starts editing it and sets the typed value.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.setData(model.index(1, 3), u"55,5"_s));
        QCOMPARE(purchases.recNo(), 1);
        QCOMPARE(purchases.state(), ds::DatasetState::Edit);
        QCOMPARE(purchases.value(u"IL_ZAK"_s), QVariant(55.5));
        QCOMPARE(model.data(model.index(1, 3)), QVariant(u"55,50"_s));
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.last().at(0).value<QModelIndex>().row(), 1);
        // An edit of another row posts this one first.
        QVERIFY(model.setData(model.index(0, 1), u"R/1a"_s));
        QCOMPARE(purchases.recNo(), 0);
        QCOMPARE(purchases.state(), ds::DatasetState::Edit);
        QCOMPARE(db.scalar(u"select IL_ZAK from ZAK_PAL where NR_KOL = 2"_s), QVariant(55.5));
        purchases.post();
        QCOMPARE(db.scalar(u"select NR_RACH from ZAK_PAL where NR_KOL = 1"_s), QVariant(u"R/1a"_s));
        QCOMPARE(model.data(model.index(0, 1)), QVariant(u"R/1a"_s));

        // Rows added and given up, and a closed dataset, show in the row count.
        purchases.append();
        QCOMPARE(model.rowCount(), 3);
        purchases.cancel();
        QCOMPARE(model.rowCount(), 2);
        purchases.close();
        QCOMPARE(model.rowCount(), 0);
    }
};

int runDatasetLinkTests(int argc, char** argv)
{
    return testsupport::runTestClass<TestDatasetLinks>(argc, argv);
}

#include "test_dataset_links.moc"
