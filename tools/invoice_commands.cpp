#include "tools/invoice_commands.h"

#include <QTextStream>

#include "data/dm1.h"
#include "desktop/signal_catcher.h"
#include "import/invoice_import.h"

namespace tools {

namespace {

const char* importInvoicesUsage =
    "  brenvald-cli import-invoices --db BAZA [--vehicle NR_REJ] ŚCIEŻKA...\n"
    "      przejmuje zakupy paliw z e-faktur KSeF (FA(3), FA(2)): ŚCIEŻKA to plik XML,\n"
    "      paczka ZIP albo katalog (z podkatalogami); --vehicle to pojazd wierszy,\n"
    "      w których faktura nie wskazuje pojazdu; drukuje raport; kod 1, gdy coś\n"
    "      pozostawiono\n";

} // namespace

int importInvoices(const QStringList& args)
{
    QStringList paths;
    const auto options = parseOptions(args, {QStringLiteral("--db"), QStringLiteral("--vehicle")}, {}, &paths);
    requireOptions(options, {"--db"});
    if (paths.isEmpty())
        throw BadArguments{QStringLiteral("Podaj pliki XML, paczki ZIP albo katalogi z e-fakturami.")};

    Tdm_1 dm;
    dm.connectTo(options.value(QStringLiteral("--db")));
    ksef::InvoiceImport import(dm);
    // A termination signal ends the run between files, or between units of stored invoices
    // with what was stored committed.
    import.setStop([] { return desktop::SignalCatcher::lastCaught() != 0; });
    ksef::InvoicePreview preview = import.preview(paths);
    if (options.contains(QStringLiteral("--vehicle"))) {
        const QString registration = options.value(QStringLiteral("--vehicle"));
        const int vehicle = preview.vehicleOf(registration);
        if (vehicle < 0)
            throw BadArguments{QStringLiteral("Nie ma pojazdu o numerze rejestracyjnym „%1”.").arg(registration)};
        preview.giveUnnamedLines(vehicle);
    }
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    import.store(preview, [&out](const QString& line) { out << line << Qt::endl; });
    dm.disconnectDatabase();
    if (import.stopped())
        throw Interrupted{};
    return preview.complete() ? 0 : exitFailure;
}

const Command invoiceCommands[1] = {{"import-invoices", importInvoicesUsage, importInvoices}};

} // namespace tools
