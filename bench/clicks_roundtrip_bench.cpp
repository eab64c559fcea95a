// The network round trips ("turns") of the program's own clicks against a Firebird server,
// counted by a proxy between the two, for an office of 100 taxpayers, 300 vehicles and 50 000
// purchases in a year: the connection, the purchase screen (opened, a taxpayer, a year, a
// purchase changed and saved, a purchase keyed and saved, closed) and the settlement screen
// (opened, a taxpayer, a year, the statements' preview). Every click is measured in two
// sessions, each on a database of its own. The server is the private one of
// scripts/test_server.sh.
// Usage: clicks_roundtrip_bench
#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

#include "bench_database.h"
#include "data/dm1.h"
#include "dbwidgets/date_edit.h"
#include "dbwidgets/db_edit.h"
#include "dbwidgets/db_navigator.h"
#include "forwarding_proxy.h"
#include "office_database.h"
#include "private_server.h"
#include "purchases/zak.h"
#include "reports/rozl.h"
#include "text/formats.h"
#include "turn_table.h"

namespace {

constexpr int runs = 2;

template <class T>
T* child(QWidget* window, const char* name)
{
    auto* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void clickItem(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty())
        qFatal("no item %s in %s", qPrintable(text), qPrintable(list->objectName()));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

// A year typed into the window's year field and the field left, as the user does it.
void typeYear(QWidget* window, int year)
{
    auto* edit = child<QLineEdit>(window, "m_rok");
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(edit, &in);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, QString::number(year));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
    QCoreApplication::processEvents();
}

// Closes each preview window with its "Zamknij" as soon as it is open, `count` of them.
void closePreviews(QObject* context, int count)
{
    QTimer::singleShot(5, context, [context, count] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return closePreviews(context, count);
        if (auto* exit = modal->findChild<QPushButton*>(QStringLiteral("kl_exit")))
            exit->click();
        else
            modal->close();
        if (count > 1)
            closePreviews(context, count - 1);
    });
}

template <class Window>
std::unique_ptr<Window> openWindow(Tdm_1& dm, Window*& global)
{
    auto window = std::make_unique<Window>(dm);
    global = window.get();
    window->show();
    QApplication::setActiveWindow(window.get());
    QCoreApplication::processEvents();
    return window;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    text::applyProgramFormats();
    bench::answerMessagesYes();
    QTextStream out(stdout);
    const QString state = QCoreApplication::applicationDirPath() + QStringLiteral("/clicks-server");
    bench::serverScript(QStringLiteral("start"), state);
    bench::ForwardingProxy proxy(bench::serverPort(state));

    const bench::Office office{bench::OfficeShape::SmallOffice, 50000};
    const int taxpayer = office.measuredTaxpayer();
    const QString shortName = office.shortName(taxpayer);
    const QString vehicle = QStringLiteral("T%1V01").arg(taxpayer, 4, 10, QLatin1Char('0'));

    std::vector<bench::TurnRow> rows;
    for (int run = 0; run < runs; ++run) {
        const QString db = QStringLiteral("127.0.0.1/%1:%2").arg(proxy.port()).arg(bench::officeDatabaseFile(office));
        std::size_t at = 0;
        const auto click = [&](const QString& what, const std::function<void()>& work) {
            if (run == 0)
                rows.push_back({what, {}});
            rows[at++].runs.push_back(bench::measure(proxy, work, bench::ClientsEnd::No));
        };
        Tdm_1 dm;
        click(QStringLiteral("start: połączenie z bazą (Tdm_1::connectTo)"), [&] { dm.connectTo(db); });

        std::unique_ptr<Tf_zak> purchases;
        click(QStringLiteral("zakupy: otwarcie okna"), [&] { purchases = openWindow(dm, f_zak); });
        click(QStringLiteral("zakupy: podatnik (klik na liście)"), [&] { clickItem(child<QListWidget>(purchases.get(), "lb_pod"), shortName); });
        click(QStringLiteral("zakupy: rok (wpisany)"), [&] { typeYear(purchases.get(), office.year); });
        if (dm.IBDS_zak.recordCount() == 0)
            qFatal("the purchase screen shows no purchases of %s in %d", qPrintable(shortName), office.year);
        // A purchase changed in the form and saved with the navigator's post.
        auto* quantity = child<dbw::DBEdit>(purchases.get(), "DBE_ilzak");
        quantity->setFocus(Qt::TabFocusReason);
        quantity->selectAll();
        QTest::keyClicks(quantity, QStringLiteral("77,5"));
        click(QStringLiteral("zakupy: zapis zmienionego zakupu"),
              [&] { child<dbw::DBNavigator>(purchases.get(), "DBNavigator1")->click(dbw::DBNavigator::Post); });
        // A new purchase keyed in entry-only mode and accepted.
        auto* entryOnly = child<QCheckBox>(purchases.get(), "ch_wprow");
        QTest::mouseClick(entryOnly, Qt::LeftButton, {}, entryOnly->rect().center());
        clickItem(child<QListWidget>(purchases.get(), "dblb_nrrej"), vehicle);
        auto* invoice = child<dbw::DBEdit>(purchases.get(), "DBE_nrrach");
        invoice->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(invoice, QStringLiteral("FV/KLIK/%1").arg(run));
        auto* picker = child<dbw::DateEdit>(purchases.get(), "dtp_dzak")->findChild<QLineEdit*>();
        picker->setFocus(Qt::TabFocusReason);
        picker->selectAll();
        QTest::keyClicks(picker, QDate(office.year, 8, 14).toString(QStringLiteral("dd-MM-yyyy")));
        quantity->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(quantity, QStringLiteral("42,5"));
        click(QStringLiteral("zakupy: zapis nowego zakupu (Akceptuj)"),
              [&] { QTest::mouseClick(child<QPushButton>(purchases.get(), "kl_ok"), Qt::LeftButton); });
        click(QStringLiteral("zakupy: zamknięcie okna"), [&] {
            purchases->close();
            purchases.reset();
            f_zak = nullptr;
            QCoreApplication::processEvents();
        });

        std::unique_ptr<Tf_rozl> settlement;
        click(QStringLiteral("rozliczenie: otwarcie okna"), [&] { settlement = openWindow(dm, f_rozl); });
        click(QStringLiteral("rozliczenie: podatnik (klik na liście)"),
              [&] { clickItem(child<QListWidget>(settlement.get(), "lb_pod"), shortName); });
        click(QStringLiteral("rozliczenie: rok (wpisany)"), [&] { typeYear(settlement.get(), office.year); });
        click(QStringLiteral("rozliczenie: podgląd zestawień (oba okna, każde zamknięte)"), [&] {
            closePreviews(settlement.get(), 2);
            QTest::mouseClick(child<QPushButton>(settlement.get(), "kl_podgl"), Qt::LeftButton);
        });
        click(QStringLiteral("rozliczenie: zamknięcie okna"), [&] {
            settlement->close();
            settlement.reset();
            f_rozl = nullptr;
            QCoreApplication::processEvents();
        });
        click(QStringLiteral("koniec: rozłączenie"), [&] { dm.disconnectDatabase(); });
    }

    out << "Obiegi sieci kliknięć programu przez serwer Firebird: " << office.description() << ", "
        << office.taxpayers() * office.vehiclesPerTaxpayer() << " pojazdów; podatnik " << shortName << ", rok " << office.year
        << " (dwie sesje, każda na swojej bazie; \"a / b\", gdy się różnią; czas: lepszy z dwóch)\n";
    bench::printTurns(out, QStringLiteral("kliknięcie"), rows);
    out.flush();
    bench::serverScript(QStringLiteral("stop"), state);
    return 0;
}
