#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;

// Where e-invoices come from: single XML files, folders of them, and ZIP packages as the
// e-invoice system hands them out (read through libzip, entry by entry, never unpacked).
namespace ksef {

// No invoice is this large: a document beyond it is refused rather than read, and so is a
// package of more entries than any office downloads at once.
constexpr qint64 largestDocument = 50 * 1024 * 1024;
constexpr qint64 mostPackageEntries = 100000;

// One document to read: a file, or an entry of a package.
class Document {
public:
    virtual ~Document() = default;
    // The path, or the package's path with the entry's name in brackets ("paczka.zip [FA/1.xml]").
    virtual QString source() const = 0;
    virtual QIODevice& device() = 0;
    // Why the reading failed in the file or the package rather than in the XML (a read error,
    // damaged compressed data, a document beyond the largest size), in Polish; empty when it
    // did not.
    virtual QString failure() const = 0;
};

// A path or an entry that gives no document, said in a line of the log. A file that is no
// e-invoice is passed over; one that cannot be read is left, and the import is incomplete.
struct FileNote {
    QString text;
    bool left = false;
};

// Goes through the paths in order: a folder with its subfolders (in name order; its ".xml"
// files are documents, its ".zip" files packages, anything else is passed over with a line), a
// package (named ".zip" or beginning as one; its ".xml" entries in the package's order), or
// any other file, read as a document. Stops between documents when `stop` says so.
void walkDocuments(const QStringList& paths, const std::function<void(Document&)>& visit,
                   const std::function<void(const FileNote&)>& note, const std::function<bool()>& stop = {});

} // namespace ksef
