#include "data/dm1.h"

#include "data/purchase_queries.h"
#include "data/rate_query.h"
#include "data/refusals.h"
#include "data/schema_check.h"

#include "data/connection_settings.h"
#include "data/field_names.h"
#include "data/index_statistics.h"
#include "dataset/error.h"
#include "firebird/error.h"
#include "firebird/one_request.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

#include <QDir>
#include <QScopeGuard>
#include <limits>

Tdm_1::Tdm_1(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("dm_1"));
    fb::setRefusalExplainer(data::explainRefusal);
    defineDatasets();
    describeRows();
    defineQueries();
    for (ds::Dataset* d : findChildren<ds::Dataset*>(QString(), Qt::FindDirectChildrenOnly))
        d->setDatabase(&db_opl, &tr_opl);
    attachHandlers();
}

Tdm_1::~Tdm_1()
{
    try {
        disconnectDatabase();
    } catch (...) {
        // Nothing can be reported any more while the program ends.
    }
}

void Tdm_1::connectFromLocationFile()
{
    connectTo(data::resolveDatabaseName());
}

void Tdm_1::connectTo(const QString& databaseName)
{
    disconnectDatabase();
    const QString clientName = data::clientDatabaseName(databaseName);
    // A local database's cache follows its size; a server's administrator sets the server's.
    db_opl.setPageBuffers(data::isRemoteName(clientName) ? 0 : fb::Connection::pageBuffersFor(clientName, data::localPageCacheLimit));
    try {
        // The declared character set is read with the start's own check, in one query.
        db_opl.open(clientName, data::connectionUser(), data::connectionPassword(), fb::Connection::CharacterSetRead::Later);
        // The start's query begins the session's transaction, which goes on for the work after
        // it: a request less to end one and begin another.
        std::optional<data::StatisticsFigures> figures;
        try {
            figures = data::prepareProgramDatabase(db_opl, tr_opl);
        } catch (...) {
            tr_opl.abandon();
            db_opl.abandon();
            throw;
        }
        if (figures)
            data::keepIndexStatisticsTrue(db_opl, *figures);
        else
            data::keepIndexStatisticsTrue(db_opl);
        emit connectionChanged();
    } catch (const fb::Error& e) {
        if (!e.isFileInUse())
            throw;
        throw fb::Error(QStringLiteral("Baza danych %1 jest już otwarta w innym programie (może w drugim oknie tego "
                                       "programu). Plik bazy danych na tym komputerze może mieć otwarty tylko jeden "
                                       "program naraz. Aby pracować na jednej bazie z kilku programów lub komputerów, "
                                       "udostępnij ją przez serwer bazy danych (Parametry → Ścieżka do bazy danych, "
                                       "serwer zdalny).\n\n%2")
                            .arg(QDir::toNativeSeparators(clientName), e.message()),
                        e.context(), e.sqlCode(), e.codes());
    }
}

void Tdm_1::disconnectDatabase()
{
    if (auto snapshot = reportSnapshot_.lock())
        snapshot->end();
    for (ds::Dataset* d : findChildren<ds::Dataset*>(QString(), Qt::FindDirectChildrenOnly))
        d->close();
    purchaseAccess_.clear();
    const bool wasOpen = db_opl.isOpen();
    const auto told = qScopeGuard([this, wasOpen] {
        if (wasOpen)
            emit connectionChanged();
    });
    try {
        if (tr_opl.isActive())
            tr_opl.commit();
        db_opl.close();
    } catch (const fb::Error& e) {
        if (!e.isConnectionLost())
            throw;
        fb::logFailure(e);
        tr_opl.abandon();
        db_opl.abandon();
    }
}

ds::Dataset* Tdm_1::dataset(const QString& name) const
{
    return findChild<ds::Dataset*>(name, Qt::FindDirectChildrenOnly);
}

std::shared_ptr<data::ReportSnapshot> Tdm_1::readReportsFromSnapshot(bool withSettlement)
{
    if (auto held = reportSnapshot_.lock())
        return held;
    std::vector<ds::Dataset*> readers;
    if (withSettlement)
        readers = {&IBQ_rozl, &IBQ_rozl_d};
    auto snapshot = std::make_shared<data::ReportSnapshot>(db_opl, tr_opl, std::move(readers));
    statementLinesRead_ = false; // the lines read before came from another picture
    reportSnapshot_ = snapshot;
    return snapshot;
}

void Tdm_1::choosePurchases(const data::Period& period, const QString& taxpayer)
{
    IBDS_zak.setSelectSql(data::purchaseSelectSql());
    // A purchase keyed one after another takes its place among the others as the grid shows them.
    IBDS_zak.setRowOrder(data::purchaseOrder());
    data::bindPeriod(IBDS_zak, period, taxpayer);
    if (!purchaseEntry_)
        return;
    // The picker admits the period and shows today, or the period's first day.
    purchaseEntry_->period = period;
    admitInPicker(period.start, period.end);
    const QDate today = QDate::currentDate();
    showInPicker(today >= period.start && today <= period.end ? today : period.start);
}

void Tdm_1::chooseVehicles(const data::Period& period, const QString& taxpayer)
{
    IBQ_sam_pod.setSelectSql(data::vehicleSelectSql());
    data::bindPeriod(IBQ_sam_pod, period, taxpayer);
}

void Tdm_1::readRateYears()
{
    rateYears_.clear();
    IBQ_rokopl.close();
    ds::OpenedDatasets opened;
    opened.open(IBQ_rokopl);
    for (int row = 0; row < IBQ_rokopl.recordCount(); ++row)
        rateYears_ << QString::number(IBQ_rokopl.fields().front()->valueAt(row).toInt());
    opened.close();
    rateYears_.sort();
    chooseRates(rateYears_.isEmpty() ? QString() : rateYears_.last());
    emit rateYearsChanged(rateYears_, rateYear_);
}

void Tdm_1::chooseRates(const QString& yearText)
{
    rateYear_ = yearText;
    const data::RateQuery query = data::rateQueryForYear(yearText);
    IBDS_opl.setSelectSql(query.sql);
    if (query.filtersYear)
        IBDS_opl.setParam(data::par::rok, query.year);
}

data::PurchaseAccess Tdm_1::purchaseAccessFor(const QString& taxpayer)
{
    if (const auto known = purchaseAccess_.constFind(taxpayer); known != purchaseAccess_.constEnd())
        return *known;
    // All vehicles are not counted (a scan of them would cost a small taxpayer's settlement
    // twice over): the figures of their key, kept true within twofold, say how many there
    // are.
    const auto row = fb::runOnce(
        db_opl, tr_opl,
        QStringLiteral("select (select count(*) from SAM S join PODAT P on P.NR_PODAT = S.NR_POD where P.NAZSKR = ?), "
                       "(select i.RDB$STATISTICS from RDB$RELATION_CONSTRAINTS c join RDB$INDICES i on i.RDB$INDEX_NAME = c.RDB$INDEX_NAME "
                       "where c.RDB$RELATION_NAME = 'SAM' and c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY') from RDB$DATABASE"),
        {taxpayer}, {fb::ColumnType::Integer, fb::ColumnType::Double});
    const int vehicles = row ? row->at(0).toInt() : 0;
    const double selectivity = row ? row->at(1).toDouble() : 0;
    const data::PurchaseAccess access =
        data::purchaseAccess(vehicles, selectivity > 0 ? qRound(1 / selectivity) : std::numeric_limits<int>::max());
    purchaseAccess_.insert(taxpayer, access);
    return access;
}

void Tdm_1::chooseStatementLines(const QString& taxpayer, const data::Period& period)
{
    IBQ_rozl_w.close();
    IBQ_rozl_w.setSelectSql(data::statementLinesSql(purchaseAccessFor(taxpayer)));
    IBQ_rozl_w.setParam(data::par::naz, taxpayer);
    IBQ_rozl_w.setParam(data::par::dpocz, period.start);
    IBQ_rozl_w.setParam(data::par::dkon, period.end);
}

void Tdm_1::chooseSettlement(const QString& taxpayer, const data::Period& period)
{
    IBQ_rozl_d.setParam(data::par::dpocz, period.start);
    IBQ_rozl_d.setParam(data::par::dkon, period.end);
    IBQ_rozl.close();
    IBQ_rozl.setSelectSql(data::settlementSql(purchaseAccessFor(taxpayer)));
    IBQ_rozl.setParam(data::par::dpocz, period.start);
    IBQ_rozl.setParam(data::par::dkon, period.end);
    IBQ_rozl.setParam(data::par::naz, taxpayer);
}
