#include "import/ksef_fuel.h"

#include <QRegularExpression>
#include <QStringList>

namespace ksef {

namespace {

struct Heading {
    const char* prefix;
    FuelKind kind;
};

// CN codes by their leading digits; the longest that fits decides.
const Heading headings[] = {
    {"2710124", FuelKind::Petrol},   {"27101943", FuelKind::Diesel},  {"27101946", FuelKind::Diesel},
    {"27101947", FuelKind::Diesel},  {"27101948", FuelKind::Diesel},  {"27102011", FuelKind::Diesel},
    {"27102016", FuelKind::Diesel},  {"27102019", FuelKind::Diesel},  {"271112", FuelKind::Lpg},
    {"271113", FuelKind::Lpg},       {"271119", FuelKind::Lpg},       {"271111", FuelKind::Cng},
    {"271121", FuelKind::Cng},       {"382600", FuelKind::Biodiesel},
    // White spirit and other light oils, aviation spirit, kerosene, heavy fuel oil, lubricating oils; urea
    // (AdBlue), lubricants, antifreeze, additives.
    {"2710121", FuelKind::NotFuel},  {"2710122", FuelKind::NotFuel},  {"2710123", FuelKind::NotFuel},
    {"2710192", FuelKind::NotFuel},  {"2710196", FuelKind::NotFuel},  {"2710197", FuelKind::NotFuel},
    {"2710198", FuelKind::NotFuel},  {"2710199", FuelKind::NotFuel},  {"27102090", FuelKind::NotFuel},
    {"310210", FuelKind::NotFuel},   {"3403", FuelKind::NotFuel},     {"3811", FuelKind::NotFuel},
    {"3820", FuelKind::NotFuel},
};

QStringList texts(std::initializer_list<const char*> utf8)
{
    QStringList list;
    for (const char* t : utf8)
        list << QString::fromUtf8(t);
    return list;
}

// Fragments of the names of what a fuel card or a station sells beside fuel.
const QStringList notFuel = texts({"adblue", "ad blue", "olej silnik", "olej smar", "olej przekładn", "olej hydraul",
                                   "olej opał", "opałow", "olej do ", "płyn do", "płyn chłodn", "płyn hamulc",
                                   "płyn spryskiw", "mocznik", "myjni", "usług", "opłat", "prowizj", "abonament",
                                   "kaucj", "parking", "autostrad", "serwis", "wymian"});
const QStringList biodieselFragments = texts({"biodiesel", "bio diesel", "bio-diesel"});
const QStringList dieselFragments = texts({"napędow", "diesel"});
const QStringList petrolFragments = texts({"benzyn"});
const QStringList lpgFragments = texts({"autogaz", "auto gaz", "gaz płynny", "propan"});
const QStringList cngFragments = texts({"gaz ziemny", "metan"});

QStringList tokensOf(const QString& lower)
{
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}]+"));
    return lower.split(separators, Qt::SkipEmptyParts);
}

bool anyToken(const QStringList& tokens, std::initializer_list<const char*> words)
{
    for (const char* w : words)
        if (tokens.contains(QLatin1String(w)))
            return true;
    return false;
}

bool containsAny(const QString& lower, const QStringList& fragments)
{
    for (const QString& p : fragments)
        if (lower.contains(p))
            return true;
    return false;
}

} // namespace

FuelKind fuelOfCode(const QString& cn)
{
    QString digits;
    for (const QChar c : cn)
        if (c.isDigit())
            digits += c;
        else if (c != QLatin1Char(' ') && c != QLatin1Char('.') && c != QLatin1Char('-'))
            return FuelKind::Unknown;
    FuelKind kind = FuelKind::Unknown;
    qsizetype longest = 0;
    for (const Heading& h : headings) {
        const QLatin1String prefix(h.prefix);
        if (prefix.size() > longest && digits.startsWith(prefix)) {
            kind = h.kind;
            longest = prefix.size();
        }
    }
    return kind;
}

FuelKind fuelOfName(const QString& name)
{
    const QString lower = name.toLower() + QLatin1Char(' ');
    if (containsAny(lower, notFuel))
        return FuelKind::NotFuel;
    const QStringList tokens = tokensOf(lower);
    for (const QString& t : tokens)
        if (t.startsWith(QLatin1String("smar")) && t != QLatin1String("smart"))
            return FuelKind::NotFuel;
    if (containsAny(lower, biodieselFragments) || anyToken(tokens, {"b100", "fame"}))
        return FuelKind::Biodiesel;
    if (containsAny(lower, dieselFragments) || anyToken(tokens, {"on"}))
        return FuelKind::Diesel;
    if (containsAny(lower, petrolFragments) || anyToken(tokens, {"pb", "pb95", "pb98", "e95", "e98", "e5", "e10"}))
        return FuelKind::Petrol;
    if (containsAny(lower, lpgFragments) || anyToken(tokens, {"lpg"}))
        return FuelKind::Lpg;
    if (containsAny(lower, cngFragments) || anyToken(tokens, {"cng", "lng"}))
        return FuelKind::Cng;
    return FuelKind::Unknown;
}

FuelKind fuelOfLine(const QString& cn, const QString& name)
{
    const FuelKind byCode = fuelOfCode(cn);
    if (byCode == FuelKind::Unknown)
        return fuelOfName(name);
    if (byCode == FuelKind::Diesel && fuelOfName(name) == FuelKind::NotFuel)
        return FuelKind::NotFuel;
    return byCode;
}

UnitKind unitOf(const QString& unit)
{
    QString u = unit.toLower();
    u.remove(QLatin1Char(' '));
    u.replace(QStringLiteral("³"), QStringLiteral("3")).replace(QStringLiteral("^3"), QStringLiteral("3"));
    while (u.endsWith(QLatin1Char('.')))
        u.chop(1);
    static const QStringList litres{QStringLiteral("l"),     QStringLiteral("litr"),  QStringLiteral("litry"),
                                    QStringLiteral("litra"), QStringLiteral("litrów"), QStringLiteral("litrow"),
                                    QStringLiteral("ltr"),   QStringLiteral("lit"),   QStringLiteral("dm3")};
    static const QStringList cubicMetres{QStringLiteral("m3"), QStringLiteral("nm3")};
    static const QStringList kilograms{QStringLiteral("kg"), QStringLiteral("kilogram"), QStringLiteral("kilogramy"),
                                       QStringLiteral("kilogramów"), QStringLiteral("kilogramow")};
    if (litres.contains(u))
        return UnitKind::Litre;
    if (cubicMetres.contains(u))
        return UnitKind::CubicMetre;
    if (kilograms.contains(u))
        return UnitKind::Kilogram;
    return UnitKind::Unknown;
}

QString unitSymbol(UnitKind unit)
{
    switch (unit) {
    case UnitKind::Litre: return QStringLiteral("l");
    case UnitKind::CubicMetre: return QStringLiteral("m³");
    case UnitKind::Kilogram: return QStringLiteral("kg");
    case UnitKind::Unknown: break;
    }
    return {};
}

} // namespace ksef
