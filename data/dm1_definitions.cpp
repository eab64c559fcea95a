// The datasets of the data module: their statements, fields, labels and formats.
#include "data/dm1.h"

#include "dataset/write_back.h"

using ds::FieldType;

namespace {

const QString purchaseSelect = QStringLiteral("select * from ZAK_PAL order by NR_REJ, D_ZAK, NR_RACH");
const QString taxpayerSelect = QStringLiteral("select * from PODAT order by NR_PODAT");

const QStringList taxpayerColumns{QStringLiteral("NR_PODAT"), QStringLiteral("NAZWA"), QStringLiteral("ADRES"),
                                  QStringLiteral("REGON"), QStringLiteral("TEL"), QStringLiteral("NIP"),
                                  QStringLiteral("NAZSKR")};
const QStringList purchaseColumns{QStringLiteral("NR_KOL"), QStringLiteral("NR_REJ"), QStringLiteral("NR_RACH"),
                                  QStringLiteral("D_ZAK"), QStringLiteral("NR_RODZ_PAL"), QStringLiteral("IL_ZAK")};

// What a real invoice never leaves: litres up to ten million on one invoice, and down to
// minus a hundred thousand for a correction; a litre weighs from nothing up to 10 kg. Beyond
// them a typing slip would settle as a wrong fee, or as an amount no money field can hold.
constexpr double fewestLitres = -100000.0;
constexpr double mostLitres = 10000000.0;
constexpr double heaviestLitre = 10.0;

void taxpayerFields(ds::Dataset& d)
{
    d.addField(QStringLiteral("NR_PODAT"), FieldType::SmallInt).setRequired();
    d.addField(QStringLiteral("NAZWA"), FieldType::String, 125);
    d.addField(QStringLiteral("ADRES"), FieldType::String, 160);
    d.addField(QStringLiteral("REGON"), FieldType::String, 20);
    d.addField(QStringLiteral("TEL"), FieldType::String, 65);
    d.addField(QStringLiteral("NIP"), FieldType::String, 20).setRequired();
    d.addField(QStringLiteral("NAZSKR"), FieldType::String, 15).setRequired();
}

void vehicleTypeFields(ds::Dataset& d)
{
    d.addField(QStringLiteral("NR"), FieldType::SmallInt).setRequired();
    d.addField(QStringLiteral("NAZWA"), FieldType::String, 50).setRequired();
}

void fuelNameLookup(ds::Dataset& d, const QString& name, const QString& keyField, ds::Dataset* fuels)
{
    d.addLookupField(name, FieldType::String, 30, keyField, fuels, QStringLiteral("NR"), QStringLiteral("NAZWA"));
}

} // namespace

void Tdm_1::defineDatasets()
{
    ibds_pal.setSelectSql(QStringLiteral("select * from RODZ_PALIWA order by NR"));
    ibds_pal.setWriteStatements(ds::writeStatementsFor(QStringLiteral("RODZ_PALIWA"),
        {QStringLiteral("NR"), QStringLiteral("NAZWA"), QStringLiteral("PRZEL_L_KG")}, {QStringLiteral("NR")}));
    ibds_pal.setGeneratorField(QStringLiteral("NR"), QStringLiteral("G_NRPAL"));
    ibds_pal.addField(QStringLiteral("NR"), FieldType::SmallInt).setRequired();
    ibds_pal.addField(QStringLiteral("NAZWA"), FieldType::String, 30);
    ibds_pal.addField(QStringLiteral("PRZEL_L_KG"), FieldType::Decimal, 0, 4)
        .setDisplayLabel(QStringLiteral("PRZEL. L->KG")).setDisplayFormat(QStringLiteral("#0.###")).setRange(0.0, heaviestLitre);

    IBDS_siln.setSelectSql(QStringLiteral("select * from RODZ_SILNIKA order by NR"));
    IBDS_siln.setWriteStatements(ds::writeStatementsFor(QStringLiteral("RODZ_SILNIKA"),
        {QStringLiteral("NR"), QStringLiteral("NAZWA")}, {QStringLiteral("NR")}));
    IBDS_siln.setGeneratorField(QStringLiteral("NR"), QStringLiteral("G_NRSIL"));
    vehicleTypeFields(IBDS_siln);

    IBDS_opl.setSelectSql(QStringLiteral("select * from TAB_OPL_SILN where (tab_opl_siln.nr_siln=:nr) "
                                         "order by TAB_OPL_SILN.ROK,TAB_OPL_SILN.NR_PALIWA"));
    IBDS_opl.setWriteStatements(ds::writeStatementsFor(QStringLiteral("TAB_OPL_SILN"),
        {QStringLiteral("NR_SILN"), QStringLiteral("NR_PALIWA"), QStringLiteral("OPL_ZA_TONE"), QStringLiteral("ROK")},
        {QStringLiteral("NR_SILN"), QStringLiteral("NR_PALIWA"), QStringLiteral("ROK")}));
    IBDS_opl.setMasterSource(&ds_siln1, {{QStringLiteral("nr"), QStringLiteral("NR")}});
    IBDS_opl.addField(QStringLiteral("NR_SILN"), FieldType::SmallInt).setRequired().setDisplayLabel(QStringLiteral("Nr silnika"));
    IBDS_opl.addField(QStringLiteral("NR_PALIWA"), FieldType::SmallInt).setRequired().setVisible(false);
    IBDS_opl.addField(QStringLiteral("OPL_ZA_TONE"), FieldType::Float).setRequired()
        .setDisplayLabel(QStringLiteral("Stawka za tonę")).setDisplayFormat(QStringLiteral("###.00"));
    IBDS_opl.addField(QStringLiteral("ROK"), FieldType::SmallInt).setRequired();
    fuelNameLookup(IBDS_opl, QStringLiteral("nazpal"), QStringLiteral("NR_PALIWA"), &ibds_pal);

    for (ds::Dataset* d : {&IBDS_podat, &IBDS_pod_kp}) {
        d->setSelectSql(taxpayerSelect);
        d->setWriteStatements(ds::writeStatementsFor(QStringLiteral("PODAT"), taxpayerColumns, {QStringLiteral("NR_PODAT")}));
        taxpayerFields(*d);
    }

    IBDS_sam.setSelectSql(QStringLiteral("select *  from SAM where NR_POD=:NR_PODAT order by NR_REJ"));
    IBDS_sam.setWriteStatements(ds::writeStatementsFor(QStringLiteral("SAM"),
        {QStringLiteral("NR_REJ"), QStringLiteral("NR_POD"), QStringLiteral("NR_RODZ_SILN"), QStringLiteral("NR_RODZ_PAL"),
         QStringLiteral("D_ROZP_U"), QStringLiteral("D_ZAK_U")}, {QStringLiteral("NR_REJ")}));
    IBDS_sam.setMasterSource(&DS_pod, {{QStringLiteral("NR_PODAT"), QStringLiteral("NR_PODAT")}});
    IBDS_sam.addField(QStringLiteral("NR_REJ"), FieldType::String, 10).setRequired().setDisplayLabel(QStringLiteral("Nr rejestracyjny"));
    for (const char* hidden : {"NR_POD", "NR_RODZ_SILN", "NR_RODZ_PAL"})
        IBDS_sam.addField(QString::fromLatin1(hidden), FieldType::SmallInt).setRequired().setVisible(false);
    IBDS_sam.addField(QStringLiteral("D_ROZP_U"), FieldType::Date).setRequired()
        .setDisplayLabel(QStringLiteral("Data rozp. użytkow.")).setDisplayWidth(14);
    IBDS_sam.addField(QStringLiteral("D_ZAK_U"), FieldType::Date).setDisplayLabel(QStringLiteral("Data zak. użytkow.")).setDisplayWidth(14);
    IBDS_sam.addLookupField(QStringLiteral("naz_pod"), FieldType::String, 15, QStringLiteral("NR_POD"), &IBDS_podat,
                            QStringLiteral("NR_PODAT"), QStringLiteral("NAZSKR")).setDisplayLabel(QStringLiteral("Nazwa skrócona"));
    IBDS_sam.addLookupField(QStringLiteral("naz_sil"), FieldType::String, 50, QStringLiteral("NR_RODZ_SILN"), &IBDS_siln,
                            QStringLiteral("NR"), QStringLiteral("NAZWA")).setDisplayLabel(QStringLiteral("Rodzaj silnika"));
    IBDS_sam.addLookupField(QStringLiteral("naz_pal"), FieldType::String, 30, QStringLiteral("NR_RODZ_PAL"), &ibds_pal,
                            QStringLiteral("NR"), QStringLiteral("NAZWA")).setDisplayLabel(QStringLiteral("Rodzaj paliwa"));

    IBDS_zak.setSelectSql(purchaseSelect);
    IBDS_zak.setWriteStatements(ds::writeStatementsFor(QStringLiteral("ZAK_PAL"), purchaseColumns, {QStringLiteral("NR_KOL")}));
    IBDS_zak.setGeneratorField(QStringLiteral("NR_KOL"), QStringLiteral("G_ZAK"));
    IBDS_zak.addField(QStringLiteral("NR_KOL"), FieldType::Integer).setRequired().setDisplayLabel(QStringLiteral("Nr kolejny"));
    IBDS_zak.addField(QStringLiteral("NR_REJ"), FieldType::String, 10).setRequired().setVisible(false);
    IBDS_zak.addField(QStringLiteral("NR_RACH"), FieldType::String, 20).setRequired().setDisplayLabel(QStringLiteral("Nr rachunku"));
    IBDS_zak.addField(QStringLiteral("D_ZAK"), FieldType::Date).setRequired().setDisplayLabel(QStringLiteral("Data zakupu")).setDisplayWidth(12);
    IBDS_zak.addField(QStringLiteral("NR_RODZ_PAL"), FieldType::SmallInt).setRequired().setVisible(false);
    IBDS_zak.addField(QStringLiteral("IL_ZAK"), FieldType::Float).setRequired().setDisplayLabel(QStringLiteral("Ilość (w l)"))
        .setDisplayFormat(QStringLiteral("######0.00")).setEditFormat(QStringLiteral("######0.00")).setRange(fewestLitres, mostLitres);
    IBDS_zak.addLookupField(QStringLiteral("sam_pod"), FieldType::String, 20, QStringLiteral("NR_REJ"), &IBQ_sam_pod,
                            QStringLiteral("NR_REJ"), QStringLiteral("NR_REJ")).setDisplayLabel(QStringLiteral("Nr rejestr."));
    fuelNameLookup(IBDS_zak, QStringLiteral("nazpal"), QStringLiteral("NR_RODZ_PAL"), &ibds_pal);
    IBDS_zak.field(QStringLiteral("nazpal"))->setDisplayLabel(QStringLiteral("Rodzaj paliwa"));

    IBDS_zak_kp.setSelectSql(purchaseSelect);
    IBDS_zak_kp.setWriteStatements(ds::writeStatementsFor(QStringLiteral("ZAK_PAL"), purchaseColumns, {QStringLiteral("NR_KOL")}));
    IBDS_zak_kp.setGeneratorField(QStringLiteral("NR_KOL"), QStringLiteral("G_ZAK"));
    IBDS_zak_kp.addField(QStringLiteral("NR_KOL"), FieldType::Integer).setRequired();
    IBDS_zak_kp.addField(QStringLiteral("NR_REJ"), FieldType::String, 10).setRequired();
    IBDS_zak_kp.addField(QStringLiteral("NR_RACH"), FieldType::String, 20).setRequired();
    IBDS_zak_kp.addField(QStringLiteral("D_ZAK"), FieldType::Date).setRequired();
    IBDS_zak_kp.addField(QStringLiteral("NR_RODZ_PAL"), FieldType::SmallInt).setRequired();
    IBDS_zak_kp.addField(QStringLiteral("IL_ZAK"), FieldType::Float).setRequired().setRange(fewestLitres, mostLitres);

    IBT_param.setSelectSql(QStringLiteral("select * from PARAM order by ROK"));
    IBT_param.setWriteStatements(ds::writeStatementsFor(QStringLiteral("PARAM"),
        {QStringLiteral("ROK"), QStringLiteral("PLAC_MIN"), QStringLiteral("WSK_PROC")}, {QStringLiteral("ROK")}));
    IBT_param.addField(QStringLiteral("ROK"), FieldType::SmallInt).setRequired();
    IBT_param.addField(QStringLiteral("PLAC_MIN"), FieldType::Float).setRequired().setCurrency()
        .setDisplayLabel(QStringLiteral("Płaca minimalna")).setEditFormat(QStringLiteral("#,##0.00"));
    IBT_param.addField(QStringLiteral("WSK_PROC"), FieldType::Decimal, 0, 2)
        .setDisplayLabel(QStringLiteral("Wskaźnik procentowy")).setEditFormat(QStringLiteral("#0.00")).setRange(25, 50);
}

void Tdm_1::defineQueries()
{
    IBQ_siln1.setSelectSql(QStringLiteral("select * from RODZ_SILNIKA order by NR"));
    vehicleTypeFields(IBQ_siln1);

    IBQ_rokopl.setSelectSql(QStringLiteral("select distinct ROK from TAB_OPL_SILN"));

    IBQ_pod.setSelectSql(QStringLiteral("select NR_PODAT, NAZSKR from PODAT"));
    IBQ_pod.addField(QStringLiteral("NR_PODAT"), FieldType::SmallInt).setRequired().setDisplayLabel(QStringLiteral("Nr podatnika"));
    IBQ_pod.addField(QStringLiteral("NAZSKR"), FieldType::String, 15).setRequired().setDisplayLabel(QStringLiteral("Nazwa skrócona"));

    IBQ_pod_zak.setSelectSql(QStringLiteral("select distinct nazskr from PODAT,SAM where  PODAT.NR_PODAT=sam.nr_pod order by NAZSKR"));

    IBQ_sam_pod.setSelectSql(QStringLiteral("select NR_REJ, NR_RODZ_PAL, d_rozp_u, d_zak_u from SAM"));
    IBQ_sam_pod.addField(QStringLiteral("NR_REJ"), FieldType::String, 10).setRequired();
    IBQ_sam_pod.addField(QStringLiteral("NR_RODZ_PAL"), FieldType::SmallInt).setRequired();
    IBQ_sam_pod.addField(QStringLiteral("D_ROZP_U"), FieldType::Date).setRequired();
    IBQ_sam_pod.addField(QStringLiteral("D_ZAK_U"), FieldType::Date);

    IBQ_rozl.setSelectSql(QStringLiteral("select nr_rej, nr_rodz_siln, nr_rodz_pal, sum(il_zak) as zakkw, przel_l_kg, "
                                         "opl_za_tone from ROZL group by nr_rej, nr_rodz_siln, nr_rodz_pal, przel_l_kg, opl_za_tone"));
    IBQ_rozl.addField(QStringLiteral("NR_REJ"), FieldType::String, 10).setDisplayLabel(QStringLiteral("Nr rej."));
    IBQ_rozl.addField(QStringLiteral("NR_RODZ_SILN"), FieldType::SmallInt).setVisible(false);
    IBQ_rozl.addField(QStringLiteral("NR_RODZ_PAL"), FieldType::SmallInt).setVisible(false);
    IBQ_rozl.addField(QStringLiteral("ZAKKW"), FieldType::Float).setDisplayLabel(QStringLiteral("Zakup w L")).setDisplayFormat(QStringLiteral("####0.00"));
    IBQ_rozl.addField(QStringLiteral("PRZEL_L_KG"), FieldType::Decimal, 0, 4).setDisplayLabel(QStringLiteral("KG/L")).setDisplayFormat(QStringLiteral("#0.0000"));
    IBQ_rozl.addField(QStringLiteral("OPL_ZA_TONE"), FieldType::Float).setCurrency().setDisplayLabel(QStringLiteral("Opł. za tonę"));
    IBQ_rozl.addLookupField(QStringLiteral("rodzsiln"), FieldType::String, 40, QStringLiteral("NR_RODZ_SILN"), &IBDS_siln,
                            QStringLiteral("NR"), QStringLiteral("NAZWA")).setDisplayLabel(QStringLiteral("Rodzaj silnika"));
    fuelNameLookup(IBQ_rozl, QStringLiteral("nazpal"), QStringLiteral("NR_RODZ_PAL"), &ibds_pal);
    IBQ_rozl.field(QStringLiteral("nazpal"))->setDisplayLabel(QStringLiteral("Rodzaj paliwa"));
    IBQ_rozl.addCalculatedField(QStringLiteral("opl"), FieldType::Decimal, 0, 4).setCurrency();

    IBQ_rozl_d.setSelectSql(QStringLiteral("SELECT nr_rej, nr_rach, d_zak, nr_rodz_pal, il_zak FROM rozl WHERE "
                                           "rozl.nr_rej=:nr_rej and nr_rodz_pal=:nr_rodz_pal and rozl.d_zak between :dpocz and :dkon "
                                           "ORDER BY rozl.d_zak, rozl.nr_rach"));
    IBQ_rozl_d.setMasterSource(&DS_rozl, {{QStringLiteral("nr_rej"), QStringLiteral("NR_REJ")},
                                          {QStringLiteral("nr_rodz_pal"), QStringLiteral("NR_RODZ_PAL")}});
    IBQ_rozl_d.addField(QStringLiteral("NR_REJ"), FieldType::String, 10).setDisplayLabel(QStringLiteral("Nr rej"));
    IBQ_rozl_d.addField(QStringLiteral("NR_RACH"), FieldType::String, 20).setDisplayLabel(QStringLiteral("Nr rachunku")).setDisplayWidth(20);
    IBQ_rozl_d.addField(QStringLiteral("D_ZAK"), FieldType::Date).setDisplayLabel(QStringLiteral("Data zakupu"));
    IBQ_rozl_d.addField(QStringLiteral("NR_RODZ_PAL"), FieldType::SmallInt).setVisible(false);
    IBQ_rozl_d.addField(QStringLiteral("IL_ZAK"), FieldType::Float).setDisplayLabel(QStringLiteral("Ilość")).setDisplayFormat(QStringLiteral("###0.00"));
    fuelNameLookup(IBQ_rozl_d, QStringLiteral("nazpal"), QStringLiteral("NR_RODZ_PAL"), &ibds_pal);
    IBQ_rozl_d.field(QStringLiteral("nazpal"))->setDisplayLabel(QStringLiteral("Rodzaj paliwa"));

    IBQ_sil_w.setSelectSql(QStringLiteral("select distinct RODZ_SILNIKA.NR, RODZ_SILNIKA.NAZWA from RODZ_SILNIKA join "
                                          "TAB_OPL_SILN on RODZ_SILNIKA.NR= TAB_OPL_SILN.NR_SILN where TAB_OPL_SILN.ROK=:wybrok "
                                          "order by RODZ_SILNIKA.NR"));
    vehicleTypeFields(IBQ_sil_w);

    IBQ_opl_w.setSelectSql(QStringLiteral("select NR_SILN, NR_PALIWA from TAB_OPL_SILN where NR_SILN=:nr and "
                                          "TAB_OPL_SILN.ROK=:wybrok order by NR_PALIWA"));
    IBQ_opl_w.setMasterSource(&DS_sil_w, {{QStringLiteral("nr"), QStringLiteral("NR")}});
    IBQ_opl_w.addField(QStringLiteral("NR_SILN"), FieldType::SmallInt).setRequired();
    IBQ_opl_w.addField(QStringLiteral("NR_PALIWA"), FieldType::SmallInt).setRequired();
    fuelNameLookup(IBQ_opl_w, QStringLiteral("nazpal"), QStringLiteral("NR_PALIWA"), &ibds_pal);
    IBQ_opl_w.addCalculatedField(QStringLiteral("zuz"), FieldType::Float)
        .setDisplayFormat(QStringLiteral("###0.000;###0.000;;")).setEditFormat(QStringLiteral("###0.000"));
    IBQ_opl_w.addCalculatedField(QStringLiteral("staw"), FieldType::Decimal, 0, 4).setCurrency();
    IBQ_opl_w.addCalculatedField(QStringLiteral("wart"), FieldType::Decimal, 0, 4).setCurrency();

    IBQ_rozl_w.setSelectSql(QStringLiteral("SELECT nr_rodz_siln, nr_rodz_pal, opl_za_tone, przel_l_kg, sum(il_zak) as zakkw "
                                           "FROM rozl WHERE nazskr=:naz and d_zak between :dpocz and :dkon GROUP BY "
                                           "nr_rodz_siln, nr_rodz_pal,przel_l_kg, opl_za_tone order by nr_rodz_siln, nr_rodz_pal"));
    IBQ_rozl_w.addField(QStringLiteral("NR_RODZ_SILN"), FieldType::SmallInt);
    IBQ_rozl_w.addField(QStringLiteral("NR_RODZ_PAL"), FieldType::SmallInt);
    IBQ_rozl_w.addField(QStringLiteral("OPL_ZA_TONE"), FieldType::Float);
    IBQ_rozl_w.addField(QStringLiteral("PRZEL_L_KG"), FieldType::Decimal, 0, 4);
    IBQ_rozl_w.addField(QStringLiteral("ZAKKW"), FieldType::Float).setDisplayFormat(QStringLiteral("###0.00"));
    IBQ_rozl_w.addCalculatedField(QStringLiteral("zakkw_t"), FieldType::Float)
        .setDisplayFormat(QStringLiteral("###0.000")).setEditFormat(QStringLiteral("###0.000"));
    IBQ_rozl_w.addLookupField(QStringLiteral("nazsil"), FieldType::String, 50, QStringLiteral("NR_RODZ_SILN"), &IBDS_siln,
                              QStringLiteral("NR"), QStringLiteral("NAZWA"));
    fuelNameLookup(IBQ_rozl_w, QStringLiteral("nazpal"), QStringLiteral("NR_RODZ_PAL"), &ibds_pal);
    IBQ_rozl_w.addCalculatedField(QStringLiteral("opl"), FieldType::Decimal, 0, 4).setCurrency();

    IBQ_rozl_w1.setSelectSql(QStringLiteral("SELECT nr_rodz_siln, nr_rodz_pal, nr_rej, nr_rach, d_zak, il_zak FROM rozl WHERE "
                                            "nazskr=:naz and nr_rodz_siln=:nr_rodz_siln and nr_rodz_pal=:nr_rodz_pal and "
                                            "rozl.d_zak between :dpocz and :dkon ORDER BY nr_rodz_siln, nr_rodz_pal, rozl.d_zak, rozl.nr_rach"));
    IBQ_rozl_w1.setMasterSource(&DS_rozl_w, {{QStringLiteral("nr_rodz_siln"), QStringLiteral("NR_RODZ_SILN")},
                                             {QStringLiteral("nr_rodz_pal"), QStringLiteral("NR_RODZ_PAL")}});
    IBQ_rozl_w1.addField(QStringLiteral("NR_RODZ_SILN"), FieldType::SmallInt);
    IBQ_rozl_w1.addField(QStringLiteral("NR_RODZ_PAL"), FieldType::SmallInt);
    IBQ_rozl_w1.addField(QStringLiteral("NR_REJ"), FieldType::String, 10);
    IBQ_rozl_w1.addField(QStringLiteral("NR_RACH"), FieldType::String, 20);
    IBQ_rozl_w1.addField(QStringLiteral("D_ZAK"), FieldType::Date);
    IBQ_rozl_w1.addField(QStringLiteral("IL_ZAK"), FieldType::Float).setDisplayFormat(QStringLiteral("###0.00"));

    IBQ_zbior_w.setSelectSql(QStringLiteral("select * from PODAT where NAZSKR=:naz"));
    taxpayerFields(IBQ_zbior_w);

    IBQ_sam_kp.setSelectSql(QStringLiteral("select *  from SAM where NR_POD=:NRPOD order by NR_REJ"));
    IBQ_sam_kp.addField(QStringLiteral("NR_REJ"), FieldType::String, 10).setRequired();
    IBQ_sam_kp.addField(QStringLiteral("NR_POD"), FieldType::SmallInt).setRequired();
    IBQ_sam_kp.addField(QStringLiteral("NR_RODZ_SILN"), FieldType::SmallInt).setRequired();
    IBQ_sam_kp.addField(QStringLiteral("NR_RODZ_PAL"), FieldType::SmallInt).setRequired();
    IBQ_sam_kp.addField(QStringLiteral("D_ROZP_U"), FieldType::Date).setRequired();
    IBQ_sam_kp.addField(QStringLiteral("D_ZAK_U"), FieldType::Date);
}
