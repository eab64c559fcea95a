// A 100-vehicle office's year of e-invoices in one package (10 000 invoices: station invoices
// of one fill-up, monthly fleet-card invoices of 50 to 200 lines, invoices of no fuel) taken
// over through the e-invoice import, against reading the package alone and against inserting
// the same purchases bare, one row a statement, in one transaction. Prints the times, the
// ratio of the import to reading and inserting together, and the peak memory. Each measurement
// runs in a process of its own. With --server HOST/PORT the database is reached through that
// Firebird server (the import and the bare inserts then pay a network round trip a statement).
#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>
#include <zip.h>

#include "bench_database.h"
#include "data/dm1.h"
#include "firebird/statement.h"
#include "import/invoice_import.h"
#include "import/ksef_package.h"
#include "import/ksef_reader.h"
#include "office_database.h"
#include "text/formats.h"

namespace {

constexpr int taxpayers = 20;
constexpr int vehiclesEach = 5;
constexpr int invoices = 10000;
constexpr int stationInvoices = 7000;
constexpr int repeats = 3;

// "HOST/PORT" of the server the database is reached through; empty: the embedded engine.
QString server;

QString registration(int taxpayer, int vehicle)
{
    return QStringLiteral("WB %1").arg(taxpayer * 100 + vehicle);
}

QString nip(int taxpayer)
{
    return QStringLiteral("52602502%1").arg(taxpayer, 2, 10, QLatin1Char('0'));
}

// The last of a taxpayer's vehicles burns petrol, the others diesel.
int fuelOf(int vehicle)
{
    return vehicle == vehiclesEach - 1 ? 1 : 5;
}

struct Row {
    QString registration;
    QString invoice;
    QDate day;
    int fuel;
    double litres;
};

struct Line {
    QString name;
    double quantity;
    QString unit;
    QDate day;
    QString vehicle; // bound to the line
};

// An FA(3) invoice as the e-invoice system hands it out, with what the schema requires.
QByteArray invoiceXml(int taxpayer, const QString& number, const QDate& invoiceDate, const QString& vehicle,
                      const std::vector<Line>& lines)
{
    QByteArray x;
    x.reserve(1500 + 300 * static_cast<int>(lines.size()));
    x += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Faktura xmlns=\"http://crd.gov.pl/wzor/2025/06/25/13775/\">"
         "<Naglowek><KodFormularza kodSystemowy=\"FA (3)\" wersjaSchemy=\"1-0E\">FA</KodFormularza>"
         "<WariantFormularza>3</WariantFormularza><DataWytworzeniaFa>";
    x += invoiceDate.toString(Qt::ISODate).toLatin1() + "T10:00:00Z</DataWytworzeniaFa></Naglowek>"
         "<Podmiot1><DaneIdentyfikacyjne><NIP>7740001454</NIP><Nazwa>Stacje Paliw S.A.</Nazwa></DaneIdentyfikacyjne>"
         "<Adres><KodKraju>PL</KodKraju><AdresL1>ul. Chemików 7, 09-411 Płock</AdresL1></Adres></Podmiot1>"
         "<Podmiot2><DaneIdentyfikacyjne><NIP>";
    x += nip(taxpayer).toLatin1() + "</NIP><Nazwa>Firma " + QByteArray::number(taxpayer)
         + "</Nazwa></DaneIdentyfikacyjne><JST>2</JST><GV>2</GV></Podmiot2><Fa><KodWaluty>PLN</KodWaluty><P_1>"
         + invoiceDate.toString(Qt::ISODate).toLatin1() + "</P_1><P_2>" + number.toUtf8()
         + "</P_2><P_15>100.00</P_15><Adnotacje><P_16>2</P_16><P_17>2</P_17><P_18>2</P_18><P_18A>2</P_18A>"
           "<Zwolnienie><P_19N>1</P_19N></Zwolnienie><NoweSrodkiTransportu><P_22N>1</P_22N></NoweSrodkiTransportu>"
           "<P_23>2</P_23><PMarzy><P_PMarzyN>1</P_PMarzyN></PMarzy></Adnotacje><RodzajFaktury>VAT</RodzajFaktury>";
    if (!vehicle.isEmpty())
        x += "<DodatkowyOpis><Klucz>Nr rejestracyjny</Klucz><Wartosc>" + vehicle.toUtf8() + "</Wartosc></DodatkowyOpis>";
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].vehicle.isEmpty())
            x += "<DodatkowyOpis><NrWiersza>" + QByteArray::number(i + 1) + "</NrWiersza><Klucz>Pojazd</Klucz><Wartosc>"
                 + lines[i].vehicle.toUtf8() + "</Wartosc></DodatkowyOpis>";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        x += "<FaWiersz><NrWierszaFa>" + QByteArray::number(i + 1) + "</NrWierszaFa>";
        if (l.day.isValid())
            x += "<P_6A>" + l.day.toString(Qt::ISODate).toLatin1() + "</P_6A>";
        x += "<P_7>" + l.name.toUtf8() + "</P_7><P_8A>" + l.unit.toUtf8() + "</P_8A><P_8B>"
             + QByteArray::number(l.quantity, 'f', 2) + "</P_8B><P_9A>6.50</P_9A><P_12>23</P_12></FaWiersz>";
    }
    x += "</Fa></Faktura>\n";
    return x;
}

// The office's year: written as a package at `path` (unless empty); the purchases its fuel
// lines make.
std::vector<Row> officeYear(const QString& path)
{
    std::vector<Row> rows;
    zip_t* package = nullptr;
    if (!path.isEmpty()) {
        int error = 0;
        package = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (!package)
            qFatal("cannot make the package");
    }
    const auto add = [&](int n, const QByteArray& xml) {
        if (!package)
            return;
        auto* copy = static_cast<char*>(malloc(static_cast<size_t>(xml.size())));
        memcpy(copy, xml.constData(), static_cast<size_t>(xml.size()));
        zip_source_t* s = zip_source_buffer(package, copy, static_cast<zip_uint64_t>(xml.size()), 1);
        if (zip_file_add(package, QStringLiteral("FA/%1.xml").arg(n).toUtf8().constData(), s, 0) < 0)
            qFatal("cannot add to the package");
    };
    int n = 0;
    // Fleet cards: one invoice a month per taxpayer, 50 to 200 fill-ups of its diesel vehicles.
    for (int t = 1; t <= taxpayers; ++t)
        for (int month = 1; month <= 12; ++month, ++n) {
            const QString number = QStringLiteral("KF/%1/%2/2026").arg(t).arg(month);
            std::vector<Line> lines;
            const int count = 50 + (t * 12 + month) % 151;
            for (int i = 0; i < count; ++i) {
                const int v = i % (vehiclesEach - 1);
                const QDate day(2026, month, 1 + i % 28);
                lines.push_back({QStringLiteral("Olej napędowy"), 20 + i % 60 + 0.37, QStringLiteral("l"), day, registration(t, v)});
                rows.push_back({registration(t, v), number, day, 5, lines.back().quantity});
            }
            add(n, invoiceXml(t, number, QDate(2026, month, 28), {}, lines));
        }
    // Station invoices of one fill-up and a coffee; invoices of no fuel.
    for (int k = 0; n < invoices; ++k, ++n) {
        const int t = 1 + k % taxpayers;
        const int v = k % vehiclesEach;
        const QDate day = QDate(2026, 1, 1).addDays(k % 365);
        const QString number = QStringLiteral("FS/%1/2026").arg(k);
        if (k < stationInvoices) {
            const std::vector<Line> lines{{fuelOf(v) == 5 ? QStringLiteral("ON") : QStringLiteral("Pb95"), 30 + k % 50 + 0.5,
                                           QStringLiteral("l"), {}, {}},
                                          {QStringLiteral("Kawa"), 1, QStringLiteral("szt."), {}, {}}};
            rows.push_back({registration(t, v), number, day, fuelOf(v), lines.front().quantity});
            add(n, invoiceXml(t, number, day, registration(t, v), lines));
        } else {
            add(n, invoiceXml(t, number, day, {}, {{QStringLiteral("Usługa serwisowa"), 1, QStringLiteral("szt."), {}, {}}}));
        }
    }
    if (package && zip_close(package) != 0)
        qFatal("cannot write the package");
    return rows;
}

double wholePeakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return std::max(bench::wholeRunPeakMemoryMiB(), usage.ru_maxrss / 1024.0);
}

// A new database with the office's taxpayers and vehicles.
void prepare(Tdm_1& dm)
{
    const QString path = bench::freshDeliveredDatabase();
    dm.connectTo(server.isEmpty() ? path : server + QLatin1Char(':') + path);
    fb::Statement taxpayer(dm.db_opl, dm.tr_opl, QStringLiteral("insert into PODAT (NR_PODAT, NIP, NAZSKR) values (:n, :nip, :s)"));
    fb::Statement vehicle(dm.db_opl, dm.tr_opl, QStringLiteral("insert into SAM values (:r, :p, 5, :f, '2020-01-01', null)"));
    for (int t = 1; t <= taxpayers; ++t) {
        taxpayer.setParam(QStringLiteral("n"), t);
        taxpayer.setParam(QStringLiteral("nip"), nip(t));
        taxpayer.setParam(QStringLiteral("s"), QStringLiteral("FIRMA%1").arg(t));
        taxpayer.execute();
        for (int v = 0; v < vehiclesEach; ++v) {
            vehicle.setParam(QStringLiteral("r"), registration(t, v));
            vehicle.setParam(QStringLiteral("p"), t);
            vehicle.setParam(QStringLiteral("f"), fuelOf(v));
            vehicle.execute();
        }
    }
    dm.tr_opl.commitRetaining();
}

// Reads every document of the package; prints the time, the fuel-bearing lines read and the peak.
void measureReading(QTextStream& out, const QString& package)
{
    bench::resetPeakMemory();
    QElapsedTimer t;
    t.start();
    qint64 lines = 0;
    ksef::walkDocuments({package}, [&](ksef::Document& d) { lines += ksef::readInvoice(d.device()).invoice.lines.size(); },
                        [](const ksef::FileNote&) {});
    out << t.nsecsElapsed() / 1e6 << ' ' << lines << ' ' << bench::peakMemoryMiB() << '\n';
}

// The import of the package: prints its time (and the preview's share of it), its own peak, the
// purchases stored and the process's peak.
void measureImport(QTextStream& out, const QString& package)
{
    Tdm_1 dm;
    prepare(dm);
    bench::resetPeakMemory();
    QElapsedTimer t;
    t.start();
    ksef::InvoiceImport import(dm);
    ksef::InvoicePreview preview = import.preview({package});
    const double previewMs = t.nsecsElapsed() / 1e6;
    import.store(preview, [](const QString&) {});
    const double ms = t.nsecsElapsed() / 1e6;
    out << ms << ' ' << previewMs << ' ' << bench::peakMemoryMiB() << ' ' << import.stored() << ' ' << wholePeakMiB() << '\n';
}

// The same purchases inserted bare; prints the time and the process's peak.
void measureBare(QTextStream& out)
{
    const std::vector<Row> rows = officeYear({});
    Tdm_1 dm;
    prepare(dm);
    QElapsedTimer t;
    t.start();
    fb::Statement insert(dm.db_opl, dm.tr_opl, QStringLiteral("insert into ZAK_PAL values (gen_id(G_ZAK, 1), :r, :i, :d, :f, :l)"));
    for (const Row& r : rows) {
        insert.setParam(QStringLiteral("r"), r.registration);
        insert.setParam(QStringLiteral("i"), r.invoice);
        insert.setParam(QStringLiteral("d"), r.day);
        insert.setParam(QStringLiteral("f"), r.fuel);
        insert.setParam(QStringLiteral("l"), r.litres);
        insert.execute();
    }
    dm.tr_opl.commitRetaining();
    out << t.nsecsElapsed() / 1e6 << ' ' << wholePeakMiB() << '\n';
}

QList<double> measuredApart(const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(),
            server.isEmpty() ? arguments : QStringList{QStringLiteral("--server"), server} + arguments);
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        qFatal("a measurement failed");
    QList<double> numbers;
    for (const QByteArray& n : p.readAllStandardOutput().simplified().split(' ')) {
        bool ok = false;
        numbers << n.toDouble(&ok);
        if (!ok)
            qFatal("a measurement printed something that is not a number");
    }
    return numbers;
}

} // namespace

// Usage: ksef_bench [--server HOST/PORT], or for one measurement
// ksef_bench [--server HOST/PORT] read PACKAGE | import PACKAGE | bare.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    text::applyProgramFormats();
    QTextStream out(stdout);
    out.setRealNumberPrecision(17);
    QStringList arguments = app.arguments();
    if (arguments.size() > 2 && arguments[1] == QLatin1String("--server")) {
        server = arguments[2];
        arguments.remove(1, 2);
    }
    if (arguments.size() == 3 && arguments[1] == QLatin1String("read")) {
        measureReading(out, arguments[2]);
        return 0;
    }
    if (arguments.size() == 3 && arguments[1] == QLatin1String("import")) {
        measureImport(out, arguments[2]);
        return 0;
    }
    if (arguments.size() == 2 && arguments[1] == QLatin1String("bare")) {
        measureBare(out);
        return 0;
    }
    if (arguments.size() != 1) {
        QTextStream(stderr) << "użycie: ksef_bench [--server HOST/PORT] (albo, dla jednego pomiaru: ksef_bench [--server HOST/PORT] "
                               "read PACZKA | import PACZKA | bare)\n";
        return 2;
    }

    QTemporaryDir folder;
    const QString package = folder.filePath(QStringLiteral("rok.zip"));
    const std::size_t purchases = officeYear(package).size();
    std::vector<double> reading, importing, previewing, bare;
    double readPeak = 0, importPeak = 0, wholePeak = 0;
    int stored = 0;
    qint64 lines = 0;
    for (int run = 0; run < repeats; ++run) {
        const QList<double> r = measuredApart({QStringLiteral("read"), package});
        const QList<double> i = measuredApart({QStringLiteral("import"), package});
        const QList<double> b = measuredApart({QStringLiteral("bare")});
        if (r.size() != 3 || i.size() != 5 || b.size() != 2)
            qFatal("a measurement printed something else");
        reading.push_back(r[0]);
        lines = static_cast<qint64>(r[1]);
        readPeak = std::max(readPeak, r[2]);
        importing.push_back(i[0]);
        previewing.push_back(i[1]);
        importPeak = std::max(importPeak, i[2]);
        stored = static_cast<int>(i[3]);
        wholePeak = std::max({wholePeak, i[4], b[1]});
        bare.push_back(b[0]);
    }
    const double read = bench::median(reading), ours = bench::median(importing), floor = bench::median(bare);
    out << "Import zakupów z e-faktur: paczka roku biura o " << taxpayers * vehiclesEach << " pojazdach, baza "
        << (server.isEmpty() ? QStringLiteral("lokalna") : QStringLiteral("przez serwer ") + server) << " (mediana z "
        << repeats << " przebiegów, każdy pomiar w osobnym procesie)\n";
    out << "faktur\twierszy\tzakupów\tzapisano\todczyt paczki [ms]\tgołe wstawienie [ms]\timport [ms]\tw tym podgląd [ms]\t"
           "stosunek do odczytu i wstawienia\tszczyt odczytu [MiB]\tszczyt importu [MiB]\tszczyt procesów [MiB]\n";
    out << invoices << '\t' << lines << '\t' << purchases << '\t' << stored << '\t' << QString::number(read, 'f', 1) << '\t'
        << QString::number(floor, 'f', 1) << '\t' << QString::number(ours, 'f', 1) << '\t'
        << QString::number(bench::median(previewing), 'f', 1) << '\t' << QString::number(ours / (read + floor), 'f', 2) << '\t'
        << QString::number(readPeak, 'f', 1) << '\t' << QString::number(importPeak, 'f', 1) << '\t'
        << QString::number(wholePeak, 'f', 1) << '\n';
    return 0;
}
