#pragma once

#include <QHash>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <QVariantList>
#include <QString>
#include <memory>
#include <optional>

#include "data/period.h"
#include "data/report_snapshot.h"
#include "data/settlement_queries.h"
#include "data/statement_figures.h"
#include "dataset/data_source.h"
#include "dataset/dataset.h"
#include "dataset/opened_datasets.h"
#include "firebird/connection.h"
#include "firebird/transaction.h"

namespace data {
struct Settlement;
}

// The shared data module: the one connection, the one transaction and every dataset and
// data source that the screens use. Screens open what they show and close it again; they
// never open a connection of their own.
class Tdm_1 : public QObject {
    Q_OBJECT
public:
    explicit Tdm_1(QObject* parent = nullptr);
    ~Tdm_1() override;

    // Resolves the database name from the location file in the current folder (or the
    // default name) and connects. Throws when the database cannot be opened; the module
    // is then left without a connection.
    void connectFromLocationFile();
    // Connects to the named database (a local path or "server:path"). A local file that another
    // program holds is refused with a Polish explanation above the server's text.
    void connectTo(const QString& databaseName);
    // Closes every dataset, commits the transaction and detaches. When the server has gone
    // away the dead attachment is let go instead (every change was committed as it was
    // written), so that connecting again is possible.
    void disconnectDatabase();
    bool isConnected() const { return db_opl.isOpen(); }
    // How long this desk's writes wait for a row another desk holds, in seconds: the module's
    // own transaction (set before connecting) and each unit of work it starts (an import run,
    // a rate file, an e-invoice import).
    void setLockWait(int seconds) { tr_opl.setLockWait(seconds); }
    int lockWait() const { return tr_opl.lockWait(); }
    // The database connected to, as it was named ("" when none).
    const QString& databaseName() const { return db_opl.databaseName(); }
    ds::Dataset* dataset(const QString& name) const;

    fb::Connection db_opl;
    fb::Transaction tr_opl{&db_opl};

    // Editable datasets.
    ds::Dataset ibds_pal{QStringLiteral("ibds_pal"), this};
    ds::Dataset IBDS_siln{QStringLiteral("IBDS_siln"), this};
    ds::Dataset IBDS_opl{QStringLiteral("IBDS_opl"), this};
    ds::Dataset IBDS_podat{QStringLiteral("IBDS_podat"), this};
    ds::Dataset IBDS_sam{QStringLiteral("IBDS_sam"), this};
    ds::Dataset IBDS_zak{QStringLiteral("IBDS_zak"), this};
    ds::Dataset IBDS_zak_kp{QStringLiteral("IBDS_zak_kp"), this};
    ds::Dataset IBDS_pod_kp{QStringLiteral("IBDS_pod_kp"), this};
    ds::Dataset IBT_param{QStringLiteral("IBT_param"), this};

    // Read-only queries.
    ds::Dataset IBQ_siln1{QStringLiteral("IBQ_siln1"), this};
    ds::Dataset IBQ_rokopl{QStringLiteral("IBQ_rokopl"), this};
    ds::Dataset IBQ_pod{QStringLiteral("IBQ_pod"), this};
    ds::Dataset IBQ_pod_zak{QStringLiteral("IBQ_pod_zak"), this};
    ds::Dataset IBQ_sam_pod{QStringLiteral("IBQ_sam_pod"), this};
    ds::Dataset IBQ_rozl{QStringLiteral("IBQ_rozl"), this};
    ds::Dataset IBQ_rozl_d{QStringLiteral("IBQ_rozl_d"), this};
    ds::Dataset IBQ_sil_w{QStringLiteral("IBQ_sil_w"), this};
    ds::Dataset IBQ_opl_w{QStringLiteral("IBQ_opl_w"), this};
    ds::Dataset IBQ_rozl_w{QStringLiteral("IBQ_rozl_w"), this};
    ds::Dataset IBQ_rozl_w1{QStringLiteral("IBQ_rozl_w1"), this};
    ds::Dataset IBQ_zbior_w{QStringLiteral("IBQ_zbior_w"), this};
    ds::Dataset IBQ_sam_kp{QStringLiteral("IBQ_sam_kp"), this};

    // Data sources.
    ds::DataSource ds_pal{QStringLiteral("ds_pal"), &ibds_pal, this};
    ds::DataSource ds_siln{QStringLiteral("ds_siln"), &IBDS_siln, this};
    ds::DataSource ds_siln1{QStringLiteral("ds_siln1"), &IBQ_siln1, this};
    ds::DataSource ds_opl{QStringLiteral("ds_opl"), &IBDS_opl, this};
    ds::DataSource ds_rokopl{QStringLiteral("ds_rokopl"), &IBQ_rokopl, this};
    ds::DataSource DS_podat{QStringLiteral("DS_podat"), &IBDS_podat, this};
    ds::DataSource DS_pod{QStringLiteral("DS_pod"), &IBQ_pod, this};
    ds::DataSource DS_sam{QStringLiteral("DS_sam"), &IBDS_sam, this};
    ds::DataSource DS_param{QStringLiteral("DS_param"), &IBT_param, this};
    ds::DataSource DS_pod_zak{QStringLiteral("DS_pod_zak"), &IBQ_pod_zak, this};
    ds::DataSource DS_zak{QStringLiteral("DS_zak"), &IBDS_zak, this};
    ds::DataSource DS_rozl{QStringLiteral("DS_rozl"), &IBQ_rozl, this};
    ds::DataSource DS_rozl_d{QStringLiteral("DS_rozl_d"), &IBQ_rozl_d, this};
    ds::DataSource DS_sil_w{QStringLiteral("DS_sil_w"), &IBQ_sil_w, this};
    ds::DataSource DS_rozl_w{QStringLiteral("DS_rozl_w"), &IBQ_rozl_w, this};

    // While one lives, purchases are keyed on the purchase screen: the module steers its date
    // picker and fuel list by the signals below, from the period of choosePurchases and the
    // days on which the chosen vehicle was in use.
    class PurchaseEntry {
    public:
        explicit PurchaseEntry(Tdm_1& dm) : dm_(dm) { dm_.purchaseEntry_.emplace(); }
        ~PurchaseEntry() { dm_.purchaseEntry_.reset(); }
        PurchaseEntry(const PurchaseEntry&) = delete;
        PurchaseEntry& operator=(const PurchaseEntry&) = delete;

    private:
        Tdm_1& dm_;
    };
    // The module is steering the purchase's date and the picker together: a date picked
    // meanwhile is not the user's and does not go into the purchase.
    bool steeringPurchaseDate() const { return steeringPurchaseDate_; }

    // The datasets of each screen, open while the handle lives (a lookup list another screen
    // left open is read again): fuels; vehicle types; yearly parameters; the rates with the
    // vehicle types and fuels (the rate years read again, the latest chosen); taxpayers; the
    // vehicles with the taxpayer list (their lookups of taxpayers, types and fuels stay open
    // after it, for the screens that follow); the taxpayer list by number; the fuels
    // named on the purchase screen; the purchases and vehicles of a period; the settlement's
    // lines and their purchases; the taxpayers the ledger import compares.
    [[nodiscard]] ds::OpenedDatasets openFuels();
    [[nodiscard]] ds::OpenedDatasets openVehicleTypes();
    [[nodiscard]] ds::OpenedDatasets openParameters();
    [[nodiscard]] ds::OpenedDatasets openRates();
    [[nodiscard]] ds::OpenedDatasets openTaxpayers();
    [[nodiscard]] ds::OpenedDatasets openVehicles();
    [[nodiscard]] ds::OpenedDatasets openTaxpayerList();
    [[nodiscard]] ds::OpenedDatasets openPurchaseNames();
    [[nodiscard]] ds::OpenedDatasets openPurchases(const data::PeriodChoice& choice);
    [[nodiscard]] ds::OpenedDatasets openSettlementLines();
    [[nodiscard]] ds::OpenedDatasets openLedgerTaxpayers();
    // The rates of the year typed or chosen, read again when the rates are open.
    void showRatesOfYear(const QString& yearText);

    // What the screens ask of the module, by what it does. Each sets the statement and the
    // parameters of datasets that are closed; the screen opens them.
    // The purchases of one taxpayer's vehicles dated in the period (IBDS_zak).
    void choosePurchases(const data::Period& period, const QString& taxpayer);
    // The taxpayer's vehicles that may take purchases in the period (IBQ_sam_pod).
    void chooseVehicles(const data::Period& period, const QString& taxpayer);
    // The years that have rates, read again; the latest is chosen (rateYearsChanged).
    void readRateYears();
    // The rates (IBDS_opl) of the year typed or chosen ("" for every year), left closed; a new
    // rate row takes this year.
    void chooseRates(const QString& yearText);
    const QString& rateYear() const { return rateYear_; }
    // The settlement lines of the taxpayer and period (IBQ_rozl), and the period of the
    // purchases behind each line (IBQ_rozl_d).
    void chooseSettlement(const QString& taxpayer, const data::Period& period);

    // The reports' data for the taxpayer and period, open until the handle goes:
    // the statement's vehicle types with their fuels and rates of the year (IBQ_sil_w, IBQ_opl_w),
    // whose figures are summed from `computed` when it is the settlement of that taxpayer and
    // period (the purchases are then not grouped a second time), else read by IBQ_rozl_w,
    [[nodiscard]] ds::OpenedDatasets openStatement(const QString& taxpayer, int year, const data::Period& period,
                                                   const data::Settlement* computed = nullptr);
    // the aggregate statement's record of the taxpayer (IBQ_zbior_w),
    [[nodiscard]] ds::OpenedDatasets openAggregateStatement(const QString& taxpayer);
    // the purchase register's lines and their purchases (IBQ_rozl_w, IBQ_rozl_w1).
    [[nodiscard]] ds::OpenedDatasets openPurchaseRegister(const QString& taxpayer, const data::Period& period);
    // The vehicle types and fuels (IBDS_siln, ibds_pal) that name the lines of settlements
    // and reports, open while any holder keeps the handle. A window about to show or print
    // names reads them `Again` when open already (types and fuels added since, here or on
    // another desk); a computation takes them as they are.
    enum class NamesRead { AsTheyAre, Again };
    [[nodiscard]] std::shared_ptr<ds::OpenedDatasets> openNameLookups(NamesRead read = NamesRead::AsTheyAre);
    bool taxpayerExists(const QString& shortName);
    // How the settlement and the statements read the taxpayer's purchases: asked of the
    // database once for each taxpayer while the connection lasts (every settlement asking
    // again would cost a round trip each time); vehicles added meanwhile change only the
    // speed, never the figures.
    data::PurchaseAccess purchaseAccessFor(const QString& taxpayer);
    // The short names of the taxpayers that have vehicles, in the Polish alphabet.
    QStringList taxpayerShortNames();

    // Until the last holder lets it go, the reports read their rows (as values) from one
    // snapshot taken at the first call, and so does the settlement (IBQ_rozl, IBQ_rozl_d)
    // when `withSettlement` was asked by that first call: a long report, or a run of them,
    // reads one consistent picture while other desks go on saving. Everything else keeps
    // reading what is committed now.
    std::shared_ptr<data::ReportSnapshot> readReportsFromSnapshot(bool withSettlement = false);

    // The reaction to a change of the vehicle of the current purchase (IBDS_zak.NR_REJ):
    // the purchase takes the vehicle's fuel, and the purchase screen's picker admits only
    // the days of the period on which the vehicle was in use. Attached to the field once, it
    // runs while a purchase screen is open.
    void ustal_rodz_pal(ds::Field& nrRej);

signals:
    // The module connected to a database, or let go of it.
    void connectionChanged();
    // The years that have rates (sorted) and the year whose rates are chosen: after reading
    // them, after a rate of a new year, after the last rate of a year went.
    void rateYearsChanged(const QStringList& years, const QString& chosen);
    // A taxpayer's short name came or went (posted, renamed, deleted).
    void shortNameAdded(const QString& name);
    void shortNameRemoved(const QString& name);
    // The purchase screen: the days its date picker admits, the date it shows, whether the
    // fuel of the purchase may be chosen (a diesel vehicle), its note line ("" clears it), and
    // a vehicle chosen for the purchase that was not in use in the period.
    void purchaseDaysChanged(const QDate& earliest, const QDate& latest);
    void purchaseDateShown(const QDate& date);
    void fuelChoiceAllowed(bool allowed);
    void purchaseNote(const QString& text);
    void purchaseVehicleRefused(const QString& message);

private:
    // The statement lines of the taxpayer and period (IBQ_rozl_w), left closed.
    void chooseStatementLines(const QString& taxpayer, const data::Period& period);
    void defineDatasets();
    void describeRows();
    void defineQueries();
    void attachHandlers();
    void calcSettlementLine(ds::Dataset& d);
    void calcStatementLine(ds::Dataset& d);
    void calcRateOfYear(ds::Dataset& d);
    void IBDS_oplNewRecord(ds::Dataset& d);
    void IBDS_oplAfterPost(ds::Dataset& d);
    void IBDS_oplAfterDelete(ds::Dataset& d);
    void IBDS_podatBeforePost(ds::Dataset& d);
    void IBDS_podatAfterPost(ds::Dataset& d);
    void IBDS_podatBeforeDelete(ds::Dataset& d);
    void IBDS_podatAfterDelete(ds::Dataset& d);
    void IBDS_samNewRecord(ds::Dataset& d);
    static void IBDS_samBeforePost(ds::Dataset& d);
    void DS_zakDataChange(ds::Field* field);
    void IBDS_zakBeforeEdit(ds::Dataset& d);
    void IBDS_zakNewRecord(ds::Dataset& d);
    void IBDS_zakBeforePost(ds::Dataset& d);
    void writeUnderPurchaseLock(const std::function<void()>& write);
    struct DayRange {
        QDate first;
        QDate last; // before `first` when the vehicle was not in use in the period
    };
    DayRange purchaseDays(const QVariant& vehicle) const;
    bool vehicleBurnsDiesel(const QVariant& vehicle) const;
    void showPurchaseDate(const QDate& date);
    void setPurchaseDate(const QDate& date);
    QString outOfRangeText(const QDate& date) const;

    // Taxpayer rows: the state before a post, the short name of a row being deleted.
    ds::DatasetState stan_podat = ds::DatasetState::Browse;
    QString nazskr_usun;
    QString oldShortName_;
    int deletedRateYear_ = 0;
    QStringList rateYears_;
    QHash<QString, data::PurchaseAccess> purchaseAccess_;
    QString rateYear_;
    // What the purchase screen shows while purchases are keyed on it: the period, the days
    // its picker admits and the date the picker shows.
    struct PurchaseView {
        data::Period period;
        QDate earliest, latest;
        QDate shown;
    };
    std::optional<PurchaseView> purchaseEntry_;
    bool steeringPurchaseDate_ = false;
    void showInPicker(const QDate& date);
    void admitInPicker(const QDate& earliest, const QDate& latest);
    // The vehicle of the purchase as last shown, to go back to when a choice is refused.
    QVariant shownVehicle_;
    // Closing drops an unposted purchase; that must not start a new one.
    bool closingPurchases_ = false;

    // The statement's lines by vehicle type and fuel, for the taxpayer and period that the
    // parameters of IBQ_rozl_w name: summed from a settlement's lines, or read once through
    // IBQ_rozl_w. While IBQ_opl_w is open, its calculated fields take them from here instead
    // of running the aggregate again for every fuel of every vehicle type.
    void readStatementLines();
    void takeStatementLines(const data::Settlement& settlement);
    data::StatementFigureMap statementLines_;
    QVariantList statementLinesParams_;
    bool statementLinesRead_ = false;
    std::weak_ptr<data::ReportSnapshot> reportSnapshot_;
    std::weak_ptr<ds::OpenedDatasets> nameLookups_;
    // The new purchase still has the date it was given by default, not one of the user's.
    bool defaultPurchaseDate_ = false;
    bool settingPurchaseDate_ = false;
};

