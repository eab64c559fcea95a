#include "tools/import_commands.h"

#include <QFileInfo>
#include <QTextStream>

#include "data/dm1.h"
#include "data/period.h"
#include "desktop/signal_catcher.h"
#include "data/taxpayers.h"
#include "import/ledger_record.h"
#include "import/purchase_import.h"
#include "import/taxpayer_import.h"
#include "text/formats.h"
#include "tools/cli_options.h"

namespace tools {

namespace {

const char* importPurchasesUsage =
    "  brenvald-cli import-purchases --db BAZA --source pkpir|fk --dir KATALOG --year RRRR [--quarter 1-4]\n"
    "                                (--all | NR_PODATNIKA...)\n"
    "      przejmuje zakupy paliw z dokumentów PKPiR lub FK i drukuje raport\n"
    "      (--quarter do roku 2012 włącznie; FK bierze tylko pierwszego podatnika)\n";
const char* importTaxpayersUsage =
    "  brenvald-cli import-taxpayers --db BAZA --dir KATALOG [--overwrite nazwa,nazskr,adres,regon,nip] KONTO...\n"
    "      przejmuje konta z listy kont PKPiR jako podatników; istniejącemu podatnikowi\n"
    "      zastępuje tylko pola wymienione w --overwrite\n";

// The import period: the whole year from 2013, a quarter up to 2012.
data::Period importPeriod(const QMap<QString, QString>& options)
{
    const int year = yearOption(options.value(QStringLiteral("--year")));
    const QString quarter = options.value(QStringLiteral("--quarter"));
    if (!data::usesHalfYears(year)) {
        if (options.contains(QStringLiteral("--quarter")))
            throw BadArguments{QStringLiteral("Od roku %1 przejmuje się cały rok: opcja --quarter nie jest dozwolona.")
                                   .arg(data::lastYearOfHalfYears + 1)};
        return data::periodOfPart(data::YearParts::Quarters, year, 0);
    }
    bool ok = false;
    const int q = quarter.toInt(&ok);
    if (!ok || q < 1 || q > 4)
        throw BadArguments{quarter.isEmpty() ? QStringLiteral("Do roku %1 przejmuje się kwartały: podaj --quarter 1, 2, 3 albo 4.")
                                                   .arg(data::lastYearOfHalfYears)
                                             : QStringLiteral("Kwartał to 1, 2, 3 albo 4, a nie „%1”.").arg(quarter)};
    return data::periodOfPart(data::YearParts::Quarters, year, q - 1);
}

// The chosen list as ">" or ">>" make it: taxpayer codes ("007"), each once.
QStringList chosenCodes(Tdm_1& dm, const QStringList& numbers, bool all)
{
    QStringList codes;
    if (all) {
        for (const int number : data::Taxpayers(dm).numbers())
            codes << ledger::taxpayerCode(number);
        return codes;
    }
    for (const QString& n : numbers) {
        bool ok = false;
        const int number = n.toInt(&ok);
        if (!ok || number <= 0)
            throw BadArguments{QStringLiteral("Numer podatnika to liczba całkowita, a nie „%1”.").arg(n)};
        const QString code = ledger::taxpayerCode(number);
        if (!codes.contains(code))
            codes << code;
    }
    return codes;
}

// The numbers among the codes that no taxpayer has: a slip in a number is said, rather than
// read as a taxpayer without purchases.
QStringList unknownTaxpayers(Tdm_1& dm, const QStringList& codes)
{
    QList<int> numbers;
    for (const QString& code : codes)
        numbers << ledger::trimmed(code).toInt();
    QStringList unknown;
    for (const int number : data::Taxpayers(dm).unknown(numbers))
        unknown << QString::number(number);
    return unknown;
}

} // namespace

int importPurchases(const QStringList& args)
{
    QStringList numbers;
    const auto options = parseOptions(args,
                                      {QStringLiteral("--db"), QStringLiteral("--source"), QStringLiteral("--dir"),
                                       QStringLiteral("--year"), QStringLiteral("--quarter")},
                                      {QStringLiteral("--all")}, &numbers);
    requireOptions(options, {"--db", "--source", "--dir", "--year"});
    const QString source = options.value(QStringLiteral("--source"));
    if (source != QStringLiteral("pkpir") && source != QStringLiteral("fk"))
        throw BadArguments{QStringLiteral("Źródło to pkpir albo fk, a nie „%1”.").arg(source)};
    const bool all = options.contains(QStringLiteral("--all"));
    if (all && !numbers.isEmpty())
        throw BadArguments{QStringLiteral("Podaj numery podatników albo --all, nie jedno i drugie.")};
    if (!all && numbers.isEmpty())
        throw BadArguments{QStringLiteral("Podaj numery podatników albo --all.")};
    const data::Period period = importPeriod(options);

    Tdm_1 dm;
    dm.connectTo(options.value(QStringLiteral("--db")));
    ledger::PurchaseImportRun run{source == QStringLiteral("pkpir") ? ledger::Source::Pkpir : ledger::Source::Fk,
                                  options.value(QStringLiteral("--dir")), period, chosenCodes(dm, numbers, all)};
    if (const QStringList unknown = unknownTaxpayers(dm, run.codes); !unknown.isEmpty()) {
        printError(unknown.size() == 1 ? QStringLiteral("Nie ma podatnika o numerze %1.").arg(unknown.first())
                                       : QStringLiteral("Nie ma podatników o numerach %1.").arg(unknown.join(QStringLiteral(", "))));
        dm.disconnectDatabase();
        return exitFailure;
    }
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    ledger::PurchaseImport import(dm, [&out](const QString& line) { out << line << Qt::endl; });
    // A termination signal ends the run at the next entry, with what was stored committed.
    import.setStop([] { return desktop::SignalCatcher::lastCaught() != 0; });
    import.run(run);
    dm.disconnectDatabase();
    if (import.stopped())
        throw Interrupted{};
    bool complete = true;
    if (!import.busyElsewhere().isEmpty()) {
        printError(QStringLiteral("Pominięto podatników, których zakupy przejmuje teraz inne stanowisko: %1.")
                       .arg(import.busyElsewhere().join(QStringLiteral(", "))));
        complete = false;
    }
    if (!import.unreadableFiles().isEmpty()) {
        printError(QStringLiteral("Nie odczytano plików: %1.").arg(import.unreadableFiles().join(QStringLiteral(", "))));
        complete = false;
    }
    return complete ? 0 : exitFailure;
}

int importTaxpayers(const QStringList& args)
{
    QStringList accounts;
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--dir"), QStringLiteral("--overwrite")},
                                      {}, &accounts);
    requireOptions(options, {"--db", "--dir"});
    if (accounts.isEmpty())
        throw BadArguments{QStringLiteral("Podaj numery kont do przejęcia.")};
    ledger::TaxpayerFields overwrite;
    if (options.contains(QStringLiteral("--overwrite"))) {
        const QMap<QString, ledger::TaxpayerField> names{{QStringLiteral("nazwa"), ledger::TaxpayerField::Name},
                                                         {QStringLiteral("nazskr"), ledger::TaxpayerField::ShortName},
                                                         {QStringLiteral("adres"), ledger::TaxpayerField::Address},
                                                         {QStringLiteral("regon"), ledger::TaxpayerField::Regon},
                                                         {QStringLiteral("nip"), ledger::TaxpayerField::Nip}};
        for (const QString& name : options.value(QStringLiteral("--overwrite")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (!names.contains(name.trimmed()))
                throw BadArguments{QStringLiteral("Pole do zastąpienia to nazwa, nazskr, adres, regon lub nip, a nie „%1”.")
                                       .arg(name)};
            overwrite |= names.value(name.trimmed());
        }
    }
    if (!QFileInfo(options.value(QStringLiteral("--dir"))).isDir()) {
        printError(QStringLiteral("Nie ma katalogu %1.").arg(options.value(QStringLiteral("--dir"))));
        return exitFailure;
    }
    Tdm_1 dm;
    dm.connectTo(options.value(QStringLiteral("--db")));
    ledger::TaxpayerImport import(dm, options.value(QStringLiteral("--dir")),
                                  [overwrite](const ledger::Comparison&) { return overwrite; });
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    int refused = 0, done = 0;
    for (const QString& account : accounts) {
        // A termination signal ends the run between accounts; each account is saved whole.
        if (desktop::SignalCatcher::lastCaught() != 0) {
            out << ledger::stoppedLine(done) << Qt::endl;
            dm.disconnectDatabase();
            throw Interrupted{};
        }
        const int number = ledger::trimmed(account).toInt();
        ledger::TaxpayerImport::Outcome outcome;
        try {
            outcome = import.przepisz_konto(account);
        } catch (const std::exception& e) {
            // The account the database refuses is named with the reason, and the run goes on.
            out << QStringLiteral("Konto %1: nie przejęto (%2)").arg(account, text::oneLine(QString::fromUtf8(e.what())))
                << Qt::endl;
            ++refused;
            continue;
        }
        ++done;
        const QString renamed = import.shortNameGiven().isEmpty()
                                    ? QString()
                                    : QStringLiteral(" pod nazwą skróconą %1 (jego nazwę ma inny podatnik)").arg(import.shortNameGiven());
        switch (outcome) {
        case ledger::TaxpayerImport::Outcome::Created:
            out << QStringLiteral("Konto %1: utworzono podatnika nr %2").arg(account).arg(number) << renamed << Qt::endl;
            break;
        case ledger::TaxpayerImport::Outcome::Updated:
            out << QStringLiteral("Konto %1: zaktualizowano podatnika nr %2").arg(account).arg(number) << renamed << Qt::endl;
            break;
        case ledger::TaxpayerImport::Outcome::Unchanged:
            out << QStringLiteral("Konto %1: podatnik nr %2 pozostawiony bez zmian").arg(account).arg(number) << Qt::endl;
            break;
        case ledger::TaxpayerImport::Outcome::PassedOver:
            out << QStringLiteral("Konto %1: pominięte (nie ma go na liście kont)").arg(account) << Qt::endl;
            break;
        }
    }
    dm.disconnectDatabase();
    return refused == 0 ? 0 : exitFailure;
}

const Command importCommands[2] = {{"import-purchases", importPurchasesUsage, importPurchases},
                                   {"import-taxpayers", importTaxpayersUsage, importTaxpayers}};

} // namespace tools
