#pragma once

#include <QByteArray>
#include <QString>

namespace ledger {

// The most a ledger file may hold. The document files are fixed-size records: a month of a
// large office is a few MB, a list of accounts a few hundred kB; anything near this bound is
// no ledger file, and reading it whole would only take the memory of the desk.
constexpr qint64 largestLedgerFile = 256LL * 1024 * 1024;

// A file read whole, or why it was not.
struct WholeFile {
    bool there = false;   // false: nothing of that name (which the imports pass over in silence)
    QString problem;      // why a file that is there was not read; empty when it was
    QByteArray bytes;
    bool readFailed = false; // reading broke off: `bytes` holds what came before
};

// Reads the file at `path` (following links) when it is a regular file of at most `limit`
// bytes. A named pipe, a device or a socket is never opened for reading, so that neither one
// that no program writes to, nor an endless one (/dev/zero), can hold the import.
WholeFile readWholeFile(const QString& path, qint64 limit = largestLedgerFile);

} // namespace ledger
