#pragma once

#include <QString>
#include <QStringList>

#include "import/invoice_preview.h"

// The texts of the e-invoice import, in Polish, as its log, its screen and the command line
// show them.
namespace ksef {

// "olej napędowy", "benzyna", "LPG", "CNG", "biodiesel".
QString fuelKindName(FuelKind kind);
// The fuel table's name of the fuel of this number.
QString fuelName(const InvoicePreview& preview, int fuel);
// "gotowy", "zapisany", "przejęty wcześniej", "powtórzony", "pozostawiony".
QString statusText(LineStatus status);
// Why a line stands where it stands: "pojazd WA 100 nie był używany 01-03-2024".
QString reasonOf(const InvoicePreview& preview, int line);
// The log's line of a line left: "a.xml: faktura FV/1 z 02-03-2024 (sprzedawca NIP 5260250274),
// wiersz 2 „ON”: <reason>; pozostawiony".
QString leftLine(const InvoicePreview& preview, int line);
// The log's line of an invoice left whole for its buyer (unknown, or several taxpayers'), said
// once for its first fuel line, with the number of its fuel lines.
QString leftInvoice(const InvoicePreview& preview, int line, int fuelLines);
// A quantity in millionths as the program shows litres: "1.234,50".
QString quantityText(Millionths amount);
// "1 zakup", "3 zakupy", "12 zakupów": the Polish ending of a count.
QString counted(int count, const QString& one, const QString& few, const QString& many);

} // namespace ksef
