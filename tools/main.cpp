// brenvald-cli: creates the delivered database and prints settlements, for installers,
// accounting offices' scripts and tests.
#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

#include "data/dm1.h"
#include "data/reference_data.h"
#include "reports/settlement.h"
#include "text/formats.h"
#include "tools/settle_report.h"

namespace {

constexpr int exitBadArguments = 2;
constexpr int exitFailure = 1;

const char* usage =
    "Użycie:\n"
    "  brenvald-cli initdb PLIK\n"
    "      tworzy bazę danych z tablicami wzorcowymi (nie nadpisuje istniejącego pliku)\n"
    "  brenvald-cli settle --db BAZA --taxpayer NAZWA_SKRÓCONA --year RRRR [--half I|II] [--tsv]\n"
    "      drukuje rozliczenie opłaty podatnika za okres (--half do roku 2012 włącznie)\n";

struct BadArguments {
    QString message;
};

void printError(const QString& text)
{
    QTextStream(stderr) << text << Qt::endl;
}

// Options of the form --name VALUE, and --flag without a value.
QMap<QString, QString> parseOptions(const QStringList& args, const QStringList& withValue, const QStringList& flags)
{
    QMap<QString, QString> options;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (flags.contains(a)) {
            options.insert(a, QStringLiteral("1"));
        } else if (withValue.contains(a)) {
            if (i + 1 >= args.size())
                throw BadArguments{QStringLiteral("Brak wartości opcji %1.").arg(a)};
            if (options.contains(a))
                throw BadArguments{QStringLiteral("Opcja %1 podana dwa razy.").arg(a)};
            options.insert(a, args[++i]);
        } else {
            throw BadArguments{QStringLiteral("Nieznany argument: %1").arg(a)};
        }
    }
    return options;
}

int initdb(const QStringList& args)
{
    if (args.size() != 1)
        throw BadArguments{QStringLiteral("Polecenie initdb wymaga jednej nazwy pliku.")};
    data::createDeliveredDatabase(args.first());
    QTextStream(stdout) << QStringLiteral("Utworzono bazę danych %1.").arg(args.first()) << Qt::endl;
    return 0;
}

int settle(const QStringList& args)
{
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--taxpayer"), QStringLiteral("--year"),
                                             QStringLiteral("--half")},
                                      {QStringLiteral("--tsv")});
    for (const char* required : {"--db", "--taxpayer", "--year"})
        if (!options.contains(QString::fromLatin1(required)))
            throw BadArguments{QStringLiteral("Brak wymaganej opcji %1.").arg(QString::fromLatin1(required))};
    bool ok = false;
    const QString yearText = options.value(QStringLiteral("--year"));
    const int year = yearText.toInt(&ok);
    if (!ok || yearText.size() != 4 || year < 1990)
        throw BadArguments{QStringLiteral("Rok musi mieć cztery cyfry (np. 2024), a nie „%1”.").arg(yearText)};
    int half = 0;
    if (data::usesHalfYears(year)) {
        const QString h = options.value(QStringLiteral("--half"));
        if (h == QStringLiteral("I"))
            half = 0;
        else if (h == QStringLiteral("II"))
            half = 1;
        else if (h.isEmpty())
            throw BadArguments{QStringLiteral("Do roku %1 rozlicza się półrocza: podaj --half I albo --half II.").arg(data::lastYearOfHalfYears)};
        else
            throw BadArguments{QStringLiteral("Półrocze to I albo II, a nie „%1”.").arg(h)};
    } else if (options.contains(QStringLiteral("--half"))) {
        throw BadArguments{QStringLiteral("Od roku %1 rozlicza się cały rok: opcja --half nie jest dozwolona.").arg(data::lastYearOfHalfYears + 1)};
    }
    const QString taxpayer = options.value(QStringLiteral("--taxpayer"));

    Tdm_1 dm;
    dm_1 = &dm;
    dm.connectTo(options.value(QStringLiteral("--db")));
    dm.IBQ_zbior_w.setParam(QStringLiteral("naz"), taxpayer);
    dm.IBQ_zbior_w.open();
    const bool known = !dm.IBQ_zbior_w.isEmpty();
    dm.IBQ_zbior_w.close();
    if (!known) {
        printError(QStringLiteral("Nie ma podatnika o nazwie skróconej „%1”.").arg(taxpayer));
        return exitFailure;
    }
    dm.ibds_pal.open();
    dm.IBDS_siln.open();
    const auto parameters = reports::yearParameters(dm, year);
    const auto settlement = reports::computeSettlement(dm, taxpayer, year, data::settlementPeriod(year, half), parameters);
    QTextStream out(stdout);
    if (options.contains(QStringLiteral("--tsv"))) {
        out << tools::settlementTsv(settlement);
        for (const reports::SettlementLine* missing : settlement.linesWithoutRate())
            printError(QStringLiteral("Uwaga: brak stawki opłaty dla pojazdu %1, rodzaj %2, paliwo %3, rok %4.")
                           .arg(missing->registration).arg(missing->vehicleType).arg(missing->fuel).arg(year));
    } else {
        out << tools::settlementTable(settlement, half);
    }
    out.flush();
    dm.disconnectDatabase();
    dm_1 = nullptr;
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    text::applyProgramFormats();
    QStringList args = app.arguments().mid(1);
    try {
        if (args.isEmpty())
            throw BadArguments{QStringLiteral("Nie podano polecenia.")};
        const QString command = args.takeFirst();
        if (command == QStringLiteral("initdb"))
            return initdb(args);
        if (command == QStringLiteral("settle"))
            return settle(args);
        throw BadArguments{QStringLiteral("Nieznane polecenie: %1").arg(command)};
    } catch (const BadArguments& e) {
        printError(e.message);
        std::fputs(usage, stderr);
        return exitBadArguments;
    } catch (const std::exception& e) {
        printError(QStringLiteral("Błąd: %1").arg(QString::fromUtf8(e.what())));
        return exitFailure;
    }
}
