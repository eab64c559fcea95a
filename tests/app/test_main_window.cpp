#include "application.h"
#include "test_main.h"
#include "data/dm1.h"
#include "desktop/bar_style.h"
#include "desktop/help_context.h"
#include "desktop/help_system.h"
#include "desktop/image_list.h"
#include "desktop/messages.h"
#include "desktop/shell.h"
#include "form_info.h"
#include "help_topics.h"
#include "maker.h"
#include "ok_gl.h"
#include "text/formats.h"
#include "widget_testing.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

struct ActionRow {
    const char* name;
    const char* caption;
    const char* category; // nullptr: none
    const char* hint;     // nullptr: none
    bool enabled;
    int image; // -1: none
};

const ActionRow actionTable[] = {
    {"a_pod", "Dane ewidencyjne", "Podatnik", nullptr, true, -1},
    {"a_pod_kp", "Import danych podatnika z PKPiR", "Podatnik", nullptr, true, 0},
    {"a_sam", "Samochody", "Podatnik", nullptr, true, -1},
    {"a_koniec", "&Koniec", "Podatnik", "Koniec pracy z aplikacją", true, 1},
    {"a_pal", "Paliwa", "Tablice", nullptr, true, -1},
    {"a_sil", "Rodzaje pojazdów", "Tablice", nullptr, true, -1},
    {"a_opl", "Opłaty", "Tablice", nullptr, true, -1},
    {"a_par", "Wskaźniki", "Tablice", nullptr, true, -1},
    {"a_akt_opl", "Dodanie opłat za kolejny rok z pliku SQL", "Tablice", nullptr, true, -1},
    {"A_serw_op", "Ścieżka do bazy danych", "Tablice", nullptr, true, -1},
    {"a_kopia", "Kopia zapasowa bazy danych…", "Tablice", nullptr, true, -1},
    {"a_odtw", "Odtworzenie bazy z kopii…", "Tablice", nullptr, true, -1},
    {"a_zak", "Wprowadzanie", "Faktury zakupu paliw", "Wprowadzanie zakupów paliw", true, 7},
    {"a_zak_kpr", "&Import z systemu PKPiR, FK", "Faktury zakupu paliw",
     "Import danych dotyczących zakupów paliw z systemu PKPiR", true, 0},
    {"a_zak_ksef", "Import z &e-faktur (KSeF)", "Faktury zakupu paliw", "Import zakupów paliw z e-faktur KSeF", true, 0},
    {"a_rozl", "&Rozliczenie", nullptr, "Wyliczenie kwartalnej opłaty za korzystanie ze środowiska", true, 8},
    {"a_zest_opl", "Zestawienie opłat &wszystkich podatników", "Zestawienia",
     "Opłata, próg i wydruki wszystkich podatników za okres", true, 9},
    {"a_pomoc", "&Pomoc", nullptr, "Help Contents", true, 4},
    {"a_opr", "&O programie", "Informacje", nullptr, true, -1},
    {"a_strwww", "&Strona www producenta", "Informacje", nullptr, true, 6},
    {"a_email", "&Wyślij e-mail", "Informacje", nullptr, true, 5},
};

// The menu as text: a menu as "Title: item, item, -, item", an action on the bar by its name.
QStringList describe(QMenuBar* bar)
{
    QStringList lines;
    for (QAction* top : bar->actions()) {
        if (!top->menu()) {
            lines << top->objectName();
            continue;
        }
        QStringList items;
        for (QAction* a : top->menu()->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        lines << top->text() + QStringLiteral(": ") + items.join(QStringLiteral(", "));
    }
    return lines;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    Tdm_1 module_; // connected to no database
    Tf_ok_gl* window_ = nullptr;
    QList<int> help_;
    QStringList addresses_;
    QList<desktop::Message> messages_;

    QToolButton* button(QAction* a) { return qobject_cast<QToolButton*>(window_->ToolBar1->widgetForAction(a)); }

private slots:
    void initTestCase()
    {
        registerHelpTopics();
        // The window's creation sets the program's formats whatever they were.
        text::formats().shortDateFormat = QStringLiteral("yyyy/MM/dd");
        text::formats().decimalSeparator = QLatin1Char('.');
        window_ = new Tf_ok_gl(module_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));

        desktop::HelpSystem::setHandler([this](int context) { help_ << context; });
        desktop::setAddressHandler([this](const QString& url) { addresses_ << url; });
        desktop::setMessageHandler([this](const desktop::Message& m) {
            messages_ << m;
            return desktop::Answer::Ok;
        });
    }

    void cleanupTestCase()
    {
        delete window_;
        QCOMPARE(f_ok_gl, nullptr);
        desktop::HelpSystem::setHandler({});
        desktop::setAddressHandler({});
        desktop::setMessageHandler({});
    }

    void init()
    {
        help_.clear();
        addresses_.clear();
        messages_.clear();
    }

    void windowAsTheProgramOpensIt()
    {
        QCOMPARE(f_ok_gl, window_);
        QCOMPARE(window_->windowTitle(),
                 QStringLiteral("Naliczanie opłat za korzystanie ze środowiska z tytułu spalania paliw w silnikach"));
        QVERIFY(window_->windowState() & Qt::WindowMaximized);
        QVERIFY(!window_->windowIcon().isNull());
        QCOMPARE(desktop::helpContext(window_), 1);
        QCOMPARE(text::formats().shortDateFormat, QStringLiteral("dd-MM-yyyy"));
        QCOMPARE(text::formats().decimalSeparator, QLatin1Char(','));

        QCOMPARE(window_->findChild<QMenuBar*>(QStringLiteral("menu_gl")), window_->menuBar());
        QCOMPARE(window_->menu_gl, window_->menuBar());
        QCOMPARE(window_->findChild<QToolBar*>(QStringLiteral("ToolBar1")), window_->ToolBar1);
        QCOMPARE(window_->findChild<QMenu*>(QStringLiteral("pop_gl")), window_->pop_gl);
        QCOMPARE(window_->findChild<QObject*>(QStringLiteral("AM_gl")), window_->AM_gl);
        QCOMPARE(window_->findChild<desktop::ImageList*>(QStringLiteral("obr_gl")), window_->obr_gl);

        for (const int slot : {0, 1, 4, 5, 6, 7, 8, 9})
            QVERIFY2(!window_->obr_gl->icon(slot).isNull(), qPrintable(QString::number(slot)));
        for (const int slot : {2, 3})
            QVERIFY(window_->obr_gl->icon(slot).isNull());
    }

    void everyActionAsListed()
    {
        const QList<QAction*> owned = window_->AM_gl->findChildren<QAction*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(owned.size(), int(std::size(actionTable)));
        for (const ActionRow& row : actionTable) {
            const QString name = QString::fromUtf8(row.name);
            auto* a = window_->AM_gl->findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
            QVERIFY2(a, row.name);
            QCOMPARE(a->text(), QString::fromUtf8(row.caption));
            if (row.category)
                QCOMPARE(a->property("category").toString(), QString::fromUtf8(row.category));
            else
                QVERIFY2(!a->property("category").isValid(), row.name);
            const QString hint = row.hint ? QString::fromUtf8(row.hint) : QString();
            QCOMPARE(a->statusTip(), hint);
            if (row.hint)
                QCOMPARE(a->toolTip(), hint);
            QVERIFY2(a->isEnabled() == row.enabled, row.name);
            if (row.image >= 0) {
                QCOMPARE(a->property("imageIndex").toInt(), row.image);
                QCOMPARE(a->icon().cacheKey(), window_->obr_gl->icon(row.image).cacheKey());
            } else {
                QVERIFY2(a->icon().isNull(), row.name);
            }
        }
        QCOMPARE(window_->a_zak_kpr->objectName(), QStringLiteral("a_zak_kpr"));
        QCOMPARE(window_->A_serw_op->objectName(), QStringLiteral("A_serw_op"));
    }

    void menuInItsOrder()
    {
        QCOMPARE(describe(window_->menu_gl),
                 (QStringList{
                     QStringLiteral("&Podatnik: a_pod, a_pod_kp, a_sam, -, a_koniec"),
                     QStringLiteral("Parametry: a_pal, a_sil, a_opl, a_par, a_akt_opl, A_serw_op, -, a_kopia, a_odtw"),
                     QStringLiteral("Faktury zakupu paliw: a_zak, a_zak_kpr, a_zak_ksef"),
                     QStringLiteral("a_rozl"),
                     QStringLiteral("&Zestawienia: a_zest_opl"),
                     QStringLiteral("a_pomoc"),
                     QStringLiteral("&Informacje: a_opr, -, a_strwww, a_email"),
                 }));
        // Items with a picture show their caption too ("Pomoc").
        QVERIFY(qobject_cast<desktop::BarStyle*>(window_->menu_gl->style()));
        // "Wprowadzanie" is the default item of "Faktury zakupu paliw", drawn bold there only:
        // no action carries a bold font to the tool bar and the popup.
        QCOMPARE(window_->menu_gl->findChild<QMenu*>(QStringLiteral("m_faktury"))->defaultAction(), window_->a_zak);
        for (QAction* a : window_->AM_gl->findChildren<QAction*>())
            QVERIFY2(!a->font().bold(), qPrintable(a->objectName()));
    }

    void toolBarButtons()
    {
        QToolBar* bar = window_->ToolBar1;
        QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        const QList<QAction*> actions = bar->actions();
        QCOMPARE(actions.size(), 7);
        QCOMPARE(actions[0], window_->a_zak);
        QCOMPARE(actions[1], window_->a_rozl);
        QCOMPARE(actions[2], window_->a_zak_kpr);
        QCOMPARE(actions[3], window_->a_zak_ksef);
        QCOMPARE(actions[4], window_->a_zest_opl);
        QVERIFY(actions[5]->isSeparator());
        QCOMPARE(actions[6], window_->a_koniec);

        const struct {
            QAction* action;
            QString caption;
            QString hint;
        } buttons[] = {
            {window_->a_zak, QStringLiteral("Wprowadzanie"), QStringLiteral("Wprowadzanie zakupów paliw")},
            {window_->a_rozl, QStringLiteral("Rozliczenie"),
             QStringLiteral("Wyliczenie kwartalnej opłaty za korzystanie ze środowiska")},
            {window_->a_zak_kpr, QStringLiteral("Zakupy z PKPiR, FK"),
             QStringLiteral("Import danych dotyczących zakupów paliw z systemu PKPiR")},
            {window_->a_zak_ksef, QStringLiteral("Zakupy z KSeF"), QStringLiteral("Import zakupów paliw z e-faktur KSeF")},
            {window_->a_zest_opl, QStringLiteral("Wszyscy podatnicy"),
             QStringLiteral("Opłata, próg i wydruki wszystkich podatników za okres")},
            {window_->a_koniec, QStringLiteral("Koniec"), QStringLiteral("Koniec pracy z aplikacją")},
        };
        for (const auto& b : buttons) {
            QToolButton* tb = button(b.action);
            QVERIFY(tb);
            QVERIFY(qobject_cast<desktop::BarStyle*>(tb->style()));
            QCOMPARE(tb->text(), b.caption);
            QCOMPARE(tb->toolTip(), b.hint);
            // At least 125 by 39, the caption and the picture fitting, all buttons alike.
            QVERIFY(tb->width() >= 125);
            QVERIFY(tb->height() >= 39);
            QVERIFY(tb->height() >= tb->sizeHint().height());
            QVERIFY(tb->width() >= tb->sizeHint().width());
            QCOMPARE(tb->size(), button(window_->a_zak_kpr)->size());
        }
        QCOMPARE(button(window_->a_zak_kpr)->icon().cacheKey(), window_->obr_gl->icon(0).cacheKey());
        QCOMPARE(button(window_->a_koniec)->icon().cacheKey(), window_->obr_gl->icon(1).cacheKey());
        // The menu keeps the long caption.
        QCOMPARE(window_->a_zak_kpr->text(), QStringLiteral("&Import z systemu PKPiR, FK"));
    }

    void rightButtonOpensThePopup()
    {
        QMenu* pop = window_->pop_gl;
        QCOMPARE(pop->actions(), (QList<QAction*>{window_->a_zak, window_->a_rozl, window_->a_zak_kpr, window_->a_zak_ksef}));

        // Through the window as the desktop delivers it, which turns the right button into
        // a context menu request.
        for (QWidget* where : {window_->centralWidget(), static_cast<QWidget*>(window_->ToolBar1)}) {
            const QPoint at = where->mapTo(window_, where->rect().bottomRight() - QPoint(5, 5));
            QTest::mouseClick(window_->windowHandle(), Qt::RightButton, {}, at);
            QTRY_VERIFY2(pop->isVisible(), qPrintable(where->objectName()));
            pop->hide();
        }
    }

    void f1OpensTheMainWindowTopic()
    {
        QTest::keyClick(window_, Qt::Key_F1);
        QTest::keyClick(window_->centralWidget(), Qt::Key_F1);
        QTest::keyClick(window_->ToolBar1, Qt::Key_F1);
        QCOMPARE(help_, (QList<int>{1, 1, 1}));
    }

    // "&Podatnik" and "&Pomoc" share their letter: Alt+P opens "Podatnik" at every press,
    // through the menu bar's own shortcuts as the keyboard gives them, and never the help.
    void altPOpensPodatnikEveryTime()
    {
        auto* taxpayer = window_->menu_gl->findChild<QMenu*>(u"m_podatnik"_s);
        QApplication::setActiveWindow(window_);
        for (int press = 1; press <= 4; ++press) {
            QTest::keyClick(window_, Qt::Key_P, Qt::AltModifier);
            QVERIFY2(taxpayer->isVisible(), qPrintable(QString::number(press)));
            QCOMPARE(taxpayer->activeAction(), window_->a_pod);
            QTest::keyClick(taxpayer, Qt::Key_Escape);
            QVERIFY(!taxpayer->isVisible());
            QTest::keyClick(window_->menu_gl, Qt::Key_Escape);
        }
        QCOMPARE(help_, QList<int>{});
    }

    void helpAndMakerAddresses()
    {
        window_->a_pomoc->trigger();
        QCOMPARE(help_, QList<int>{desktop::HelpSystem::ContentsContext});

        window_->a_strwww->trigger();
        window_->a_email->trigger();
        QCOMPARE(addresses_, (QStringList{QStringLiteral("https://www.quillform.pl"),
                                          QStringLiteral("mailto:biuro@quillform.pl")}));
        QCOMPARE(addresses_[0], QString::fromUtf8(maker::web));
    }

    void aboutBoxOpensModallyAndIsFreed()
    {
        QObject probe;
        QString shownType;
        bool reachable = false;
        bool owned = false;
        whenModal(&probe, [&](QWidget* modal) {
            shownType = QString::fromLatin1(modal->metaObject()->className());
            reachable = modal == form_info;
            owned = modal->parentWidget() == window_;
            if (form_info)
                form_info->b_ok->click();
            else
                modal->close();
        });
        window_->a_opr->trigger();
        QCOMPARE(shownType, QStringLiteral("Tform_info"));
        QVERIFY(reachable);
        QVERIFY(owned);
        QCOMPARE(form_info, nullptr);
        QVERIFY(window_->findChildren<Tform_info*>().isEmpty());
    }

    // Without a database no screen of its data opens half-built: one message says so and where
    // to set the database; the screen of the database's location still opens.
    void screensOfDataNeedADatabase()
    {
        QVERIFY(!module_.isConnected());
        for (QAction* a : {window_->a_pod, window_->a_sam, window_->a_pal, window_->a_sil, window_->a_opl, window_->a_par,
                           window_->a_rozl, window_->a_zest_opl, window_->a_zak, window_->a_zak_kpr, window_->a_zak_ksef, window_->a_pod_kp,
                           window_->a_akt_opl, window_->a_kopia}) {
            messages_.clear();
            a->trigger();
            QCOMPARE(messages_.size(), 1);
            QVERIFY2(messages_[0].text.startsWith(u"Brak połączenia z bazą danych."_s), qPrintable(a->text()));
            QVERIFY(messages_[0].text.contains(u"Ścieżka do bazy danych"_s));
            QVERIFY(QApplication::activeModalWidget() == nullptr);
        }
    }

    void failingActionIsReportedAndTheWindowStays()
    {
        auto* failing = new QAction(QStringLiteral("Próba"), window_->AM_gl);
        connect(failing, &QAction::triggered, window_, [] { throw std::runtime_error("Błąd połączenia z bazą"); });
        window_->ToolBar1->addAction(failing);
        QTest::mouseClick(button(failing), Qt::LeftButton);
        window_->ToolBar1->removeAction(failing);
        delete failing;

        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].kind, desktop::MessageKind::Error);
        QCOMPARE(messages_[0].title, QStringLiteral("Naliczanie opłat za korzystanie ze środowiska"));
        QCOMPARE(messages_[0].text, QStringLiteral("Błąd połączenia z bazą"));
        QVERIFY(window_->isVisible());
        window_->a_pomoc->trigger();
        QCOMPARE(help_.size(), 1);
    }

    // Last: it closes the window.
    void koniecClosesTheWindowAndEndsTheProgram()
    {
        // The program's event loop ends when the window closes; the guard only keeps a
        // failing test from waiting for ever.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(2); });
        guard.start(10000);
        QTimer::singleShot(0, window_->a_koniec, &QAction::trigger);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!window_->isVisible());
    }
};

TEST_MAIN(Application, TestMainWindow)
#include "test_main_window.moc"
