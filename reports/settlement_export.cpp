#include "reports/settlement_export.h"

#include "data/fee_arithmetic.h"
#include "data/period.h"
#include "text/csv.h"

namespace reports {

QString settlementCsv(const data::Settlement& s, int part)
{
    text::CsvLines csv;
    csv.text(QStringLiteral("Rozliczenie opłaty")).text(s.taxpayer).text(data::periodName(s.year, part)).endLine();
    for (const char* title : {"Nr rejestracyjny", "Rodzaj silnika", "Rodzaj paliwa", "Zakup w L", "Przelicznik kg/L",
                              "Zakup w Mg", "Stawka za Mg", "Opłata"})
        csv.text(QString::fromUtf8(title));
    csv.endLine();
    double litres = 0, tonnes = 0;
    for (const data::SettlementLine& line : s.lines) {
        const double lineTonnes = data::tonnesShown(line.litres, line.kgPerLitre);
        csv.text(line.registration).text(line.vehicleTypeName).text(line.fuelName).number(line.litres, 2);
        csv.money(line.kgPerLitre, 4).number(lineTonnes, 3);
        if (line.rate)
            csv.number(*line.rate, 2);
        else
            csv.text(QStringLiteral("brak stawki"));
        csv.money(line.fee).endLine();
        litres += line.litres;
        tonnes += lineTonnes;
    }
    csv.text(QStringLiteral("Razem")).empty().empty().number(litres, 2).empty().number(tonnes, 3).empty().money(s.amount).endLine();
    csv.text(QStringLiteral("Próg")).empty().empty().empty().empty().empty().empty().money(s.threshold).endLine();
    csv.text(QStringLiteral("Stan")).text(s.withinThreshold() ? QStringLiteral("poniżej progu") : QStringLiteral("do zapłaty")).endLine();
    if (const auto filing = s.filing())
        csv.text(QStringLiteral("Obowiązek")).text(data::filingShort(*filing)).endLine();
    return csv.toString();
}

} // namespace reports
