// Ledger files made by the tests and the benchmarks, byte by byte as the ledger programs lay them out.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QString>

#include "text/cp1250.h"

namespace ledgertest {

// Puts a length-prefixed text into a record: the length byte, then the Windows-1250 bytes.
inline void putText(QByteArray& record, int offset, const QString& text)
{
    const QByteArray bytes = *text::toCp1250(text);
    record[offset] = static_cast<char>(bytes.size());
    for (int i = 0; i < bytes.size(); ++i)
        record[offset + 1 + i] = bytes[i];
}

inline void putWord(QByteArray& record, int offset, unsigned value)
{
    record[offset] = static_cast<char>(value & 0xFF);
    record[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
}

struct PkpirLine {
    QString account{};
    int column = 13;
    QString document{};
    int year = 2024, month = 1, day = 1;
    QString description{};
    QString continuation{};
};

inline QByteArray pkpirRecord(const PkpirLine& l)
{
    QByteArray r(324, '\0');
    putText(r, 6, l.account);
    r[15] = static_cast<char>(l.column);
    putText(r, 16, l.document);
    putWord(r, 27, static_cast<unsigned>(l.year));
    r[29] = static_cast<char>(l.month);
    r[30] = static_cast<char>(l.day);
    putText(r, 31, l.description);
    putText(r, 200, l.continuation);
    return r;
}

struct FkLine {
    QString account = QStringLiteral("402");
    int kind = 1;
    unsigned document = 1;
    int year = 2024, month = 1, day = 1;
    QString description{};
};

inline QByteArray fkRecord(const FkLine& l)
{
    QByteArray r(95, '\0');
    putText(r, 6, l.account);
    r[15] = static_cast<char>(l.kind);
    putWord(r, 16, l.document);
    r[18] = static_cast<char>(l.year - 2000);
    r[19] = static_cast<char>(l.month);
    r[20] = static_cast<char>(l.day);
    putText(r, 21, l.description);
    return r;
}

struct AccountLine {
    QString code{};
    QString regon{}, fullName{}, shortName{}, nip{};
    QString street{}, house{}, flat{}, city{}, postalCode{};
};

inline QByteArray accountRecord(const AccountLine& a)
{
    QByteArray r(3953, ' ');
    putText(r, 0, a.code);
    putText(r, 362, a.regon);
    putText(r, 771, a.fullName);
    putText(r, 822, a.shortName);
    putText(r, 2080 + 63, a.street);
    putText(r, 2080 + 84, a.house);
    putText(r, 2080 + 95, a.flat);
    putText(r, 2080 + 101, a.city);
    putText(r, 2080 + 127, a.postalCode);
    putText(r, 2299, a.nip);
    return r;
}

inline void writeFile(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(folder);
    QFile f(QDir(folder).filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
}

} // namespace ledgertest
