#include "tools/settle_report.h"

#include <QStringList>

#include "text/formats.h"

namespace tools {

namespace {

QString cell(const QString& text, int width, bool right)
{
    return right ? text.rightJustified(width) : text.leftJustified(width);
}

QString periodText(const data::Settlement& s, int half)
{
    QString text = QStringLiteral("%1 – %2").arg(text::formatDate(s.period.start), text::formatDate(s.period.end));
    return text + QStringLiteral(" (%1)").arg(data::periodName(s.year, half));
}

} // namespace

QString settlementTable(const data::Settlement& s, int half)
{
    const QStringList titles{QStringLiteral("Nr rej."), QStringLiteral("Rodzaj silnika"), QStringLiteral("Rodzaj paliwa"),
                             QStringLiteral("Zakup w L"), QStringLiteral("KG/L"), QStringLiteral("Opł. za tonę"),
                             QStringLiteral("Opłata")};
    const bool right[] = {false, false, false, true, true, true, true};
    QList<QStringList> rows;
    for (const data::SettlementLine& line : s.lines) {
        rows << QStringList{line.registration,
                            line.vehicleTypeName.isEmpty() ? QString::number(line.vehicleType) : line.vehicleTypeName,
                            line.fuelName.isEmpty() ? QString::number(line.fuel) : line.fuelName,
                            text::formatFloat(QStringLiteral("#,##0.00"), line.litres),
                            text::formatFloat(QStringLiteral("#0.0000"), line.kgPerLitre.toLongDouble()),
                            line.rate ? text::formatMoney(text::Money::fromDouble(*line.rate)) : QStringLiteral("brak stawki"),
                            text::formatMoney(line.fee)};
    }
    std::vector<int> widths;
    for (int c = 0; c < titles.size(); ++c) {
        int w = static_cast<int>(titles[c].size());
        for (const QStringList& r : rows)
            w = std::max(w, static_cast<int>(r[c].size()));
        widths.push_back(w);
    }
    auto line = [&](const QStringList& values) {
        QStringList cells;
        for (int c = 0; c < values.size(); ++c)
            cells << cell(values[c], widths[c], right[c]);
        return cells.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
    };

    QString out;
    out += QStringLiteral("Naliczenie opłat za korzystanie ze środowiska\n");
    out += QStringLiteral("Podatnik: %1\n").arg(s.taxpayer);
    out += QStringLiteral("Okres: %1\n\n").arg(periodText(s, half));
    out += line(titles);
    if (rows.isEmpty())
        out += QStringLiteral("(brak zakupów paliw w okresie)\n");
    for (const QStringList& r : rows)
        out += line(r);
    out += QLatin1Char('\n');
    out += QStringLiteral("Kwota do zapłaty: %1\n").arg(text::formatMoney(s.amount));
    out += QStringLiteral("Próg zwolnienia: %1\n").arg(text::formatMoney(s.threshold));
    if (s.withinThreshold())
        out += QStringLiteral("Kwota mniejsza od %1 nie podlega wpłacie.\n").arg(text::formatMoney(s.threshold));
    else
        out += QStringLiteral("Kwota przekracza próg zwolnienia i podlega wpłacie.\n");
    if (const auto filing = s.filing())
        out += data::filingSentence(*filing, s.threshold) + QLatin1Char('\n');
    for (const data::SettlementLine* missing : s.linesWithoutRate())
        out += QStringLiteral("Uwaga: brak stawki opłaty dla pojazdu %1 (%2), paliwo %3, rok %4 – linia liczona jako 0,00 zł.\n")
                   .arg(missing->registration,
                        missing->vehicleTypeName.isEmpty() ? QString::number(missing->vehicleType) : missing->vehicleTypeName,
                        missing->fuelName.isEmpty() ? QString::number(missing->fuel) : missing->fuelName)
                   .arg(s.year);
    return out;
}

QString settlementTsv(const data::Settlement& s)
{
    QString out;
    for (const data::SettlementLine& line : s.lines) {
        out += QStringList{QStringLiteral("LINE"), line.registration, QString::number(line.vehicleType),
                           QString::number(line.fuel), QString::number(line.litres, 'f', 2),
                           line.kgPerLitre.toDecimalString(4), QString::number(line.rate.value_or(0.0), 'f', 2),
                           line.fee.toDecimalString(2)}
                   .join(QLatin1Char('\t'))
               + QLatin1Char('\n');
    }
    out += QStringLiteral("TOTAL\t%1\n").arg(s.amount.toDecimalString(2));
    out += QStringLiteral("THRESHOLD\t%1\n").arg(s.threshold.toDecimalString(2));
    if (const auto filing = s.filing())
        out += QStringLiteral("FILING\t%1\n").arg(data::filingCode(*filing));
    return out;
}

} // namespace tools
