#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A structured invoice of the national e-invoice system (KSeF) as the fuel import reads it:
// only the elements that say who bought what, when, and which invoice a correction corrects.
namespace ksef {

// The logical structures the reader knows; what the import reads is the same in both.
enum class Structure { Fa2, Fa3 };

inline const QString fa3Namespace = QStringLiteral("http://crd.gov.pl/wzor/2025/06/25/13775/");
inline const QString fa2Namespace = QStringLiteral("http://crd.gov.pl/wzor/2023/06/29/12648/");

// A quantity as the invoice writes it (up to six decimal places), exactly: in millionths.
using Millionths = qint64;
constexpr Millionths oneUnit = 1000000;

// "-12.5" → -12 500 000; nullopt for anything but an optional minus, digits and at most six
// decimals after a point, and for a magnitude of a million million units or more.
std::optional<Millionths> parseMillionths(QStringView text);

struct InvoiceLine {
    int number = 0;                   // NrWierszaFa
    QDate date;                       // P_6A
    QString name;                     // P_7
    QString cn;                       // CN
    QString unit;                     // P_8A
    std::optional<Millionths> quantity; // P_8B
    QString gtu;                      // GTU
    bool stateBefore = false;         // StanPrzed: a correction's line of the state before it
};

// DodatkowyOpis: a key and a value, of one line (NrWiersza) or of the whole invoice.
struct InvoiceNote {
    std::optional<int> line;
    QString key;
    QString value;
};

// DaneFaKorygowanej.
struct CorrectedInvoice {
    QDate invoiceDate;
    QString number;
};

// What an invoice is for the purchases, by RodzajFaktury.
enum class InvoiceRole {
    Delivery,   // VAT, ROZ, UPR
    Correction, // KOR, KOR_ROZ: changes the purchases of the invoices it corrects
    Advance,    // ZAL, KOR_ZAL: delivers nothing
    Unknown,
};
InvoiceRole roleOf(const QString& kind);

struct Invoice {
    Structure structure = Structure::Fa3;
    QString sellerNip;  // Podmiot1
    QString sellerName;
    QString buyerNip;   // Podmiot2; empty when the buyer is identified otherwise
    QString buyerName;
    QDate invoiceDate;       // P_1
    QString number;     // P_2
    QDate delivered;    // P_6
    QDate periodStart;  // OkresFa
    QDate periodEnd;
    QString kind;       // RodzajFaktury
    std::vector<CorrectedInvoice> corrected;
    std::vector<InvoiceNote> notes;
    std::vector<InvoiceLine> lines;
    QStringList footer; // Stopka/Informacje/StopkaFaktury
};

} // namespace ksef
