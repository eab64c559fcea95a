#include "import/invoice_log.h"

#include "text/formats.h"

namespace ksef {

namespace {

QString registrationOf(const InvoicePreview& preview, int vehicle)
{
    return vehicle >= 0 ? preview.reg().vehicles[vehicle].registration : QString();
}

QString registrations(const InvoicePreview& preview, const QList<int>& vehicles)
{
    QStringList names;
    for (int v : vehicles)
        names << registrationOf(preview, v);
    return names.join(QStringLiteral(", "));
}

QString buyer(const PreviewInvoice& invoice)
{
    const QString name = invoice.buyerName.isEmpty() ? QString() : QStringLiteral(" „%1”").arg(invoice.buyerName);
    return invoice.buyerNip.isEmpty() ? QStringLiteral("nabywca bez NIP%1").arg(name)
                                      : QStringLiteral("nabywca NIP %1%2").arg(invoice.buyerNip, name);
}

QString invoiceHead(const PreviewInvoice& invoice)
{
    return QStringLiteral("%1: faktura %2 z %3 (sprzedawca NIP %4)")
        .arg(invoice.source, invoice.id.number, text::formatDate(invoice.invoiceDate), invoice.id.sellerNip);
}

} // namespace

QString fuelName(const InvoicePreview& preview, int fuel)
{
    for (const data::RegisterFuel& f : preview.reg().fuels)
        if (f.number == fuel)
            return f.name;
    return QString::number(fuel);
}

QString fuelKindName(FuelKind kind)
{
    switch (kind) {
    case FuelKind::Petrol: return QStringLiteral("benzyna");
    case FuelKind::Diesel: return QStringLiteral("olej napędowy");
    case FuelKind::Lpg: return QStringLiteral("LPG");
    case FuelKind::Cng: return QStringLiteral("CNG");
    case FuelKind::Biodiesel: return QStringLiteral("biodiesel");
    case FuelKind::Unknown:
    case FuelKind::NotFuel: break;
    }
    return QStringLiteral("nie paliwo");
}

QString statusText(LineStatus status)
{
    switch (status) {
    case LineStatus::Ready: return QStringLiteral("gotowy");
    case LineStatus::Stored: return QStringLiteral("zapisany");
    case LineStatus::StoredBefore: return QStringLiteral("przejęty wcześniej");
    case LineStatus::Repeated: return QStringLiteral("powtórzony");
    default: return QStringLiteral("pozostawiony");
    }
}

QString reasonOf(const InvoicePreview& preview, int line)
{
    const PreviewLine& l = preview.lines()[line];
    const PreviewInvoice& invoice = preview.invoices()[l.invoice];
    const QString vehicle = registrationOf(preview, l.vehicle);
    switch (l.status) {
    case LineStatus::Ready: return QStringLiteral("gotowy do przejęcia");
    case LineStatus::Stored: return QStringLiteral("zapisany");
    case LineStatus::StoredBefore: return QStringLiteral("przejęty już wcześniej");
    case LineStatus::Repeated:
        return QStringLiteral("ten sam wiersz tej faktury jest w pliku %1").arg(preview.invoices()[l.repeats].source);
    case LineStatus::UnknownBuyer: return QStringLiteral("%1 nie jest podatnikiem w bazie").arg(buyer(invoice));
    case LineStatus::AmbiguousBuyer: {
        QStringList names;
        for (int t : invoice.taxpayers)
            names << preview.reg().taxpayers[t].shortName;
        return QStringLiteral("NIP nabywcy %1 mają podatnicy: %2").arg(invoice.buyerNip, names.join(QStringLiteral(", ")));
    }
    case LineStatus::UnstorableNumber:
        return QStringLiteral("numer faktury ma znak „%1”, którego baza danych nie zapisze (strona kodowa Windows-1250)")
            .arg(invoice.unstorable);
    case LineStatus::NoQuantity: return QStringLiteral("brak ilości (P_8B)");
    case LineStatus::BadUnit:
        return l.unitText.isEmpty()
                   ? QStringLiteral("brak jednostki miary (P_8A)")
                   : QStringLiteral("jednostka „%1” nie jest jednostką paliwa %2 (%3 albo kg)")
                         .arg(l.unitText, fuelKindName(l.kind), unitSymbol(unitOfFuel(l.kind)));
    case LineStatus::NoFactor:
        return QStringLiteral("ilość jest w kilogramach, a paliwo „%1” nie ma przelicznika kg na %2")
            .arg(fuelName(preview, l.fuel), unitSymbol(unitOfFuel(l.kind)));
    case LineStatus::Implausible:
        return QStringLiteral("ilość %1 %2 jest poza zakresem, który program przyjmuje")
            .arg(quantityText(l.amount), unitSymbol(unitOfFuel(l.kind)));
    case LineStatus::NoVehicle: return QStringLiteral("faktura nie wskazuje pojazdu nabywcy");
    case LineStatus::AmbiguousVehicle:
        if (invoice.correction && l.named.isEmpty() && invoice.vehiclesNamed.isEmpty())
            return QStringLiteral("korygowane zakupy dotyczą kilku pojazdów (%1), a korekta nie wskazuje żadnego z nich")
                .arg(registrations(preview, l.candidates));
        return QStringLiteral("faktura wskazuje kilka pojazdów (%1), a wiersz żadnego z nich").arg(registrations(preview, l.candidates));
    case LineStatus::NotInUse:
        return QStringLiteral("pojazd %1 nie był używany %2").arg(vehicle, text::formatDate(l.date));
    case LineStatus::WrongFuel: {
        const int own = l.vehicle >= 0 ? preview.reg().vehicles[l.vehicle].fuel : 0;
        return QStringLiteral("pojazd %1 nie używa paliwa „%2” (jego paliwo: %3)")
            .arg(vehicle, fuelKindName(l.kind), fuelName(preview, own));
    }
    case LineStatus::UncorrectedUnknown: {
        QStringList numbers;
        for (const data::InvoiceId& id : invoice.corrected)
            numbers << id.number;
        return QStringLiteral("korekta faktury %1, której zakupów nie przejęto, nie wskazuje pojazdu")
            .arg(numbers.join(QStringLiteral(", ")));
    }
    case LineStatus::CorrectionIncomplete:
        return QStringLiteral("inny wiersz paliwa tej korekty jest pozostawiony, a korekta przechodzi tylko w całości");
    case LineStatus::Busy: return QStringLiteral("zakupy tego podatnika przejmuje teraz inne stanowisko");
    }
    return {};
}

QString leftLine(const InvoicePreview& preview, int line)
{
    const PreviewLine& l = preview.lines()[line];
    return QStringLiteral("%1, wiersz %2 „%3”: %4; pozostawiony")
        .arg(invoiceHead(preview.invoices()[l.invoice]))
        .arg(l.number)
        .arg(l.name, reasonOf(preview, line));
}

QString leftInvoice(const InvoicePreview& preview, int line, int fuelLines)
{
    return QStringLiteral("%1: %2; faktura pozostawiona (%3)")
        .arg(invoiceHead(preview.invoices()[preview.lines()[line].invoice]), reasonOf(preview, line), counted(fuelLines, QStringLiteral("wiersz paliwa"), QStringLiteral("wiersze paliwa"),
                                            QStringLiteral("wierszy paliwa")));
}

QString quantityText(Millionths amount)
{
    return text::formatNumber(static_cast<long double>(amount) / oneUnit, 2);
}

QString counted(int count, const QString& one, const QString& few, const QString& many)
{
    const int tens = count % 100;
    const int last = count % 10;
    const QString& word = count == 1 ? one : (last >= 2 && last <= 4 && (tens < 12 || tens > 14)) ? few : many;
    return QStringLiteral("%1 %2").arg(count).arg(word);
}

} // namespace ksef
