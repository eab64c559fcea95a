#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include "data/dm1.h"
#include "dbwidgets/db_edit.h"
#include "dbwidgets/db_memo.h"
#include "dbwidgets/db_navigator.h"
#include "desktop/help_context.h"
#include "desktop/help_system.h"
#include "desktop/messages.h"
#include "register_rows.h"
#include "registers/pod.h"
#include "registers/registers_help.h"
#include "screen_testing.h"
#include "module_fixture.h"
#include "text/formats.h"
#include "widget_testing.h"
#include "test_main.h"

using dbw::DBNavigator;
using screentest::typeText;

namespace {

const QString appTitle = QStringLiteral("Naliczanie opłat za korzystanie ze środowiska");

} // namespace

class TestPod : public QObject, private testsupport::ModuleFixture {
    Q_OBJECT

    std::unique_ptr<Tf_pod> screen;

    template <class T>
    T* child(const char* name) const
    {
        return testsupport::control<T>(screen.get(), name);
    }

    void open()
    {
        screen = std::make_unique<Tf_pod>(*dm);
        f_pod = screen.get();
        screen->show();
    }

    int currentNumber() const { return dm->IBDS_podat.fieldByName(QStringLiteral("NR_PODAT")).asInteger(); }
    QStringList listed() const
    {
        QStringList names;
        auto* list = child<QComboBox>("z_szuk_naz");
        for (int i = 0; i < list->count(); ++i)
            names << list->itemText(i);
        return names;
    }
    QString storedShortName(int number) const
    {
        return register_rows::scalar(*dm, QStringLiteral("select NAZSKR from PODAT where NR_PODAT = %1").arg(number)).toString();
    }

    // Replaces the whole text of an edit as typed keys.
    static void retype(QWidget* edit, const QString& text)
    {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }


    void searchNumber(const QString& typed)
    {
        auto* number = child<QLineEdit>("z_szuk_nr");
        number->clear();
        QTest::keyClicks(number, typed);
        QVERIFY(child<QToolButton>("sb_nr")->isEnabled());
        child<QToolButton>("sb_nr")->click();
    }

    void searchName(const QString& typed)
    {
        auto* list = child<QComboBox>("z_szuk_naz");
        list->setEditText(typed);
        QVERIFY(child<QToolButton>("sb_naz")->isEnabled());
        child<QToolButton>("sb_naz")->click();
    }

private slots:
    void initTestCase()
    {
        text::applyProgramFormats();
        desktop::setDefaultCaption(appTitle);
    }

    void init()
    {
        start();
        using register_rows::addTaxpayer;
        addTaxpayer(*dm, 1, QStringLiteral("Zenit"), QStringLiteral("Abakus Zenit sp. z o.o."));
        addTaxpayer(*dm, 2, QStringLiteral("Kowalski"), QStringLiteral("Jan Kowalski Usługi Transportowe"));
        addTaxpayer(*dm, 3, QStringLiteral("ABC"), QStringLiteral("Przedsiębiorstwo ABC"));
        addTaxpayer(*dm, 5, QStringLiteral("Abecadło"), QStringLiteral("Abecadło s.c."));
        addTaxpayer(*dm, 7, QStringLiteral("Łódź Trans"), QStringLiteral("Łódzkie Przewozy"));
        open();
    }

    void cleanup()
    {
        screen.reset();
        f_pod = nullptr;
        desktop::HelpSystem::setHandler({});
        stop();
    }

    void screenAsOpened()
    {
        QCOMPARE(screen->windowTitle(), QStringLiteral("Podatnik"));
        const Qt::WindowFlags flags = screen->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint) && !(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));

        QCOMPARE(child<QLineEdit>("z_szuk_nr")->toolTip(), QStringLiteral("Nr podatnika"));
        QCOMPARE(child<QToolButton>("sb_nr")->toolTip(), QStringLiteral("Szukaj wg numeru"));
        QCOMPARE(child<QComboBox>("z_szuk_naz")->toolTip(), QStringLiteral("Nazwa skrócona"));
        QCOMPARE(child<QToolButton>("sb_naz")->toolTip(), QStringLiteral("Szukaj wg nazwy"));
        QCOMPARE(child<QToolButton>("sb_sprnip")->toolTip(), QStringLiteral("Sprawdzenie poprawności NIP"));
        QCOMPARE(child<QToolButton>("sb_reg")->toolTip(), QStringLiteral("Sprawdzenie poprawności numeru REGON"));

        const QList<std::pair<const char*, QString>> labels{
            {"DBE_nr", "&Numer"}, {"DBE_nazskr", "Nazwa &skrócona"}, {"DBM_naz", "Na&zwa"}, {"DBM_adr", "&Adres"},
            {"DBM_tel", "&Telefon"}, {"DBE_nip", "N&IP"}, {"DBE_reg", "&Regon"}};
        for (const auto& [editor, caption] : labels) {
            QWidget* w = child<QWidget>(editor);
            const QList<QLabel*> all = screen->findChildren<QLabel*>();
            const auto label = std::find_if(all.begin(), all.end(), [w](QLabel* l) { return l->buddy() == w; });
            QVERIFY2(label != all.end(), editor);
            QCOMPARE((*label)->text(), caption);
        }

        QCOMPARE(child<QLineEdit>("z_szuk_nr")->maxLength(), 3);
        QCOMPARE(child<QLineEdit>("z_szuk_nr")->focusPolicy(), Qt::ClickFocus);
        QCOMPARE(child<QComboBox>("z_szuk_naz")->lineEdit()->maxLength(), 15);
        QCOMPARE(child<dbw::DBEdit>("DBE_nr")->maxLength(), 3);
        QCOMPARE(child<dbw::DBEdit>("DBE_nazskr")->maxLength(), 15);
        QCOMPARE(child<dbw::DBEdit>("DBE_nip")->maxLength(), 20);
        QCOMPARE(child<dbw::DBEdit>("DBE_reg")->maxLength(), 20);
        for (const auto& [memo, limit] : {std::pair{"DBM_naz", 125}, std::pair{"DBM_adr", 160}, std::pair{"DBM_tel", 65}}) {
            auto* m = child<dbw::DBMemo>(memo);
            QTest::keyClicks(m, QString(limit + 3, QLatin1Char('x')));
            QCOMPARE(m->toPlainText().size(), limit);
        }
        dm->IBDS_podat.cancel();

        // Opened on the first taxpayer, both searches empty and unavailable, every short
        // name listed in alphabetical order, the data module pointed at this screen.
        QVERIFY(dm->IBDS_podat.isActive());
        QCOMPARE(currentNumber(), 1);
        QVERIFY(!child<QToolButton>("sb_nr")->isEnabled());
        QVERIFY(!child<QToolButton>("sb_naz")->isEnabled());
        QCOMPARE(child<QComboBox>("z_szuk_naz")->currentText(), QString());
        QCOMPARE(listed(), (QStringList{"ABC", "Abecadło", "Kowalski", "Łódź Trans", "Zenit"}));

        // Letters, blanks, punctuation and Polish letters never reach the number fields.
        auto* number = child<dbw::DBEdit>("DBE_nr");
        typeText(number, QStringLiteral("a A-.ł"));
        QCOMPARE(number->text(), QStringLiteral("1"));
        QCOMPARE(dm->IBDS_podat.state(), ds::DatasetState::Browse);
        QTest::keyClicks(number, "2");
        QCOMPARE(number->text(), QStringLiteral("12"));
        QCOMPARE(dm->IBDS_podat.state(), ds::DatasetState::Edit);
        QTest::keyClick(number, Qt::Key_Backspace);
        QCOMPARE(number->text(), QStringLiteral("1"));
        auto* searched = child<QLineEdit>("z_szuk_nr");
        typeText(searched, QStringLiteral("x 4-ż"));
        QCOMPARE(searched->text(), QStringLiteral("4"));

        // Closing posts the edit still being typed.
        QTest::keyClicks(child<dbw::DBEdit>("DBE_nazskr"), "XX");
        screen->close();
        QVERIFY(!dm->IBDS_podat.isActive());
        QCOMPARE(storedShortName(1), QStringLiteral("ZenitXX"));
    }

    void escapeClosesByTheRuleForLeavingARow_data()
    {
        QTest::addColumn<QString>("number");    // of a new taxpayer keyed after "Dodaj"
        QTest::addColumn<QString>("shortName"); // "": nothing keyed
        QTest::addColumn<int>("answer");        // to the question whether to drop it
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("stored");        // taxpayers stored afterwards
        QTest::newRow("nothing edited") << "" << "" << int(desktop::Answer::No) << false << 5;
        QTest::newRow("complete: saved") << "9" << "Nowy" << int(desktop::Answer::No) << false << 6;
        QTest::newRow("incomplete, kept") << "" << "Nowy" << int(desktop::Answer::No) << true << 5;
        QTest::newRow("incomplete, dropped") << "" << "Nowy" << int(desktop::Answer::Yes) << true << 5;
    }

    // Escape that no field takes (none has typed text to drop) closes the screen as its close
    // box does: a complete taxpayer is saved, an incomplete one goes only when the user says
    // so. After "Dodaj" the typing goes into the new taxpayer's number, not the search box.
    void escapeClosesByTheRuleForLeavingARow()
    {
        QFETCH(QString, number);
        QFETCH(QString, shortName);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(int, stored);
        QApplication::setActiveWindow(screen.get());
        auto* first = child<dbw::DBEdit>("DBE_nr");
        QVERIFY(QApplication::focusWidget() != first);
        if (!shortName.isEmpty()) {
            QTest::mouseClick(child<DBNavigator>("DBN_podat")->button(DBNavigator::Insert), Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), first);
            QTest::keyClicks(first, number);
            child<QWidget>("DBE_nazskr")->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(QApplication::focusWidget(), shortName);
            child<QWidget>("DBE_nip")->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1"));
            child<QWidget>("DBE_reg")->setFocus(Qt::TabFocusReason);
        }
        this->answer = static_cast<desktop::Answer>(answer);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : screen.get(), Qt::Key_Escape);
        QCOMPARE(shown.size(), asked ? 1 : 0);
        if (asked)
            QVERIFY2(shown.first().text.startsWith(QStringLiteral("Wprowadzone dane są niepełne")), qPrintable(shown.first().text));
        QCOMPARE(screen->isVisible(), asked && this->answer == desktop::Answer::No);
        QCOMPARE(register_rows::scalar(*dm, QStringLiteral("select count(*) from PODAT")).toInt(), stored);
    }

    void helpTopic()
    {
        registerRegistersHelp();
        bool taxpayers = false;
        bool vehicles = false;
        for (const desktop::HelpTopic& t : desktop::HelpSystem::topics()) {
            taxpayers |= t.context == registers_help::taxpayers && t.source.toString() == "qrc:/help/taxpayers.html";
            vehicles |= t.context == registers_help::vehicles && t.source.toString() == "qrc:/help/vehicles.html";
        }
        QVERIFY(taxpayers && vehicles);
        for (const char* page : {":/help/taxpayers.html", ":/help/vehicles.html"}) {
            QFile file(QString::fromLatin1(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(QString::fromUtf8(file.readAll()).contains(QStringLiteral("<h2>")));
        }

        QCOMPARE(desktop::helpContext(screen.get()), 8);
        desktop::HelpSystem::installHelpKey();
        QList<int> asked;
        desktop::HelpSystem::setHandler([&asked](int context) { asked << context; });
        QTest::keyClick(child<dbw::DBEdit>("DBE_nip"), Qt::Key_F1);
        QCOMPARE(asked, QList<int>{8});
    }

    void numberSearch()
    {
        child<QComboBox>("z_szuk_naz")->setEditText(QStringLiteral("ab"));
        searchNumber(QStringLiteral("05"));
        QCOMPARE(currentNumber(), 5);
        QVERIFY(shown.isEmpty());
        // The number search empties the name search.
        QCOMPARE(child<QComboBox>("z_szuk_naz")->currentText(), QString());
        QVERIFY(!child<QToolButton>("sb_naz")->isEnabled());

        searchNumber(QStringLiteral("007"));
        QCOMPARE(currentNumber(), 7);

        searchNumber(QStringLiteral("000"));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Brak podatnika nr 0"));
        QCOMPARE(shown[0].title, QStringLiteral("Błąd"));
        QCOMPARE(shown[0].kind, desktop::MessageKind::Plain);
        QCOMPARE(currentNumber(), 7);

        searchNumber(QStringLiteral("9"));
        QCOMPARE(shown.last().text, QStringLiteral("Brak podatnika nr 9"));
        QCOMPARE(currentNumber(), 7);

        // Text pasted past the keystroke filter can match no taxpayer.
        child<QLineEdit>("z_szuk_nr")->setText(QStringLiteral("1a"));
        child<QToolButton>("sb_nr")->click();
        QCOMPARE(shown.last().text, QStringLiteral("Brak podatnika nr 1a"));
        QCOMPARE(currentNumber(), 7);

        child<QLineEdit>("z_szuk_nr")->clear();
        QVERIFY(!child<QToolButton>("sb_nr")->isEnabled());
    }

    void nameSearch()
    {
        auto* list = child<QComboBox>("z_szuk_naz");
        child<QLineEdit>("z_szuk_nr")->setText(QStringLiteral("3"));

        // A short name beats a lower-numbered taxpayer whose full name matches.
        searchName(QStringLiteral("ab"));
        QCOMPARE(currentNumber(), 3);
        QCOMPARE(child<QLineEdit>("z_szuk_nr")->text(), QString());
        QVERIFY(!child<QToolButton>("sb_nr")->isEnabled());
        searchName(QStringLiteral("AB"));
        QCOMPARE(currentNumber(), 3);
        searchName(QStringLiteral("abe"));
        QCOMPARE(currentNumber(), 5);
        searchName(QStringLiteral("łó"));
        QCOMPARE(currentNumber(), 7);
        // The full name only when no short name begins with the text.
        searchName(QStringLiteral("jan k"));
        QCOMPARE(currentNumber(), 2);
        searchName(QStringLiteral("abak"));
        QCOMPARE(currentNumber(), 1);
        QVERIFY(shown.isEmpty());

        searchName(QStringLiteral("xyz"));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Brak podatnika xyz"));
        QCOMPARE(shown[0].title, QStringLiteral("Błąd"));
        QCOMPARE(currentNumber(), 1);

        // A name chosen from the list, then Enter and a double click in the list.
        list->setCurrentIndex(list->findText(QStringLiteral("Kowalski")));
        QCOMPARE(list->currentText(), QStringLiteral("Kowalski"));
        child<QToolButton>("sb_naz")->click();
        QCOMPARE(currentNumber(), 2);
        list->setEditText(QStringLiteral("zen"));
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        QCOMPARE(currentNumber(), 1);
        QCOMPARE(list->currentText(), QStringLiteral("zen"));
        list->setEditText(QStringLiteral("abc"));
        QTest::mouseDClick(list->lineEdit(), Qt::LeftButton);
        QCOMPARE(currentNumber(), 3);
        // Enter as the window system delivers it: to the combo box, which has the focus.
        list->setEditText(QStringLiteral("kow"));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(currentNumber(), 2);
        list->setEditText(QStringLiteral("abc"));
        QTest::keyClick(list, Qt::Key_Enter);
        QCOMPARE(currentNumber(), 3);

        // Enter and double click run the search even on an empty text, which finds nobody.
        list->setEditText(QString());
        QVERIFY(!child<QToolButton>("sb_naz")->isEnabled());
        QTest::keyClick(list->lineEdit(), Qt::Key_Enter);
        QCOMPARE(shown.last().text, QStringLiteral("Brak podatnika "));
        QCOMPARE(shown.last().title, QStringLiteral("Błąd"));
        QTest::mouseDClick(list->lineEdit(), Qt::LeftButton);
        QCOMPARE(shown.size(), 3);
        QCOMPARE(currentNumber(), 3);
    }

    void listFollowsTheRows()
    {
        auto* navigator = child<DBNavigator>("DBN_podat");
        auto* list = child<QComboBox>("z_szuk_naz");
        list->setEditText(QStringLiteral("zz"));

        // A new taxpayer, number 0, typed in and posted.
        navigator->button(DBNavigator::Insert)->click();
        QTest::keyClicks(child<dbw::DBEdit>("DBE_nr"), "0");
        typeText(child<dbw::DBEdit>("DBE_nazskr"), QStringLiteral("Bożena"));
        QTest::keyClicks(child<dbw::DBEdit>("DBE_nip"), "5");
        navigator->button(DBNavigator::Post)->click();
        QCOMPARE(storedShortName(0), QStringLiteral("Bożena"));
        QCOMPARE(listed(), (QStringList{"ABC", "Abecadło", "Bożena", "Kowalski", "Łódź Trans", "Zenit"}));
        QCOMPARE(list->currentText(), QStringLiteral("zz"));
        searchNumber(QStringLiteral("0"));
        QCOMPARE(currentNumber(), 0);
        QVERIFY(shown.isEmpty());

        // A renamed taxpayer.
        searchNumber(QStringLiteral("2"));
        retype(child<dbw::DBEdit>("DBE_nazskr"), QStringLiteral("Nowak"));
        navigator->button(DBNavigator::Post)->click();
        QCOMPARE(listed(), (QStringList{"ABC", "Abecadło", "Bożena", "Łódź Trans", "Nowak", "Zenit"}));

        // Another field changed: the list stays as it was.
        retype(child<dbw::DBEdit>("DBE_reg"), QStringLiteral("123456785"));
        navigator->button(DBNavigator::Post)->click();
        QCOMPARE(listed().size(), 6);

        // A deleted taxpayer, after the question.
        searchNumber(QStringLiteral("5"));
        navigator->button(DBNavigator::Delete)->click();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, desktop::MessageKind::Question);
        QVERIFY(register_rows::scalar(*dm, QStringLiteral("select count(*) from PODAT where NR_PODAT = 5")).toInt() == 0);
        QCOMPARE(listed(), (QStringList{"ABC", "Bożena", "Łódź Trans", "Nowak", "Zenit"}));

        // A taxpayer who owns a vehicle is refused with a plain explanation and stays.
        register_rows::addVehicle(*dm, QStringLiteral("PO 12345"), 3, QDate(2024, 3, 15));
        searchNumber(QStringLiteral("3"));
        const int rows = dm->IBDS_podat.recordCount();
        shown.clear();
        navigator->button(DBNavigator::Delete)->click();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].kind, desktop::MessageKind::Error);
        QCOMPARE(shown[1].text, QStringLiteral("Nie można usunąć podatnika, który ma samochody. Najpierw usuń jego samochody."));
        QCOMPARE(storedShortName(3), QStringLiteral("ABC"));
        QCOMPARE(dm->IBDS_podat.recordCount(), rows);
        QCOMPARE(currentNumber(), 3);
        QVERIFY(listed().contains(QStringLiteral("ABC")));
    }

    void searchWhileEditing()
    {
        auto* navigator = child<DBNavigator>("DBN_podat");
        searchNumber(QStringLiteral("2"));
        retype(child<dbw::DBEdit>("DBE_nazskr"), QStringLiteral("Kowal"));
        QCOMPARE(dm->IBDS_podat.state(), ds::DatasetState::Edit);
        searchNumber(QStringLiteral("5"));
        QCOMPARE(currentNumber(), 5);
        QCOMPARE(storedShortName(2), QStringLiteral("Kowal"));
        QVERIFY(listed().contains(QStringLiteral("Kowal")) && !listed().contains(QStringLiteral("Kowalski")));

        // A failed search still stores the edit, and stays on the taxpayer.
        QTest::keyClicks(child<dbw::DBMemo>("DBM_tel"), "61 555 01 20");
        searchName(QStringLiteral("xyz"));
        QCOMPARE(shown.last().text, QStringLiteral("Brak podatnika xyz"));
        QCOMPARE(currentNumber(), 5);
        QCOMPARE(dm->IBDS_podat.state(), ds::DatasetState::Browse);
        QCOMPARE(register_rows::scalar(*dm, QStringLiteral("select TEL from PODAT where NR_PODAT = 5")).toString(),
                 QStringLiteral("61 555 01 20"));

        // An edit begun without a change is cancelled.
        navigator->button(DBNavigator::Edit)->click();
        QCOMPARE(dm->IBDS_podat.state(), ds::DatasetState::Edit);
        searchNumber(QStringLiteral("1"));
        QCOMPARE(currentNumber(), 1);
        QCOMPARE(dm->IBDS_podat.state(), ds::DatasetState::Browse);
    }

    void identifierChecks()
    {
        auto* nip = child<dbw::DBEdit>("DBE_nip");
        auto* regon = child<dbw::DBEdit>("DBE_reg");
        searchNumber(QStringLiteral("7"));
        const QString storedNip = dm->IBDS_podat.fieldByName(QStringLiteral("NIP")).asString();

        retype(nip, QStringLiteral("PL 123-456-32-18"));
        child<QToolButton>("sb_sprnip")->click();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Nr NIP jest poprawny"));
        QCOMPARE(shown[0].title, appTitle);
        retype(nip, QStringLiteral("123-456-32-19"));
        child<QToolButton>("sb_sprnip")->click();
        QCOMPARE(shown.last().text, QStringLiteral("Nr NIP jest błędny!!"));
        QCOMPARE(shown.last().title, appTitle);
        // Only the text shown was checked: the field keeps its value until it is posted.
        QCOMPARE(nip->text(), QStringLiteral("123-456-32-19"));
        QCOMPARE(dm->IBDS_podat.fieldByName(QStringLiteral("NIP")).asString(), storedNip);

        retype(regon, QStringLiteral("  123-456-785 "));
        child<QToolButton>("sb_reg")->click();
        QCOMPARE(shown.last().text, QStringLiteral("Nr REGON jest poprawny"));
        QCOMPARE(shown.last().title, appTitle);
        retype(regon, QStringLiteral("12345678512347"));
        child<QToolButton>("sb_reg")->click();
        QCOMPARE(shown.last().text, QStringLiteral("Nr REGON jest błędny!!"));
        retype(regon, QString());
        child<QToolButton>("sb_reg")->click();
        QCOMPARE(shown.last().text, QStringLiteral("Nr REGON jest błędny!!"));
        QCOMPARE(shown.size(), 5);

        // A wrong number does not stop the taxpayer from being posted.
        child<DBNavigator>("DBN_podat")->button(DBNavigator::Post)->click();
        QCOMPARE(register_rows::scalar(*dm, QStringLiteral("select NIP from PODAT where NR_PODAT = 7")).toString(),
                 QStringLiteral("123-456-32-19"));
    }
};

TEST_MAIN(QApplication, TestPod)
#include "test_pod.moc"
