// The datasets of the data module: their statements, fields, labels and formats.
#include "data/dm1.h"

#include "data/field_names.h"
#include "data/quantity_limits.h"
#include "data/settlement_queries.h"
#include "dataset/write_back.h"

using ds::FieldType;

namespace {

const QString purchaseSelect = QStringLiteral("select * from ZAK_PAL order by NR_REJ, D_ZAK, NR_RACH");
const QString taxpayerSelect = QStringLiteral("select * from PODAT order by NR_PODAT");

const QStringList taxpayerColumns{data::col::NR_PODAT, data::col::NAZWA, data::col::ADRES,
                                  data::col::REGON, data::col::TEL, data::col::NIP,
                                  data::col::NAZSKR};
const QStringList purchaseColumns{data::col::NR_KOL, data::col::NR_REJ, data::col::NR_RACH,
                                  data::col::D_ZAK, data::col::NR_RODZ_PAL, data::col::IL_ZAK};

void taxpayerFields(ds::Dataset& d)
{
    // Labelled as on the taxpayer screen, for the messages that name a field.
    d.addField(data::col::NR_PODAT, FieldType::SmallInt).setRequired().setDisplayLabel(QStringLiteral("Numer"));
    d.addField(data::col::NAZWA, FieldType::String, 125).setDisplayLabel(QStringLiteral("Nazwa"));
    d.addField(data::col::ADRES, FieldType::String, 160).setDisplayLabel(QStringLiteral("Adres"));
    d.addField(data::col::REGON, FieldType::String, 20).setDisplayLabel(QStringLiteral("Regon"));
    d.addField(data::col::TEL, FieldType::String, 65).setDisplayLabel(QStringLiteral("Telefon"));
    d.addField(data::col::NIP, FieldType::String, 20).setRequired().setDisplayLabel(QStringLiteral("NIP"));
    d.addField(data::col::NAZSKR, FieldType::String, 15).setRequired().setDisplayLabel(QStringLiteral("Nazwa skrócona"));
}

void vehicleTypeFields(ds::Dataset& d)
{
    d.addField(data::col::NR, FieldType::SmallInt).setRequired();
    d.addField(data::col::NAZWA, FieldType::String, 50).setRequired();
}

void fuelNameLookup(ds::Dataset& d, const QString& name, const QString& keyField, ds::Dataset* fuels)
{
    d.addLookupField(name, FieldType::String, 30, keyField, fuels, data::col::NR, data::col::NAZWA);
}

// A key of the row as it was read (what the messages about another desk's change name), or
// as typed for a new row.
QString keyText(const ds::Dataset& d, const QString& field)
{
    const ds::Field& f = d.fieldByName(field);
    const QVariant read = d.oldRowValue(f.index());
    return (read.isValid() ? read : f.value()).toString().trimmed();
}

} // namespace

void Tdm_1::describeRows()
{
    for (ds::Dataset* d : {&IBDS_podat, &IBDS_pod_kp})
        d->rowDescription = [](const ds::Dataset& d) {
            return QStringLiteral("Dane podatnika %1").arg(keyText(d, data::col::NR_PODAT));
        };
    IBDS_sam.rowDescription = [](const ds::Dataset& d) {
        return QStringLiteral("Dane samochodu %1").arg(keyText(d, data::col::NR_REJ));
    };
    for (ds::Dataset* d : {&IBDS_zak, &IBDS_zak_kp})
        d->rowDescription = [](const ds::Dataset& d) {
            return QStringLiteral("Dane zakupu nr %1").arg(keyText(d, data::col::NR_KOL));
        };
    ibds_pal.rowDescription = [](const ds::Dataset& d) {
        return QStringLiteral("Dane rodzaju paliwa nr %1").arg(keyText(d, data::col::NR));
    };
    IBDS_siln.rowDescription = [](const ds::Dataset& d) {
        return QStringLiteral("Dane rodzaju silnika nr %1").arg(keyText(d, data::col::NR));
    };
    IBDS_opl.rowDescription = [](const ds::Dataset& d) {
        return QStringLiteral("Dane stawki roku %1 (rodzaj silnika %2, paliwo %3)")
            .arg(keyText(d, data::col::ROK), keyText(d, data::col::NR_SILN), keyText(d, data::col::NR_PALIWA));
    };
    IBT_param.rowDescription = [](const ds::Dataset& d) {
        return QStringLiteral("Parametry roku %1").arg(keyText(d, data::col::ROK));
    };
}

void Tdm_1::defineDatasets()
{
    ibds_pal.setSelectSql(QStringLiteral("select * from RODZ_PALIWA order by NR"));
    ibds_pal.setWriteStatements(ds::writeStatementsFor(QStringLiteral("RODZ_PALIWA"),
        {data::col::NR, data::col::NAZWA, data::col::PRZEL_L_KG}, {data::col::NR}));
    ibds_pal.setGeneratorField(data::col::NR, QStringLiteral("G_NRPAL"));
    ibds_pal.addField(data::col::NR, FieldType::SmallInt).setRequired();
    ibds_pal.addField(data::col::NAZWA, FieldType::String, 30);
    ibds_pal.addField(data::col::PRZEL_L_KG, FieldType::Decimal, 0, 4)
        .setDisplayLabel(QStringLiteral("PRZEL. L->KG")).setDisplayFormat(QStringLiteral("#0.###")).setRange(0.0, data::heaviestLitre);

    IBDS_siln.setSelectSql(QStringLiteral("select * from RODZ_SILNIKA order by NR"));
    IBDS_siln.setWriteStatements(ds::writeStatementsFor(QStringLiteral("RODZ_SILNIKA"),
        {data::col::NR, data::col::NAZWA}, {data::col::NR}));
    IBDS_siln.setGeneratorField(data::col::NR, QStringLiteral("G_NRSIL"));
    vehicleTypeFields(IBDS_siln);

    IBDS_opl.setSelectSql(QStringLiteral("select * from TAB_OPL_SILN where (tab_opl_siln.nr_siln=:nr) "
                                         "order by TAB_OPL_SILN.ROK,TAB_OPL_SILN.NR_PALIWA"));
    IBDS_opl.setWriteStatements(ds::writeStatementsFor(QStringLiteral("TAB_OPL_SILN"),
        {data::col::NR_SILN, data::col::NR_PALIWA, data::col::OPL_ZA_TONE, data::col::ROK},
        {data::col::NR_SILN, data::col::NR_PALIWA, data::col::ROK}));
    IBDS_opl.setMasterSource(&ds_siln1, {{QStringLiteral("nr"), data::col::NR}});
    IBDS_opl.addField(data::col::NR_SILN, FieldType::SmallInt).setRequired().setDisplayLabel(QStringLiteral("Nr silnika"));
    IBDS_opl.addField(data::col::NR_PALIWA, FieldType::SmallInt).setRequired().setVisible(false);
    IBDS_opl.addField(data::col::OPL_ZA_TONE, FieldType::Float).setRequired()
        .setDisplayLabel(QStringLiteral("Stawka za tonę")).setDisplayFormat(QStringLiteral("###.00"));
    IBDS_opl.addField(data::col::ROK, FieldType::SmallInt).setRequired();
    fuelNameLookup(IBDS_opl, data::calc::nazpal, data::col::NR_PALIWA, &ibds_pal);

    for (ds::Dataset* d : {&IBDS_podat, &IBDS_pod_kp}) {
        d->setSelectSql(taxpayerSelect);
        d->setWriteStatements(ds::writeStatementsFor(QStringLiteral("PODAT"), taxpayerColumns, {data::col::NR_PODAT}));
        taxpayerFields(*d);
    }

    IBDS_sam.setSelectSql(QStringLiteral("select *  from SAM where NR_POD=:NR_PODAT order by NR_REJ"));
    IBDS_sam.setWriteStatements(ds::writeStatementsFor(QStringLiteral("SAM"),
        {data::col::NR_REJ, data::col::NR_POD, data::col::NR_RODZ_SILN, data::col::NR_RODZ_PAL,
         data::col::D_ROZP_U, data::col::D_ZAK_U}, {data::col::NR_REJ}));
    IBDS_sam.setMasterSource(&DS_pod, {{data::col::NR_PODAT, data::col::NR_PODAT}});
    IBDS_sam.addField(data::col::NR_REJ, FieldType::String, 10).setRequired().setDisplayLabel(QStringLiteral("Nr rejestracyjny"));
    for (const char* hidden : {"NR_POD", "NR_RODZ_SILN", "NR_RODZ_PAL"})
        IBDS_sam.addField(QString::fromLatin1(hidden), FieldType::SmallInt).setRequired().setVisible(false);
    IBDS_sam.addField(data::col::D_ROZP_U, FieldType::Date).setRequired()
        .setDisplayLabel(QStringLiteral("Data rozp. użytkow.")).setDisplayWidth(14);
    IBDS_sam.addField(data::col::D_ZAK_U, FieldType::Date).setDisplayLabel(QStringLiteral("Data zak. użytkow.")).setDisplayWidth(14);
    IBDS_sam.addLookupField(data::calc::naz_pod, FieldType::String, 15, data::col::NR_POD, &IBDS_podat,
                            data::col::NR_PODAT, data::col::NAZSKR).setDisplayLabel(QStringLiteral("Nazwa skrócona"));
    IBDS_sam.addLookupField(data::calc::naz_sil, FieldType::String, 50, data::col::NR_RODZ_SILN, &IBDS_siln,
                            data::col::NR, data::col::NAZWA).setDisplayLabel(QStringLiteral("Rodzaj silnika"));
    IBDS_sam.addLookupField(data::calc::naz_pal, FieldType::String, 30, data::col::NR_RODZ_PAL, &ibds_pal,
                            data::col::NR, data::col::NAZWA).setDisplayLabel(QStringLiteral("Rodzaj paliwa"));

    IBDS_zak.setSelectSql(purchaseSelect);
    IBDS_zak.setWriteStatements(ds::writeStatementsFor(QStringLiteral("ZAK_PAL"), purchaseColumns, {data::col::NR_KOL}));
    IBDS_zak.setGeneratorField(data::col::NR_KOL, QStringLiteral("G_ZAK"));
    IBDS_zak.addField(data::col::NR_KOL, FieldType::Integer).setRequired().setDisplayLabel(QStringLiteral("Nr kolejny"));
    IBDS_zak.addField(data::col::NR_REJ, FieldType::String, 10).setRequired().setVisible(false);
    IBDS_zak.addField(data::col::NR_RACH, FieldType::String, 20).setRequired().setDisplayLabel(QStringLiteral("Nr rachunku"));
    IBDS_zak.addField(data::col::D_ZAK, FieldType::Date).setRequired().setDisplayLabel(QStringLiteral("Data zakupu")).setDisplayWidth(12);
    IBDS_zak.addField(data::col::NR_RODZ_PAL, FieldType::SmallInt).setRequired().setVisible(false);
    IBDS_zak.addField(data::col::IL_ZAK, FieldType::Float).setRequired().setDisplayLabel(QStringLiteral("Ilość (w l)"))
        .setDisplayFormat(QStringLiteral("######0.00")).setEditFormat(QStringLiteral("######0.00")).setRange(data::fewestLitres, data::mostLitres);
    IBDS_zak.addLookupField(data::calc::sam_pod, FieldType::String, 20, data::col::NR_REJ, &IBQ_sam_pod,
                            data::col::NR_REJ, data::col::NR_REJ).setDisplayLabel(QStringLiteral("Nr rejestr."));
    fuelNameLookup(IBDS_zak, data::calc::nazpal, data::col::NR_RODZ_PAL, &ibds_pal);
    IBDS_zak.field(data::calc::nazpal)->setDisplayLabel(QStringLiteral("Rodzaj paliwa"));

    IBDS_zak_kp.setSelectSql(purchaseSelect);
    IBDS_zak_kp.setWriteStatements(ds::writeStatementsFor(QStringLiteral("ZAK_PAL"), purchaseColumns, {data::col::NR_KOL}));
    IBDS_zak_kp.setGeneratorField(data::col::NR_KOL, QStringLiteral("G_ZAK"));
    IBDS_zak_kp.addField(data::col::NR_KOL, FieldType::Integer).setRequired();
    IBDS_zak_kp.addField(data::col::NR_REJ, FieldType::String, 10).setRequired();
    IBDS_zak_kp.addField(data::col::NR_RACH, FieldType::String, 20).setRequired();
    IBDS_zak_kp.addField(data::col::D_ZAK, FieldType::Date).setRequired();
    IBDS_zak_kp.addField(data::col::NR_RODZ_PAL, FieldType::SmallInt).setRequired();
    IBDS_zak_kp.addField(data::col::IL_ZAK, FieldType::Float).setRequired().setRange(data::fewestLitres, data::mostLitres);

    IBT_param.setSelectSql(QStringLiteral("select * from PARAM order by ROK"));
    IBT_param.setWriteStatements(ds::writeStatementsFor(QStringLiteral("PARAM"),
        {data::col::ROK, data::col::PLAC_MIN, data::col::WSK_PROC}, {data::col::ROK}));
    IBT_param.addField(data::col::ROK, FieldType::SmallInt).setRequired();
    IBT_param.addField(data::col::PLAC_MIN, FieldType::Float).setRequired().setCurrency()
        .setDisplayLabel(QStringLiteral("Płaca minimalna")).setEditFormat(QStringLiteral("#,##0.00"));
    IBT_param.addField(data::col::WSK_PROC, FieldType::Decimal, 0, 2)
        .setDisplayLabel(QStringLiteral("Wskaźnik procentowy")).setEditFormat(QStringLiteral("#0.00")).setRange(25, 50);
}

void Tdm_1::defineQueries()
{
    IBQ_siln1.setSelectSql(QStringLiteral("select * from RODZ_SILNIKA order by NR"));
    vehicleTypeFields(IBQ_siln1);

    IBQ_rokopl.setSelectSql(QStringLiteral("select distinct ROK from TAB_OPL_SILN"));

    IBQ_pod.setSelectSql(QStringLiteral("select NR_PODAT, NAZSKR from PODAT"));
    IBQ_pod.addField(data::col::NR_PODAT, FieldType::SmallInt).setRequired().setDisplayLabel(QStringLiteral("Nr podatnika"));
    IBQ_pod.addField(data::col::NAZSKR, FieldType::String, 15).setRequired().setDisplayLabel(QStringLiteral("Nazwa skrócona"));

    IBQ_pod_zak.setSelectSql(QStringLiteral("select distinct nazskr from PODAT,SAM where  PODAT.NR_PODAT=sam.nr_pod order by NAZSKR"));

    IBQ_sam_pod.setSelectSql(QStringLiteral("select NR_REJ, NR_RODZ_PAL, d_rozp_u, d_zak_u from SAM"));
    IBQ_sam_pod.addField(data::col::NR_REJ, FieldType::String, 10).setRequired();
    IBQ_sam_pod.addField(data::col::NR_RODZ_PAL, FieldType::SmallInt).setRequired();
    IBQ_sam_pod.addField(data::col::D_ROZP_U, FieldType::Date).setRequired();
    IBQ_sam_pod.addField(data::col::D_ZAK_U, FieldType::Date);

    IBQ_rozl.setSelectSql(QStringLiteral("select nr_rej, nr_rodz_siln, nr_rodz_pal, sum(il_zak) as zakkw, przel_l_kg, "
                                         "opl_za_tone from ROZL group by nr_rej, nr_rodz_siln, nr_rodz_pal, przel_l_kg, opl_za_tone"));
    IBQ_rozl.addField(data::col::NR_REJ, FieldType::String, 10).setDisplayLabel(QStringLiteral("Nr rej."));
    IBQ_rozl.addField(data::col::NR_RODZ_SILN, FieldType::SmallInt).setVisible(false);
    IBQ_rozl.addField(data::col::NR_RODZ_PAL, FieldType::SmallInt).setVisible(false);
    IBQ_rozl.addField(data::col::ZAKKW, FieldType::Float).setDisplayLabel(QStringLiteral("Zakup w L")).setDisplayFormat(QStringLiteral("####0.00"));
    IBQ_rozl.addField(data::col::PRZEL_L_KG, FieldType::Decimal, 0, 4).setDisplayLabel(QStringLiteral("KG/L")).setDisplayFormat(QStringLiteral("#0.0000"));
    IBQ_rozl.addField(data::col::OPL_ZA_TONE, FieldType::Float).setCurrency().setDisplayLabel(QStringLiteral("Opł. za tonę"));
    IBQ_rozl.addLookupField(data::calc::rodzsiln, FieldType::String, 40, data::col::NR_RODZ_SILN, &IBDS_siln,
                            data::col::NR, data::col::NAZWA).setDisplayLabel(QStringLiteral("Rodzaj silnika"));
    fuelNameLookup(IBQ_rozl, data::calc::nazpal, data::col::NR_RODZ_PAL, &ibds_pal);
    IBQ_rozl.field(data::calc::nazpal)->setDisplayLabel(QStringLiteral("Rodzaj paliwa"));
    IBQ_rozl.addCalculatedField(data::calc::opl, FieldType::Decimal, 0, 4).setCurrency();

    IBQ_rozl_d.setSelectSql(data::settlementPurchasesSql());
    IBQ_rozl_d.setMasterSource(&DS_rozl, {{QStringLiteral("nr_rej"), data::col::NR_REJ},
                                          {QStringLiteral("nr_rodz_pal"), data::col::NR_RODZ_PAL}});
    IBQ_rozl_d.addField(data::col::NR_REJ, FieldType::String, 10).setDisplayLabel(QStringLiteral("Nr rej"));
    IBQ_rozl_d.addField(data::col::NR_RACH, FieldType::String, 20).setDisplayLabel(QStringLiteral("Nr rachunku")).setDisplayWidth(20);
    IBQ_rozl_d.addField(data::col::D_ZAK, FieldType::Date).setDisplayLabel(QStringLiteral("Data zakupu"));
    IBQ_rozl_d.addField(data::col::NR_RODZ_PAL, FieldType::SmallInt).setVisible(false);
    IBQ_rozl_d.addField(data::col::IL_ZAK, FieldType::Float).setDisplayLabel(QStringLiteral("Ilość")).setDisplayFormat(QStringLiteral("###0.00"));
    fuelNameLookup(IBQ_rozl_d, data::calc::nazpal, data::col::NR_RODZ_PAL, &ibds_pal);
    IBQ_rozl_d.field(data::calc::nazpal)->setDisplayLabel(QStringLiteral("Rodzaj paliwa"));

    IBQ_sil_w.setSelectSql(QStringLiteral("select distinct RODZ_SILNIKA.NR, RODZ_SILNIKA.NAZWA from RODZ_SILNIKA join "
                                          "TAB_OPL_SILN on RODZ_SILNIKA.NR= TAB_OPL_SILN.NR_SILN where TAB_OPL_SILN.ROK=:wybrok "
                                          "order by RODZ_SILNIKA.NR"));
    vehicleTypeFields(IBQ_sil_w);

    IBQ_opl_w.setSelectSql(QStringLiteral("select NR_SILN, NR_PALIWA from TAB_OPL_SILN where NR_SILN=:nr and "
                                          "TAB_OPL_SILN.ROK=:wybrok order by NR_PALIWA"));
    IBQ_opl_w.setMasterSource(&DS_sil_w, {{QStringLiteral("nr"), data::col::NR}});
    IBQ_opl_w.addField(data::col::NR_SILN, FieldType::SmallInt).setRequired();
    IBQ_opl_w.addField(data::col::NR_PALIWA, FieldType::SmallInt).setRequired();
    fuelNameLookup(IBQ_opl_w, data::calc::nazpal, data::col::NR_PALIWA, &ibds_pal);
    IBQ_opl_w.addCalculatedField(data::calc::zuz, FieldType::Float)
        .setDisplayFormat(QStringLiteral("###0.000;###0.000;;")).setEditFormat(QStringLiteral("###0.000"));
    IBQ_opl_w.addCalculatedField(data::calc::staw, FieldType::Decimal, 0, 4).setCurrency();
    IBQ_opl_w.addCalculatedField(data::calc::wart, FieldType::Decimal, 0, 4).setCurrency();

    IBQ_rozl_w.setSelectSql(data::statementLinesSql());
    IBQ_rozl_w.addField(data::col::NR_RODZ_SILN, FieldType::SmallInt);
    IBQ_rozl_w.addField(data::col::NR_RODZ_PAL, FieldType::SmallInt);
    IBQ_rozl_w.addField(data::col::OPL_ZA_TONE, FieldType::Float);
    IBQ_rozl_w.addField(data::col::PRZEL_L_KG, FieldType::Decimal, 0, 4);
    IBQ_rozl_w.addField(data::col::ZAKKW, FieldType::Float).setDisplayFormat(QStringLiteral("###0.00"));
    IBQ_rozl_w.addCalculatedField(data::calc::zakkw_t, FieldType::Float)
        .setDisplayFormat(QStringLiteral("###0.000")).setEditFormat(QStringLiteral("###0.000"));
    IBQ_rozl_w.addLookupField(data::calc::nazsil, FieldType::String, 50, data::col::NR_RODZ_SILN, &IBDS_siln,
                              data::col::NR, data::col::NAZWA);
    fuelNameLookup(IBQ_rozl_w, data::calc::nazpal, data::col::NR_RODZ_PAL, &ibds_pal);
    IBQ_rozl_w.addCalculatedField(data::calc::opl, FieldType::Decimal, 0, 4).setCurrency();

    IBQ_rozl_w1.setSelectSql(data::statementPurchasesSql());
    IBQ_rozl_w1.setMasterSource(&DS_rozl_w, {{QStringLiteral("nr_rodz_siln"), data::col::NR_RODZ_SILN},
                                             {QStringLiteral("nr_rodz_pal"), data::col::NR_RODZ_PAL}});
    IBQ_rozl_w1.addField(data::col::NR_RODZ_SILN, FieldType::SmallInt);
    IBQ_rozl_w1.addField(data::col::NR_RODZ_PAL, FieldType::SmallInt);
    IBQ_rozl_w1.addField(data::col::NR_REJ, FieldType::String, 10);
    IBQ_rozl_w1.addField(data::col::NR_RACH, FieldType::String, 20);
    IBQ_rozl_w1.addField(data::col::D_ZAK, FieldType::Date);
    IBQ_rozl_w1.addField(data::col::IL_ZAK, FieldType::Float).setDisplayFormat(QStringLiteral("###0.00"));

    IBQ_zbior_w.setSelectSql(QStringLiteral("select * from PODAT where NAZSKR=:naz"));
    taxpayerFields(IBQ_zbior_w);

    IBQ_sam_kp.setSelectSql(QStringLiteral("select *  from SAM where NR_POD=:NRPOD order by NR_REJ"));
    IBQ_sam_kp.addField(data::col::NR_REJ, FieldType::String, 10).setRequired();
    IBQ_sam_kp.addField(data::col::NR_POD, FieldType::SmallInt).setRequired();
    IBQ_sam_kp.addField(data::col::NR_RODZ_SILN, FieldType::SmallInt).setRequired();
    IBQ_sam_kp.addField(data::col::NR_RODZ_PAL, FieldType::SmallInt).setRequired();
    IBQ_sam_kp.addField(data::col::D_ROZP_U, FieldType::Date).setRequired();
    IBQ_sam_kp.addField(data::col::D_ZAK_U, FieldType::Date);
}
