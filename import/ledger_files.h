#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include "import/ledger_record.h"

// The files of the two ledger programs that the imports read, and what they read of them.
namespace ledger {

// A PKPiR document (dok_MMn.zqd, records of 324 bytes).
struct PkpirEntry {
    static constexpr int size = 324;
    QByteArray account;      // offset 6, length-prefixed, 8 characters at most
    unsigned column = 0;     // offset 15
    QByteArray document;     // offset 16, 10 characters at most
    int year = 0;            // offset 27, 16-bit
    int month = 0;           // offset 29
    int day = 0;             // offset 30
    QByteArray description;  // offset 31, 168 characters at most
    QByteArray continuation; // offset 200, 123 characters at most
    static PkpirEntry from(const Record& r);
    // The column and the date only, without the texts: enough to tell whether the record
    // can be a fuel purchase of a period.
    static PkpirEntry columnAndDate(const Record& r);
    // The description's characters alone.
    static QByteArray descriptionOf(const Record& r) { return r.text(31, 169); }
    // A fuel purchase stands in column 13, before 2008 in column 14.
    static bool isFuelColumn(unsigned column, const QDate& day)
    {
        return (column == 14 && day.year() < 2008) || (column == 13 && day.year() >= 2008);
    }
};

// An FK document (d001MMn.zqf, records of 95 bytes).
struct FkEntry {
    static constexpr int size = 95;
    QByteArray account;     // offset 6, 8 characters at most
    unsigned kind = 0;      // offset 15
    unsigned document = 0;  // offset 16, 16-bit
    int year = 0;           // 2000 + the byte at offset 18
    int month = 0;          // offset 19
    int day = 0;            // offset 20
    QByteArray description; // offset 21, 73 characters at most
    static FkEntry from(const Record& r);
};

// An account of the PKPiR account list (konta200.zqd, records of 3953 bytes; record n holds
// account n, record 0 is none).
struct Account {
    static constexpr int size = 3953;
    QByteArray code;      // offset 0
    QByteArray regon;     // offset 362
    QByteArray fullName;  // offset 771
    QByteArray shortName; // offset 822
    QByteArray street;    // address block at 2080: +63, 20 characters at most
    QByteArray house;     // +84, 10 at most
    QByteArray flat;      // +95, 5 at most
    QByteArray city;      // +101, 25 at most
    QByteArray postalCode; // +127
    QByteArray nip;       // offset 2299
    static Account from(const Record& r);
    // An unused slot of the list: its code is exactly four blanks.
    bool isEmptySlot() const { return code == "    "; }
    // "Polna 3/12 20-001 Lublin": street, house number, "/" and flat number when there is
    // one, postal code, city; nothing trimmed.
    QString addressLine() const;
};

enum class Source { Pkpir, Fk };

// The folder a ledger keeps its data in: the ledger program's own on Windows (c:\zqd, c:\fk),
// folders of the same names in the user's home elsewhere.
QString defaultFolder(Source source);

// The file names the imports try, in the order they try them.
QStringList pkpirFileNames();                                      // dok_010.zqd … dok_129.zqd
QStringList fkFileNames(const QDate& periodStart, const QDate& periodEnd); // d001MMn.zqf of the period's months
inline const QString accountListFileName = QStringLiteral("konta200.zqd");

// The path of a ledger file in `folder` ("" for the working folder). Where names differ by
// letter case, the file whose name matches without regard to case is found.
QString pathOf(const QString& folder, const QString& fileName);

// Reads a file of fixed-size records in order; a trailing part shorter than one record is
// not read. The file is read whole when opened (a ledger's files are small; see
// readWholeFile for what is not read at all); the records handed out point into it and live
// as long as this object.
class RecordFile {
public:
    RecordFile(const QString& path, int recordSize);
    bool isOpen() const { return open_; }
    // Why a file that is there could not be read (a folder of the file's name, no right to
    // read it, a link that leads nowhere, a pipe or a device, a file beyond the bound);
    // empty when it was read, or is simply not there.
    const QString& problem() const { return problem_; }
    // The next whole record; false at the end (or when reading failed: see failed()).
    bool next(QByteArray& record);
    bool failed() const { return failed_; }
    // The number of the record last read, from 0.
    int recordNumber() const { return number_; }
    qint64 recordCount() const;
    // Record `n` (from 0); empty when there is no whole record n.
    QByteArray recordAt(qint64 n);

private:
    QByteArray data_;
    int size_;
    int number_ = -1;
    bool open_ = false;
    bool failed_ = false;
    QString problem_;
};

} // namespace ledger
