#include "import/ksef_reader.h"

#include <QIODevice>
#include <QSet>
#include <QXmlStreamReader>
#include <limits>

namespace ksef {

namespace {

// An invoice names no entity; whatever a document expands beyond this is not an invoice.
constexpr int entityExpansionLimit = 1000;

class Reader {
public:
    explicit Reader(QIODevice& device) : xml_(&device)
    {
        xml_.setNamespaceProcessing(true);
        xml_.setEntityExpansionLimit(entityExpansionLimit);
    }

    ReadOutcome read()
    {
        ReadOutcome out;
        if (!readRoot(out))
            return out;
        readFaktura(out.invoice);
        // The rest of the document is read too, so that a broken end is noticed.
        while (!xml_.atEnd() && !xml_.hasError())
            xml_.readNext();
        if (!xml_.hasError())
            checkRequired(out.invoice);
        if (xml_.hasError())
            return broken();
        out.kind = ReadOutcome::Kind::Invoice;
        return out;
    }

private:
    QXmlStreamReader xml_;
    QString ns_;
    QSet<int> lineNumbers_;

    ReadOutcome broken()
    {
        ReadOutcome out;
        out.kind = ReadOutcome::Kind::Broken;
        out.line = xml_.lineNumber();
        out.column = xml_.columnNumber() + 1; // counted from 1, as editors count
        switch (xml_.error()) {
        case QXmlStreamReader::CustomError: out.detail = xml_.errorString(); break;
        case QXmlStreamReader::PrematureEndOfDocumentError: out.detail = QStringLiteral("plik urywa się przed końcem dokumentu"); break;
        default: out.detail = QStringLiteral("to nie jest poprawny XML"); break;
        }
        return out;
    }

    // Up to the root element; false when the document is no invoice or cannot be read.
    bool readRoot(ReadOutcome& out)
    {
        while (!xml_.atEnd()) {
            const auto token = xml_.readNext();
            if (token == QXmlStreamReader::DTD) {
                xml_.raiseError(QStringLiteral("dokument ma deklarację DTD, której program nie przyjmuje"));
                break;
            }
            if (token == QXmlStreamReader::StartElement)
                break;
        }
        if (xml_.hasError() || xml_.atEnd()) {
            if (!xml_.hasError())
                xml_.raiseError(QStringLiteral("plik nie zawiera dokumentu XML"));
            out = broken();
            return false;
        }
        if (xml_.name() != QLatin1String("Faktura")) {
            out.kind = ReadOutcome::Kind::NotAnInvoice;
            out.detail = xml_.qualifiedName().toString();
            return false;
        }
        ns_ = xml_.namespaceUri().toString();
        if (ns_ == fa3Namespace) {
            out.invoice.structure = Structure::Fa3;
        } else if (ns_ == fa2Namespace) {
            out.invoice.structure = Structure::Fa2;
        } else {
            out.kind = ReadOutcome::Kind::UnknownStructure;
            out.detail = ns_;
            return false;
        }
        return true;
    }

    // The next child element of the invoice's namespace within the current element; false at
    // its end. Children of other namespaces are passed over.
    bool nextChild()
    {
        while (xml_.readNextStartElement()) {
            if (xml_.namespaceUri() == ns_)
                return true;
            xml_.skipCurrentElement();
        }
        return false;
    }

    bool is(const char* name) const { return xml_.name() == QLatin1String(name); }

    QString text() { return xml_.readElementText().simplified(); }

    QDate date()
    {
        const QString name = xml_.name().toString();
        const QString t = text();
        const QDate d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid() && !xml_.hasError())
            xml_.raiseError(QStringLiteral("„%1” w elemencie %2 nie jest datą").arg(t, name));
        return d;
    }

    qint64 number(qint64 most)
    {
        const QString name = xml_.name().toString();
        const QString t = text();
        bool ok = false;
        const qint64 n = t.toLongLong(&ok);
        if ((!ok || n < 0 || n > most) && !xml_.hasError())
            xml_.raiseError(QStringLiteral("„%1” w elemencie %2 nie jest numerem, który program przyjmuje").arg(t, name));
        return n;
    }

    void readFaktura(Invoice& invoice)
    {
        while (nextChild()) {
            if (is("Podmiot1"))
                readParty(invoice.sellerNip, invoice.sellerName);
            else if (is("Podmiot2"))
                readParty(invoice.buyerNip, invoice.buyerName);
            else if (is("Fa"))
                readFa(invoice);
            else if (is("Stopka"))
                readFooter(invoice.footer);
            else
                xml_.skipCurrentElement();
        }
    }

    void readParty(QString& nip, QString& name)
    {
        while (nextChild()) {
            if (!is("DaneIdentyfikacyjne")) {
                xml_.skipCurrentElement();
                continue;
            }
            while (nextChild()) {
                if (is("NIP"))
                    nip = text();
                else if (is("Nazwa"))
                    name = text();
                else
                    xml_.skipCurrentElement();
            }
        }
    }

    void readFooter(QStringList& footer)
    {
        while (nextChild()) {
            if (!is("Informacje")) {
                xml_.skipCurrentElement();
                continue;
            }
            while (nextChild()) {
                if (is("StopkaFaktury"))
                    footer << text();
                else
                    xml_.skipCurrentElement();
            }
        }
    }

    void readFa(Invoice& invoice)
    {
        while (nextChild()) {
            if (is("P_1")) {
                invoice.invoiceDate = date();
            } else if (is("P_2")) {
                invoice.number = text();
            } else if (is("P_6")) {
                invoice.delivered = date();
            } else if (is("OkresFa")) {
                while (nextChild()) {
                    if (is("P_6_Od"))
                        invoice.periodStart = date();
                    else if (is("P_6_Do"))
                        invoice.periodEnd = date();
                    else
                        xml_.skipCurrentElement();
                }
            } else if (is("RodzajFaktury")) {
                invoice.kind = text();
            } else if (is("DaneFaKorygowanej")) {
                readCorrected(invoice.corrected);
            } else if (is("DodatkowyOpis")) {
                readNote(invoice.notes);
            } else if (is("FaWiersz")) {
                readLine(invoice.lines);
            } else {
                xml_.skipCurrentElement();
            }
        }
    }

    void readCorrected(std::vector<CorrectedInvoice>& corrected)
    {
        CorrectedInvoice c;
        while (nextChild()) {
            if (is("DataWystFaKorygowanej"))
                c.invoiceDate = date();
            else if (is("NrFaKorygowanej"))
                c.number = text();
            else
                xml_.skipCurrentElement();
        }
        corrected.push_back(c);
    }

    void readNote(std::vector<InvoiceNote>& notes)
    {
        InvoiceNote note;
        while (nextChild()) {
            if (is("NrWiersza"))
                note.line = static_cast<int>(number(std::numeric_limits<int>::max()));
            else if (is("Klucz"))
                note.key = text();
            else if (is("Wartosc"))
                note.value = text();
            else
                xml_.skipCurrentElement();
        }
        notes.push_back(note);
    }

    void readLine(std::vector<InvoiceLine>& lines)
    {
        InvoiceLine line;
        bool numbered = false;
        while (nextChild()) {
            if (is("NrWierszaFa")) {
                line.number = static_cast<int>(number(std::numeric_limits<int>::max()));
                numbered = true;
                if (!xml_.hasError() && lineNumbers_.contains(line.number))
                    xml_.raiseError(QStringLiteral("numer wiersza %1 powtarza się w fakturze").arg(line.number));
                lineNumbers_.insert(line.number);
            } else if (is("P_6A")) {
                line.date = date();
            } else if (is("P_7")) {
                line.name = text();
            } else if (is("CN")) {
                line.cn = text();
            } else if (is("P_8A")) {
                line.unit = text();
            } else if (is("P_8B")) {
                const QString t = text();
                line.quantity = parseMillionths(t);
                if (!line.quantity && !xml_.hasError())
                    xml_.raiseError(QStringLiteral("„%1” w elemencie P_8B nie jest ilością, którą program przyjmuje").arg(t));
            } else if (is("GTU")) {
                line.gtu = text();
            } else if (is("StanPrzed")) {
                line.stateBefore = text() == QLatin1String("1");
            } else {
                xml_.skipCurrentElement();
            }
        }
        if (!numbered && !xml_.hasError())
            xml_.raiseError(QStringLiteral("wiersz faktury bez numeru (NrWierszaFa)"));
        lines.push_back(line);
    }

    // What the import cannot do without, named where the invoice ends.
    void checkRequired(const Invoice& invoice)
    {
        if (invoice.sellerNip.isEmpty())
            xml_.raiseError(QStringLiteral("brak NIP sprzedawcy (Podmiot1)"));
        else if (invoice.number.isEmpty())
            xml_.raiseError(QStringLiteral("brak numeru faktury (P_2)"));
        else if (!invoice.invoiceDate.isValid())
            xml_.raiseError(QStringLiteral("brak daty wystawienia (P_1)"));
        else if (invoice.kind.isEmpty())
            xml_.raiseError(QStringLiteral("brak rodzaju faktury (RodzajFaktury)"));
    }
};

} // namespace

ReadOutcome readInvoice(QIODevice& device)
{
    return Reader(device).read();
}

} // namespace ksef
