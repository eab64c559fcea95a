#include "import/ledger_files.h"

#include <QDir>
#include <QFileInfo>

#include "import/whole_file.h"

namespace ledger {

PkpirEntry PkpirEntry::columnAndDate(const Record& r)
{
    PkpirEntry e;
    e.column = r.byte(15);
    e.year = static_cast<int>(r.word(27));
    e.month = static_cast<int>(r.byte(29));
    e.day = static_cast<int>(r.byte(30));
    return e;
}

PkpirEntry PkpirEntry::from(const Record& r)
{
    PkpirEntry e = columnAndDate(r);
    e.account = r.text(6, 9);
    e.document = r.text(16, 11);
    e.description = descriptionOf(r);
    e.continuation = r.text(200, 124);
    return e;
}

FkEntry FkEntry::from(const Record& r)
{
    FkEntry e;
    e.account = r.text(6, 9);
    e.kind = r.byte(15);
    e.document = r.word(16);
    e.year = 2000 + static_cast<int>(r.byte(18));
    e.month = static_cast<int>(r.byte(19));
    e.day = static_cast<int>(r.byte(20));
    e.description = r.text(21, 74);
    return e;
}

Account Account::from(const Record& r)
{
    constexpr int address = 2080;
    Account a;
    a.code = r.text(0, 362);
    a.regon = r.text(362, 771 - 362);
    a.fullName = r.text(771, 822 - 771);
    a.shortName = r.text(822, address - 822);
    a.street = r.text(address + 63, 21);
    a.house = r.text(address + 84, 11);
    a.flat = r.text(address + 95, 6);
    a.city = r.text(address + 101, 26);
    a.postalCode = r.text(address + 127, 2299 - (address + 127));
    a.nip = r.text(2299);
    return a;
}

QString Account::addressLine() const
{
    QString line = decoded(street) + QLatin1Char(' ') + decoded(house);
    if (!flat.isEmpty())
        line += QLatin1Char('/') + decoded(flat);
    return line + QLatin1Char(' ') + decoded(postalCode) + QLatin1Char(' ') + decoded(city);
}

QString defaultFolder(Source source)
{
#ifdef Q_OS_WIN
    return source == Source::Pkpir ? QStringLiteral("c:\\zqd") : QStringLiteral("c:\\fk");
#else
    return QDir::home().filePath(source == Source::Pkpir ? QStringLiteral("zqd") : QStringLiteral("fk"));
#endif
}

QStringList pkpirFileNames()
{
    QStringList names;
    for (int month = 1; month <= 12; ++month)
        for (int digit = 0; digit <= 9; ++digit)
            names << QStringLiteral("dok_%1%2.zqd").arg(month, 2, 10, QLatin1Char('0')).arg(digit);
    return names;
}

QStringList fkFileNames(const QDate& periodStart, const QDate& periodEnd)
{
    QStringList names;
    for (int month = periodStart.month(); month <= periodEnd.month(); ++month)
        for (int digit = 0; digit <= 9; ++digit)
            names << QStringLiteral("d001%1%2.zqf").arg(month, 2, 10, QLatin1Char('0')).arg(digit);
    return names;
}

QString pathOf(const QString& folder, const QString& fileName)
{
    const QDir dir(folder.isEmpty() ? QDir::currentPath() : folder);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo::exists(exact))
        return exact;
    // The ledgers come from a system that ignores letter case in names.
    const QStringList matches = dir.entryList(QStringList{fileName}, QDir::Files | QDir::Hidden | QDir::System,
                                              QDir::Name | QDir::IgnoreCase);
    for (const QString& m : matches)
        if (m.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(m);
    return exact;
}

RecordFile::RecordFile(const QString& path, int recordSize) : size_(recordSize)
{
    // A file that is not there is simply not there for the import; one that is there but
    // cannot be read is named with the reason.
    WholeFile read = readWholeFile(path);
    problem_ = read.problem;
    open_ = read.there && read.problem.isEmpty();
    data_ = std::move(read.bytes);
    // What was read before a failure is still read; the rest of the file is not.
    failed_ = read.readFailed;
}

bool RecordFile::next(QByteArray& record)
{
    if ((number_ + 1) >= recordCount())
        return false;
    ++number_;
    record = QByteArray::fromRawData(data_.constData() + static_cast<qsizetype>(number_) * size_, size_);
    return true;
}

qint64 RecordFile::recordCount() const
{
    return data_.size() / size_;
}

QByteArray RecordFile::recordAt(qint64 n)
{
    if (n < 0 || n >= recordCount())
        return {};
    return data_.mid(n * size_, size_);
}

} // namespace ledger
