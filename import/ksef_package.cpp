#include "import/ksef_package.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <zip.h>

namespace ksef {

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString zipProblem(int code)
{
    switch (code) {
    case ZIP_ER_NOZIP: return QStringLiteral("to nie jest paczka ZIP");
    case ZIP_ER_INCONS: return QStringLiteral("paczka jest uszkodzona");
    case ZIP_ER_CRC: return QStringLiteral("dane są uszkodzone (błędna suma kontrolna)");
    case ZIP_ER_ZLIB: return QStringLiteral("dane skompresowane są uszkodzone");
    case ZIP_ER_COMPNOTSUPP: return QStringLiteral("nieznana metoda kompresji");
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD: return QStringLiteral("zaszyfrowane");
    case ZIP_ER_NOENT: return QStringLiteral("nie ma takiego pliku");
    case ZIP_ER_OPEN: return QStringLiteral("nie można otworzyć pliku");
    case ZIP_ER_READ:
    case ZIP_ER_SEEK: return QStringLiteral("błąd odczytu");
    case ZIP_ER_MEMORY: return QStringLiteral("zabrakło pamięci");
    default: return QStringLiteral("błąd paczki ZIP nr %1").arg(code);
    }
}

QString fileProblem(const QFile& file)
{
    switch (file.error()) {
    case QFileDevice::NoError: return {};
    case QFileDevice::PermissionsError: return QStringLiteral("brak uprawnień do odczytu");
    case QFileDevice::OpenError: return QStringLiteral("nie można go otworzyć");
    default: return QStringLiteral("błąd odczytu");
    }
}

const QString tooLarge = QStringLiteral("większy niż 50 MiB");

class FileDocument : public Document {
public:
    explicit FileDocument(const QString& path) : file_(path) {}
    bool open() { return file_.open(QIODevice::ReadOnly); }
    QString source() const override { return shown(file_.fileName()); }
    QIODevice& device() override { return file_; }
    QString failure() const override { return fileProblem(file_); }

private:
    QFile file_;
};

// An entry of a package, read as it is inflated; past the largest document it fails.
class EntryDevice : public QIODevice {
public:
    explicit EntryDevice(zip_file_t* file) : file_(file) { open(QIODevice::ReadOnly); }
    ~EntryDevice() override { zip_fclose(file_); }
    bool isSequential() const override { return true; }
    const QString& failure() const { return failure_; }

protected:
    qint64 readData(char* data, qint64 most) override
    {
        if (!failure_.isEmpty())
            return -1;
        const zip_int64_t n = zip_fread(file_, data, static_cast<zip_uint64_t>(std::min(most, largestDocument + 1 - read_)));
        if (n < 0) {
            failure_ = zipProblem(zip_error_code_zip(zip_file_get_error(file_)));
            return -1;
        }
        read_ += n;
        if (read_ > largestDocument) {
            failure_ = tooLarge;
            return -1;
        }
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    zip_file_t* file_;
    qint64 read_ = 0;
    QString failure_;
};

class EntryDocument : public Document {
public:
    EntryDocument(QString source, zip_file_t* file) : source_(std::move(source)), device_(file) {}
    QString source() const override { return source_; }
    QIODevice& device() override { return device_; }
    QString failure() const override { return device_.failure(); }

private:
    QString source_;
    EntryDevice device_;
};

class Walk {
public:
    Walk(const std::function<void(Document&)>& visit, const std::function<void(const FileNote&)>& note,
         const std::function<bool()>& stop)
        : visit_(visit), note_(note), stop_(stop)
    {
    }

    void path(const QString& path)
    {
        const QFileInfo info(path);
        if (!info.exists())
            note_({QStringLiteral("Nie ma pliku ani katalogu %1; pominięty").arg(shown(path)), true});
        else if (info.isDir())
            folder(path);
        else if (isPackage(path))
            package(path);
        else
            file(path);
    }

    bool stopped() const { return stop_ && stop_(); }

private:
    const std::function<void(Document&)>& visit_;
    const std::function<void(const FileNote&)>& note_;
    const std::function<bool()>& stop_;

    static bool hasSuffix(const QString& name, const char* suffix)
    {
        return name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive);
    }

    static bool isPackage(const QString& path)
    {
        if (hasSuffix(path, ".zip"))
            return true;
        QFile f(path);
        return f.open(QIODevice::ReadOnly) && f.read(4) == QByteArrayLiteral("PK\x03\x04");
    }

    void folder(const QString& path)
    {
        const QFileInfoList entries =
            QDir(path).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::DirsLast);
        for (const QFileInfo& entry : entries) {
            if (stopped())
                return;
            if (entry.isDir()) {
                if (!entry.isSymLink()) // a link may lead back up
                    folder(entry.filePath());
            } else if (hasSuffix(entry.fileName(), ".xml")) {
                file(entry.filePath());
            } else if (hasSuffix(entry.fileName(), ".zip")) {
                package(entry.filePath());
            } else {
                note_({QStringLiteral("Plik %1: nie jest e-fakturą (XML) ani paczką (ZIP); pominięty").arg(shown(entry.filePath())),
                       false});
            }
        }
    }

    void file(const QString& path)
    {
        if (stopped())
            return;
        if (QFileInfo(path).size() > largestDocument) {
            note_({QStringLiteral("Plik %1: %2; pominięty").arg(shown(path), tooLarge), true});
            return;
        }
        FileDocument document(path);
        if (!document.open()) {
            note_({QStringLiteral("Plik %1: nie można go odczytać (%2); pominięty").arg(shown(path), document.failure()), true});
            return;
        }
        visit_(document);
    }

    void package(const QString& path)
    {
        int code = 0;
        zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
        if (!archive) {
            note_({QStringLiteral("Paczka %1: nie można jej odczytać (%2); pominięta").arg(shown(path), zipProblem(code)), true});
            return;
        }
        const zip_int64_t entries = zip_get_num_entries(archive, 0);
        if (entries > mostPackageEntries)
            note_({QStringLiteral("Paczka %1: ma więcej niż 100 000 pozycji; pominięta").arg(shown(path)), true});
        else
            for (zip_int64_t i = 0; i < entries && !stopped(); ++i)
                entry(archive, path, static_cast<zip_uint64_t>(i));
        zip_discard(archive);
    }

    void entry(zip_t* archive, const QString& path, zip_uint64_t index)
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, index, ZIP_FL_ENC_GUESS, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME)) {
            note_({QStringLiteral("Paczka %1, pozycja %2: nie można jej odczytać (%3); pominięta")
                       .arg(shown(path))
                       .arg(index + 1)
                       .arg(zipProblem(zip_error_code_zip(zip_get_error(archive)))),
                   true});
            return;
        }
        const QString name = QString::fromUtf8(stat.name);
        if (name.endsWith(QLatin1Char('/')))
            return; // a folder inside the package
        const QString source = QStringLiteral("%1 [%2]").arg(shown(path), name);
        if (!hasSuffix(name, ".xml")) {
            note_({QStringLiteral("Plik %1: nie jest e-fakturą (XML); pominięty").arg(source), false});
            return;
        }
        if ((stat.valid & ZIP_STAT_SIZE) && stat.size > static_cast<zip_uint64_t>(largestDocument)) {
            note_({QStringLiteral("Plik %1: %2; pominięty").arg(source, tooLarge), true});
            return;
        }
        zip_file_t* opened = zip_fopen_index(archive, index, 0);
        if (!opened) {
            note_({QStringLiteral("Plik %1: nie można go odczytać (%2); pominięty")
                       .arg(source, zipProblem(zip_error_code_zip(zip_get_error(archive)))),
                   true});
            return;
        }
        EntryDocument document(source, opened);
        visit_(document);
    }
};

} // namespace

void walkDocuments(const QStringList& paths, const std::function<void(Document&)>& visit,
                   const std::function<void(const FileNote&)>& note, const std::function<bool()>& stop)
{
    Walk walk(visit, note, stop);
    for (const QString& path : paths) {
        if (walk.stopped())
            return;
        walk.path(path);
    }
}

} // namespace ksef
