// The check of the forms' font at start: quiet with the fonts the program is tested with,
// and a family that the font database replaces by another is reported.
#include "report/form_font.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QtTest>

#include "test_main.h"

using namespace Qt::StringLiterals;

class TestFormFont : public QObject {
    Q_OBJECT

private slots:
    // The machine that runs the tests has the Liberation fonts (scripts/bootstrap.sh): the
    // layout tests measure with them.
    void theFormsFontIsLiberationSansHere()
    {
        QCOMPARE(report::formFontProblem(), QString());
    }

    // Asking for a family is not having it: the check looks at what the font database gives.
    void aFamilyThatResolvesElsewhereIsReported()
    {
        const QFont missing(u"Brenvald Nonexistent Sans"_s);
        const QString problem = report::fontProblem(missing, {u"Brenvald Nonexistent Sans"_s});
        QVERIFY(!problem.isEmpty());
        QVERIFY2(problem.contains(QFontInfo(missing).family()), qPrintable(problem));

        const QString mono = report::fontProblem(QFont(u"Liberation Mono"_s), {u"Liberation Sans"_s});
        QVERIFY2(mono.contains(u"\"Liberation Mono\""_s), qPrintable(mono));
    }

    void theFamilyIsComparedWithoutLetterCase()
    {
        QCOMPARE(report::fontProblem(QFont(u"Liberation Sans"_s), {u"liberation sans"_s}), QString());
    }
};

TEST_MAIN(QGuiApplication, TestFormFont)
#include "test_form_font.moc"
