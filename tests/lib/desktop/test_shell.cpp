#include "desktop/shell.h"

#include <QTest>
#include <QApplication>
#include "test_main.h"

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
};

TEST_MAIN(QApplication, TestShell)
#include "test_shell.moc"
