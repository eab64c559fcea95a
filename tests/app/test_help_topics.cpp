#include "application.h"
#include "test_main.h"
#include "desktop/help_system.h"
#include "desktop/help_window.h"
#include "help_topics.h"

#include <QFile>
#include <QTextBrowser>
#include <QTextDocument>

using desktop::HelpSystem;

namespace {

QString pageText(const QUrl& source)
{
    QFile f(QLatin1Char(':') + source.path());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(f.readAll()));
    return doc.toPlainText();
}

} // namespace

class TestHelpTopics : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { registerHelpTopics(); }

    void contentsAndMainWindowAreRegistered()
    {
        const std::vector<desktop::HelpTopic> topics = HelpSystem::topics();
        // The contents, the main window and the topics of the screens built so far, in order.
        std::vector<int> contexts;
        for (const auto& t : topics)
            contexts.push_back(t.context);
        QCOMPARE(contexts, (std::vector<int>{0, 1, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 2100, 2101, 2200}));
        QCOMPARE(topics[0].context, HelpSystem::ContentsContext);
        QCOMPARE(topics[0].title, QStringLiteral("Spis treści"));
        QCOMPARE(topics[1].context, help_context::mainWindow);
        QCOMPARE(topics[1].context, 1);
        QCOMPARE(topics[1].title, QStringLiteral("Okno główne programu"));

        const QString contents = pageText(topics[0].source);
        for (const char* word : {"Dane podatnika", "Samochody", "Paliwa", "Rodzaje pojazdów", "Opłaty",
                                 "Wskaźniki", "Faktury zakupu paliw", "litrach", "tony", "pełnych groszy",
                                 "progu zwolnienia", "podglądzie wydruku", "Firebird", "db_na.txt", "F1"})
            QVERIFY2(contents.contains(QString::fromUtf8(word)), word);

        const QString window = pageText(topics[1].source);
        for (const char* word :
             {"Menu Podatnik", "Dane ewidencyjne", "Import danych podatnika z PKPiR", "Samochody", "Koniec",
              "Menu Parametry", "Paliwa", "Rodzaje pojazdów", "Opłaty", "Wskaźniki",
              "Dodanie opłat za kolejny rok z pliku SQL", "Ścieżka do bazy danych", "Menu Faktury zakupu paliw",
              "Wprowadzanie", "Import z systemu PKPiR, FK", "Rozliczenie", "Pomoc", "Menu Informacje",
              "O programie", "Strona www producenta", "Wyślij e-mail", "Pasek narzędzi", "Zakupy z PKPiR, FK",
              "Prawy przycisk myszy"})
            QVERIFY2(window.contains(QString::fromUtf8(word)), word);
    }

    void helpWindowShowsThePagesAndFollowsTheirLinks()
    {
        HelpSystem::showTopic(1);
        desktop::HelpWindow* window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            window = window ? window : qobject_cast<desktop::HelpWindow*>(w);
        QVERIFY(window);
        auto* browser = window->findChild<QTextBrowser*>(QStringLiteral("page"));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Okno główne programu")));

        emit browser->anchorClicked(QUrl(QStringLiteral("contents.html")));
        QCOMPARE(window->currentContext(), HelpSystem::ContentsContext);
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Naliczanie opłat za korzystanie ze środowiska")));
        emit browser->anchorClicked(QUrl(QStringLiteral("main_window.html")));
        QCOMPARE(window->currentContext(), 1);
    }
};

TEST_MAIN(Application, TestHelpTopics)
#include "test_help_topics.moc"
