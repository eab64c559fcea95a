// E-invoices made by the tests: FA(3) documents (FA(2) with its own namespace and heading)
// holding what the fuel import reads, and what the schema requires beside it.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QXmlStreamWriter>

#include <zip.h>

namespace ksefbuild {

using namespace Qt::StringLiterals;

struct Line {
    QString name = u"ON"_s;
    QString quantity = u"50"_s;
    QString unit = u"l"_s;
    QString cn{};
    QString date{}; // P_6A
    QString gtu{};
    bool before = false; // StanPrzed
    int number = 0;      // 0: its place on the invoice
};

struct Note {
    int line = 0; // 0: of the whole invoice
    QString key = u"Nr rejestracyjny"_s;
    QString value{};
};

struct Invoice {
    QString number = u"FV/1/2026"_s;
    QString kind = u"VAT"_s;
    QString invoiceDate = u"2026-03-02"_s; // P_1
    QString delivered{};              // P_6
    QString periodFrom{}, periodTo{}; // OkresFa
    QString sellerNip = u"5260250274"_s;
    QString buyerNip = u"1234563218"_s; // empty: the buyer has no NIP
    QString buyerName = u"Trans-Pol Sp. z o.o."_s;
    QList<QPair<QString, QString>> corrected{}; // DaneFaKorygowanej: date, number
    QList<Note> notes{};
    QList<Line> lines{};
    QStringList footer{};
    bool fa2 = false;
};

inline void element(QXmlStreamWriter& w, const QString& name, const QString& value)
{
    if (!value.isEmpty())
        w.writeTextElement(name, value);
}

inline QByteArray xml(const Invoice& f)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeDefaultNamespace(f.fa2 ? u"http://crd.gov.pl/wzor/2023/06/29/12648/"_s : u"http://crd.gov.pl/wzor/2025/06/25/13775/"_s);
    w.writeStartElement(u"Faktura"_s);
    w.writeStartElement(u"Naglowek"_s);
    w.writeStartElement(u"KodFormularza"_s);
    w.writeAttribute(u"kodSystemowy"_s, f.fa2 ? u"FA (2)"_s : u"FA (3)"_s);
    w.writeAttribute(u"wersjaSchemy"_s, u"1-0E"_s);
    w.writeCharacters(u"FA"_s);
    w.writeEndElement();
    element(w, u"WariantFormularza"_s, f.fa2 ? u"2"_s : u"3"_s);
    element(w, u"DataWytworzeniaFa"_s, f.invoiceDate + u"T10:00:00Z"_s);
    w.writeEndElement();
    w.writeStartElement(u"Podmiot1"_s);
    w.writeStartElement(u"DaneIdentyfikacyjne"_s);
    element(w, u"NIP"_s, f.sellerNip);
    element(w, u"Nazwa"_s, u"Stacja Paliw Sp. z o.o."_s);
    w.writeEndElement();
    w.writeStartElement(u"Adres"_s);
    element(w, u"KodKraju"_s, u"PL"_s);
    element(w, u"AdresL1"_s, u"ul. Prosta 1, 00-001 Warszawa"_s);
    w.writeEndElement();
    w.writeEndElement();
    w.writeStartElement(u"Podmiot2"_s);
    w.writeStartElement(u"DaneIdentyfikacyjne"_s);
    if (f.buyerNip.isEmpty())
        element(w, u"BrakID"_s, u"1"_s);
    else
        element(w, u"NIP"_s, f.buyerNip);
    element(w, u"Nazwa"_s, f.buyerName);
    w.writeEndElement();
    if (!f.fa2) {
        element(w, u"JST"_s, u"2"_s);
        element(w, u"GV"_s, u"2"_s);
    }
    w.writeEndElement();
    w.writeStartElement(u"Fa"_s);
    element(w, u"KodWaluty"_s, u"PLN"_s);
    element(w, u"P_1"_s, f.invoiceDate);
    element(w, u"P_2"_s, f.number);
    element(w, u"P_6"_s, f.delivered);
    if (!f.periodFrom.isEmpty()) {
        w.writeStartElement(u"OkresFa"_s);
        element(w, u"P_6_Od"_s, f.periodFrom);
        element(w, u"P_6_Do"_s, f.periodTo);
        w.writeEndElement();
    }
    element(w, u"P_15"_s, u"100.00"_s);
    w.writeStartElement(u"Adnotacje"_s);
    for (const char* p : {"P_16", "P_17", "P_18", "P_18A"})
        element(w, QLatin1String(p), u"2"_s);
    for (const auto& [group, no] : {std::pair{"Zwolnienie", "P_19N"}, {"NoweSrodkiTransportu", "P_22N"}}) {
        w.writeStartElement(QLatin1String(group));
        element(w, QLatin1String(no), u"1"_s);
        w.writeEndElement();
    }
    element(w, u"P_23"_s, u"2"_s);
    w.writeStartElement(u"PMarzy"_s);
    element(w, u"P_PMarzyN"_s, u"1"_s);
    w.writeEndElement();
    w.writeEndElement();
    element(w, u"RodzajFaktury"_s, f.kind);
    for (const auto& [date, number] : f.corrected) {
        w.writeStartElement(u"DaneFaKorygowanej"_s);
        element(w, u"DataWystFaKorygowanej"_s, date);
        element(w, u"NrFaKorygowanej"_s, number);
        element(w, u"NrKSeFN"_s, u"1"_s);
        w.writeEndElement();
    }
    for (const Note& n : f.notes) {
        w.writeStartElement(u"DodatkowyOpis"_s);
        if (n.line > 0)
            element(w, u"NrWiersza"_s, QString::number(n.line));
        element(w, u"Klucz"_s, n.key);
        element(w, u"Wartosc"_s, n.value);
        w.writeEndElement();
    }
    for (int i = 0; i < f.lines.size(); ++i) {
        const Line& l = f.lines[i];
        w.writeStartElement(u"FaWiersz"_s);
        element(w, u"NrWierszaFa"_s, QString::number(l.number > 0 ? l.number : i + 1));
        element(w, u"P_6A"_s, l.date);
        element(w, u"P_7"_s, l.name);
        element(w, u"CN"_s, l.cn);
        element(w, u"P_8A"_s, l.unit);
        element(w, u"P_8B"_s, l.quantity);
        element(w, u"P_12"_s, u"23"_s);
        element(w, u"GTU"_s, l.gtu);
        if (l.before)
            element(w, u"StanPrzed"_s, u"1"_s);
        w.writeEndElement();
    }
    w.writeEndElement();
    if (!f.footer.isEmpty()) {
        w.writeStartElement(u"Stopka"_s);
        for (const QString& text : f.footer) {
            w.writeStartElement(u"Informacje"_s);
            element(w, u"StopkaFaktury"_s, text);
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndDocument();
    return out;
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A ZIP package of the entries (name, bytes), compressed as the e-invoice system packs them.
inline void writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& entries)
{
    int error = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!z)
        qFatal("cannot make %s", qPrintable(path));
    for (const auto& [name, bytes] : entries) {
        if (name.endsWith(u'/')) {
            zip_dir_add(z, name.toUtf8().constData(), ZIP_FL_ENC_UTF_8);
            continue;
        }
        zip_source_t* s = zip_source_buffer(z, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
        if (!s || zip_file_add(z, name.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8) < 0)
            qFatal("cannot add %s", qPrintable(name));
    }
    if (zip_close(z) != 0)
        qFatal("cannot write %s", qPrintable(path));
}

// What xmllint says against the published FA(3) schema of every invoice given, "" when each is
// valid. An FA(2) invoice is checked in its FA(3) form: the schema of FA(2) is not kept, and the
// import reads the same elements in both.
inline QString schemaErrors(const QList<Invoice>& invoices)
{
    QTemporaryDir dir;
    QStringList args{u"--noout"_s, u"--schema"_s, QStringLiteral(KSEF_SCHEMA)};
    for (int i = 0; i < invoices.size(); ++i) {
        Invoice f = invoices[i];
        f.fa2 = false;
        const QString path = dir.filePath(u"f%1.xml"_s.arg(i));
        writeFile(path, xml(f));
        args << path;
    }
    QProcess lint;
    lint.start(u"xmllint"_s, args);
    if (!lint.waitForFinished(120000))
        return u"xmllint did not run (is libxml2-utils installed?)"_s;
    return lint.exitCode() == 0 ? QString() : QString::fromUtf8(lint.readAllStandardError()).left(3000);
}

} // namespace ksefbuild
