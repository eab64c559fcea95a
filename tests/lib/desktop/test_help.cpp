#include "desktop/help_context.h"
#include "desktop/help_system.h"
#include "desktop/help_window.h"
#include "desktop/shell.h"
#include "widget_testing.h"

#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>
#include <QApplication>
#include "test_main.h"

using desktop::HelpSystem;

namespace {

// Counts the keys that get past the application's filters.
class KeyCounter : public QLineEdit {
public:
    int f1Presses = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_F1)
            ++f1Presses;
        QLineEdit::keyPressEvent(e);
    }
};

desktop::HelpWindow* findHelpWindow()
{
    desktop::HelpWindow* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* h = qobject_cast<desktop::HelpWindow*>(w)) {
            if (found)
                return nullptr; // there must be only one
            found = h;
        }
    }
    return found;
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT

    QTemporaryDir pages_;
    QList<int> opened_;

    QUrl page(const QString& name) const { return QUrl::fromLocalFile(pages_.filePath(name)); }

    void writePage(const QString& name, const QString& body)
    {
        QFile f(pages_.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("<html><body>%1</body></html>").arg(body).toUtf8());
    }

    void record()
    {
        HelpSystem::setHandler([this](int context) { opened_ << context; });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(pages_.isValid());
        writePage(QStringLiteral("contents.html"),
                  QStringLiteral("<p>Spis treści programu.</p><a href=\"cars.html\">Samochody</a> "
                                 "<a href=\"https://www.example.pl\">strona</a>"));
        writePage(QStringLiteral("window.html"), QStringLiteral("<p>Okno główne.</p>"));
        writePage(QStringLiteral("cars.html"), QStringLiteral("<p>Pojazdy firmy.</p>"));
        HelpSystem::addTopic(7, QStringLiteral("Samochody"), page(QStringLiteral("cars.html")));
        HelpSystem::addTopic(1, QStringLiteral("Okno główne"), page(QStringLiteral("window.html")));
        HelpSystem::addTopic(HelpSystem::ContentsContext, QStringLiteral("Spis treści"),
                             page(QStringLiteral("contents.html")));
        HelpSystem::installHelpKey();
        HelpSystem::installHelpKey();
    }

    void init() { opened_.clear(); }
    void cleanup()
    {
        HelpSystem::setHandler({});
        desktop::setAddressHandler({});
    }

    void topicsComeInContextOrder()
    {
        std::vector<desktop::HelpTopic> topics = HelpSystem::topics();
        QCOMPARE(topics.size(), std::size_t(3));
        QCOMPARE(topics[0].context, HelpSystem::ContentsContext);
        QCOMPARE(topics[1].context, 1);
        QCOMPARE(topics[2].context, 7);
        QCOMPARE(topics[2].title, QStringLiteral("Samochody"));

        HelpSystem::addTopic(7, QStringLiteral("Pojazdy"), page(QStringLiteral("cars.html")));
        topics = HelpSystem::topics();
        QCOMPARE(topics.size(), std::size_t(3));
        QCOMPARE(topics[2].title, QStringLiteral("Pojazdy"));
    }

    void nearestAncestorGivesTheContext()
    {
        QWidget window;
        auto* panel = new QWidget(&window);
        auto* field = new QWidget(panel);
        QCOMPARE(desktop::nearestHelpContext(field), 0);
        desktop::setHelpContext(&window, 4);
        QCOMPARE(desktop::helpContext(field), 0);
        QCOMPARE(desktop::nearestHelpContext(field), 4);
        desktop::setHelpContext(panel, 9);
        QCOMPARE(desktop::nearestHelpContext(field), 9);
        QCOMPARE(desktop::nearestHelpContext(&window), 4);
    }

    void f1OpensTheTopicOfTheFocusedPart()
    {
        record();
        QWidget window;
        desktop::setHelpContext(&window, 1);
        auto* layout = new QVBoxLayout(&window);
        auto* plain = new KeyCounter;
        auto* panel = new QWidget;
        auto* inPanel = new KeyCounter;
        (new QVBoxLayout(panel))->addWidget(inPanel);
        desktop::setHelpContext(panel, 7);
        layout->addWidget(plain);
        layout->addWidget(panel);
        QDialog dialog(&window); // a window of its own without a topic: its owner's applies

        QTest::keyClick(plain, Qt::Key_F1);
        QTest::keyClick(inPanel, Qt::Key_F1);
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(opened_, (QList<int>{1, 7, 1}));
        // The key opened the help and went no further.
        QCOMPARE(plain->f1Presses, 0);
        QCOMPARE(inPanel->f1Presses, 0);

        QTest::keyClick(plain, Qt::Key_F1, Qt::ShiftModifier);
        QTest::keyClick(plain, Qt::Key_F2);
        QCOMPARE(opened_.size(), 3);

        // Nothing with a topic: the contents.
        QWidget lone;
        QTest::keyClick(&lone, Qt::Key_F1);
        QCOMPARE(opened_.last(), HelpSystem::ContentsContext);
    }

    void showGoesThroughTheHandler()
    {
        record();
        HelpSystem::showContents();
        HelpSystem::showTopic(7);
        QCOMPARE(opened_, (QList<int>{HelpSystem::ContentsContext, 7}));
        QVERIFY(!findHelpWindow());
    }

    void helpWindowShowsTheTopics()
    {
        HelpSystem::showTopic(1);
        desktop::HelpWindow* window = findHelpWindow();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Pomoc"));
        QVERIFY(!window->testAttribute(Qt::WA_QuitOnClose));
        QCOMPARE(window->currentContext(), 1);
        auto* list = window->findChild<QListWidget*>(QStringLiteral("topics"));
        auto* browser = window->findChild<QTextBrowser*>(QStringLiteral("page"));
        QVERIFY(list && browser);
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Spis treści"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("Okno główne"));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Okno główne.")));

        // The same window is reused.
        HelpSystem::showContents();
        QCOMPARE(findHelpWindow(), window);
        QCOMPARE(window->currentContext(), HelpSystem::ContentsContext);
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Spis treści programu.")));

        // Choosing in the list shows the page.
        list->setCurrentRow(2);
        QCOMPARE(window->currentSource(), page(QStringLiteral("cars.html")));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Pojazdy firmy.")));

        // Unknown topic: said so, and nothing is marked in the list.
        HelpSystem::showTopic(55);
        QCOMPARE(window->currentContext(), -1);
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Brak tematu pomocy o numerze 55.")));
        HelpSystem::showTopic(7);
        QCOMPARE(window->currentContext(), 7);
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Pojazdy firmy.")));
    }

    void linksAreFollowed()
    {
        QStringList addresses;
        desktop::setAddressHandler([&](const QString& url) { addresses << url; });
        HelpSystem::showContents();
        desktop::HelpWindow* window = findHelpWindow();
        QVERIFY(window);
        auto* browser = window->findChild<QTextBrowser*>(QStringLiteral("page"));

        emit browser->anchorClicked(QUrl(QStringLiteral("cars.html")));
        QCOMPARE(window->currentContext(), 7);
        QCOMPARE(window->currentSource(), page(QStringLiteral("cars.html")));

        emit browser->anchorClicked(QUrl(QStringLiteral("https://www.example.pl")));
        QCOMPARE(addresses, QStringList{QStringLiteral("https://www.example.pl")});
        QCOMPARE(window->currentContext(), 7);

        browser->backward();
        QCOMPARE(window->currentContext(), HelpSystem::ContentsContext);
    }

    void helpStaysUsableOverAModalWindow()
    {
        QDialog dialog;
        QObject probe;
        QWindow* hungOn = nullptr;
        whenModal(&probe, [&](QWidget* modal) {
            HelpSystem::showTopic(1, modal);
            if (desktop::HelpWindow* help = findHelpWindow())
                hungOn = help->windowHandle()->transientParent();
            modal->close();
        });
        dialog.exec();
        QVERIFY(hungOn);
        QCOMPARE(hungOn, dialog.windowHandle());

        HelpSystem::showTopic(1);
        QVERIFY(!findHelpWindow()->windowHandle()->transientParent());
    }
};

TEST_MAIN(QApplication, TestHelp)
#include "test_help.moc"
