#include "desktop/shell.h"
#include "desktop/remembered_folders.h"
#include "desktop/save_file_dialog.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QApplication>
#include "test_main.h"

using namespace Qt::StringLiterals;

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void addressesGoToTheHandler()
    {
        QStringList seen;
        desktop::setAddressHandler([&](const QString& url) { seen << url; });
        QVERIFY(desktop::openAddress(QStringLiteral("https://www.quillform.pl")));
        QVERIFY(desktop::openAddress(QStringLiteral("mailto:biuro@quillform.pl")));
        desktop::setAddressHandler({});
        QCOMPARE(seen, (QStringList{QStringLiteral("https://www.quillform.pl"),
                                    QStringLiteral("mailto:biuro@quillform.pl")}));
    }

    // A dialog for one kind of file opens where that kind was last saved, never where another
    // kind was; a path with its own folder is left as it is.
    void eachKindOfFileKeepsItsFolder()
    {
        QTemporaryDir pdfs, csvs;
        const QString untouched = desktop::startPathFor(u"csv"_s, u"z.csv"_s);
        QCOMPARE(QFileInfo(untouched).fileName(), u"z.csv"_s);
        desktop::setSaveFileHandler([&](const desktop::SaveFileRequest& r) {
            return (r.kind == u"pdf"_s ? pdfs : csvs).filePath(r.suggestedName);
        });
        desktop::askSaveFileName({u"Zapisz jako PDF"_s, u"a.pdf"_s, {}, u"pdf"_s, u"pdf"_s});
        QCOMPARE(desktop::startPathFor(u"pdf"_s, u"b.pdf"_s), QDir(pdfs.path()).filePath(u"b.pdf"_s));
        QCOMPARE(desktop::startPathFor(u"csv"_s, u"z.csv"_s), untouched);
        desktop::askSaveFileName({u"Eksport do CSV"_s, u"a.csv"_s, {}, u"csv"_s, u"csv"_s});
        QCOMPARE(desktop::startPathFor(u"csv"_s, u"z.csv"_s), QDir(csvs.path()).filePath(u"z.csv"_s));
        QCOMPARE(desktop::rememberedFolder(u"pdf"_s), QDir(pdfs.path()).absolutePath());
        QCOMPARE(desktop::startPathFor(u"pdf"_s, u"/inny/katalog/c.pdf"_s), u"/inny/katalog/c.pdf"_s);
        // A cancelled dialog forgets nothing.
        desktop::setSaveFileHandler([](const desktop::SaveFileRequest&) { return QString(); });
        desktop::askSaveFileName({u"Zapisz jako PDF"_s, u"a.pdf"_s, {}, u"pdf"_s, u"pdf"_s});
        QCOMPARE(desktop::rememberedFolder(u"pdf"_s), QDir(pdfs.path()).absolutePath());
        desktop::setSaveFileHandler({});
    }
};

TEST_MAIN(QApplication, TestShell)
#include "test_shell.moc"
