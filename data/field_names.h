#pragma once

#include <QString>

// The names of the fields of the data module's datasets and of their parameters, so that a
// misspelt name is a compile error rather than a failure at run time.
namespace data {

// Columns of the tables, as the datasets' fields name them.
namespace col {
inline const QString NR_RODZ_PAL = QStringLiteral("NR_RODZ_PAL");
inline const QString NR_REJ = QStringLiteral("NR_REJ");
inline const QString NR = QStringLiteral("NR");
inline const QString NAZWA = QStringLiteral("NAZWA");
inline const QString NR_RODZ_SILN = QStringLiteral("NR_RODZ_SILN");
inline const QString NR_PODAT = QStringLiteral("NR_PODAT");
inline const QString NR_KOL = QStringLiteral("NR_KOL");
inline const QString ROK = QStringLiteral("ROK");
inline const QString NR_PALIWA = QStringLiteral("NR_PALIWA");
inline const QString NR_RACH = QStringLiteral("NR_RACH");
inline const QString IL_ZAK = QStringLiteral("IL_ZAK");
inline const QString D_ZAK = QStringLiteral("D_ZAK");
inline const QString PRZEL_L_KG = QStringLiteral("PRZEL_L_KG");
inline const QString OPL_ZA_TONE = QStringLiteral("OPL_ZA_TONE");
inline const QString NR_SILN = QStringLiteral("NR_SILN");
inline const QString NAZSKR = QStringLiteral("NAZSKR");
inline const QString D_ZAK_U = QStringLiteral("D_ZAK_U");
inline const QString D_ROZP_U = QStringLiteral("D_ROZP_U");
inline const QString NR_POD = QStringLiteral("NR_POD");
inline const QString ZAKKW = QStringLiteral("ZAKKW");
inline const QString WSK_PROC = QStringLiteral("WSK_PROC");
inline const QString TEL = QStringLiteral("TEL");
inline const QString REGON = QStringLiteral("REGON");
inline const QString PLAC_MIN = QStringLiteral("PLAC_MIN");
inline const QString NIP = QStringLiteral("NIP");
inline const QString ADRES = QStringLiteral("ADRES");
} // namespace col

// Lookup and calculated fields.
namespace calc {
inline const QString nazpal = QStringLiteral("nazpal");
inline const QString opl = QStringLiteral("opl");
inline const QString zuz = QStringLiteral("zuz");
inline const QString zakkw_t = QStringLiteral("zakkw_t");
inline const QString wart = QStringLiteral("wart");
inline const QString staw = QStringLiteral("staw");
inline const QString sam_pod = QStringLiteral("sam_pod");
inline const QString rodzsiln = QStringLiteral("rodzsiln");
inline const QString nazsil = QStringLiteral("nazsil");
inline const QString naz_sil = QStringLiteral("naz_sil");
inline const QString naz_pod = QStringLiteral("naz_pod");
inline const QString naz_pal = QStringLiteral("naz_pal");
} // namespace calc

// Parameters of the statements.
namespace par {
inline const QString naz = QStringLiteral("naz");
inline const QString dpocz = QStringLiteral("dpocz");
inline const QString dkon = QStringLiteral("dkon");
inline const QString wybrok = QStringLiteral("wybrok");
inline const QString nr = QStringLiteral("nr");
inline const QString rok = QStringLiteral("rok");
inline const QString nazskr = QStringLiteral("nazskr");
inline const QString nr_rej = QStringLiteral("nr_rej");
inline const QString nr_rodz_pal = QStringLiteral("nr_rodz_pal");
inline const QString nr_rodz_siln = QStringLiteral("nr_rodz_siln");
inline const QString NRPOD = QStringLiteral("NRPOD");
} // namespace par

} // namespace data
