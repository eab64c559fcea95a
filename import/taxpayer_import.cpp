#include "import/taxpayer_import.h"

#include "data/dm1.h"
#include "data/field_names.h"
#include "data/taxpayers.h"
#include "data/work_lock.h"
#include "dataset/error.h"

namespace ledger {

namespace {

constexpr int shortNameLength = 15;

} // namespace

QList<AccountRow> readAccounts(const QString& folder)
{
    QList<AccountRow> rows;
    RecordFile file(pathOf(folder, accountListFileName), Account::size);
    QByteArray bytes;
    if (!file.next(bytes)) // record 0 is no account
        return rows;
    while (file.next(bytes)) {
        const Account a = Account::from(Record(bytes));
        if (!a.isEmptySlot())
            rows << AccountRow{file.recordNumber(), decoded(a.code), decoded(a.fullName), decoded(a.nip)};
    }
    return rows;
}

QString stoppedLine(int taken)
{
    return QStringLiteral("Przerwano. Przejęte dotąd konta (%1) pozostają w bazie.").arg(taken);
}

TaxpayerImport::TaxpayerImport(Tdm_1& dm, QString folder, Choose choose)
    : dm_(dm), folder_(std::move(folder)), choose_(std::move(choose))
{
}

// The short name, or where another taxpayer has it already, its first characters ended with
// the first number that makes it free ("FIRMA" → "FIRMA2"), within the field's length.
QString TaxpayerImport::freeShortName(const QString& wanted, int number)
{
    data::Taxpayers taxpayers(dm_);
    const auto isTaken = [&](const QString& name) { return taxpayers.holderOfShortName(name, number).has_value(); };
    if (!isTaken(wanted))
        return wanted;
    for (int n = 2;; ++n) {
        const QString suffix = QString::number(n);
        const QString candidate = wanted.left(shortNameLength - suffix.size()) + suffix;
        if (!isTaken(candidate)) {
            shortNameGiven_ = candidate;
            return candidate;
        }
    }
}

TaxpayerImport::Outcome TaxpayerImport::przepisz_konto(const QString& line)
{
    bool ok = false;
    const int number = trimmed(line).toInt(&ok);
    if (!ok)
        throw ds::Error(QStringLiteral("'%1' is not a valid integer value").arg(line));
    shortNameGiven_.clear();
    RecordFile file(pathOf(folder_, accountListFileName), Account::size);
    if (!file.problem().isEmpty())
        throw ds::Error(QStringLiteral("Nie można odczytać listy kont %1 (%2).").arg(accountListFileName, file.problem()));
    if (!file.isOpen() || number <= 0 || number >= file.recordCount())
        return Outcome::PassedOver;
    const QByteArray bytes = file.recordAt(number);
    if (bytes.isEmpty())
        return Outcome::PassedOver;
    // Held until the account is taken over, the comparison dialog included: a second desk
    // taking the same account waits for this one, then finds its row.
    data::WorkLock lock(dm_);
    if (!lock.take(data::Work::Taxpayer, {number}, waiting_).isEmpty())
        throw ds::Error(QStringLiteral("Konto %1 przejmuje teraz inne stanowisko. Spróbuj ponownie, gdy tamto stanowisko "
                                       "skończy.")
                            .arg(trimmed(line)));
    const Account account = Account::from(Record(bytes));
    const QString fullName = trimmed(decoded(account.fullName));
    const QString shortName = trimmed(decoded(account.shortName));
    const QString address = trimmed(account.addressLine());

    ds::Dataset& podat = dm_.IBDS_pod_kp;
    // Closed however the account ends; a closing that fails is logged, never thrown over
    // an error already on its way.
    const ds::OpenedDatasets opened = dm_.openLedgerTaxpayers();
    if (!podat.locate(data::col::NR_PODAT, number)) {
        podat.append();
        podat.setValue(data::col::NR_PODAT, number);
        podat.setValue(data::col::NAZWA, fullName);
        // A short name longer than the field is cut to it, as the fallback to the name is.
        podat.setValue(data::col::NAZSKR, freeShortName((account.shortName.isEmpty() ? fullName : shortName).left(shortNameLength), number));
        podat.setValue(data::col::ADRES, address);
        podat.setValue(data::col::REGON, decoded(account.regon));
        podat.setValue(data::col::NIP, decoded(account.nip));
        podat.post();
        return Outcome::Created;
    }
    const Comparison shown{line,
                           account,
                           trimmed(podat.value(data::col::NAZWA).toString()),
                           podat.value(data::col::NAZSKR).toString(),
                           trimmed(podat.value(data::col::ADRES).toString()),
                           podat.value(data::col::REGON).toString(),
                           podat.value(data::col::NIP).toString()};
    const TaxpayerFields fields = choose_ ? choose_(shown) : TaxpayerFields();
    if (!fields)
        return Outcome::Unchanged;
    podat.edit();
    if (fields & TaxpayerField::Name)
        podat.setValue(data::col::NAZWA, fullName);
    if (fields & TaxpayerField::ShortName)
        podat.setValue(data::col::NAZSKR, freeShortName(shortName.left(shortNameLength), number));
    if (fields & TaxpayerField::Address)
        podat.setValue(data::col::ADRES, address);
    if (fields & TaxpayerField::Regon)
        podat.setValue(data::col::REGON, decoded(account.regon));
    if (fields & TaxpayerField::Nip)
        podat.setValue(data::col::NIP, decoded(account.nip));
    podat.post();
    return Outcome::Updated;
}

} // namespace ledger
