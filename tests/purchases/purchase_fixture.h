// What the purchase screen tests share: a fresh database per test case with taxpayers,
// vehicles and purchases written straight into it, the data module on it, the real screen
// shown on the offscreen platform, and the user's gestures on its controls.
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <memory>

#include "data/dm1.h"
#include "dbwidgets/date_edit.h"
#include "dbwidgets/db_edit.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/db_lookup_list.h"
#include "dbwidgets/db_navigator.h"
#include "desktop/messages.h"
#include "firebird/statement.h"
#include "purchases/zak.h"
#include "module_fixture.h"
#include "sql_testing.h"
#include "text/formats.h"
#include "widget_testing.h"

namespace purchasetest {

inline const QString appTitle = QStringLiteral("Naliczanie opłat za korzystanie ze środowiska");
constexpr int petrol = 1;  // "benzyna silnikowa" of the delivered fuels
constexpr int diesel = 5;  // "olej napędowy"

// Rows written with statements of their own; parameters :p0, :p1, ... in order.
class Rows {
public:
    explicit Rows(Tdm_1& dm) : dm_(dm) {}

    void exec(const QString& sql, const QVariantList& values = {})
    {
        fb::Statement st(dm_.db_opl, dm_.tr_opl, sql);
        for (int i = 0; i < values.size(); ++i)
            st.setParam(QStringLiteral("p%1").arg(i), values[i]);
        st.execute();
        dm_.tr_opl.commitRetaining();
    }

    void taxpayer(int number, const QString& shortName)
    {
        exec(QStringLiteral("insert into PODAT (NR_PODAT, NAZSKR, NAZWA, NIP) values (:p0, :p1, :p1, '1')"),
             {number, shortName});
    }

    void vehicle(const QString& registration, int owner, int fuel, const QDate& firstDay, const QDate& lastDay = {})
    {
        exec(QStringLiteral("insert into SAM (NR_REJ, NR_POD, NR_RODZ_SILN, NR_RODZ_PAL, D_ROZP_U, D_ZAK_U) "
                            "values (:p0, :p1, 1, :p2, :p3, :p4)"),
             {registration, owner, fuel, firstDay, lastDay.isValid() ? QVariant(lastDay) : QVariant()});
    }

    void purchase(int number, const QString& registration, const QString& invoice, const QDate& day, double litres,
                  int fuel = diesel)
    {
        exec(QStringLiteral("insert into ZAK_PAL (NR_KOL, NR_REJ, NR_RACH, D_ZAK, NR_RODZ_PAL, IL_ZAK) "
                            "values (:p0, :p1, :p2, :p3, :p4, :p5)"),
             {number, registration, invoice, day, fuel, litres});
    }

    QList<QVariantList> select(const QString& sql, const QVariantList& values = {})
    {
        return screentest::rows(sql, values, dm_);
    }

private:
    Tdm_1& dm_;
};

// The screen opened on a data module of its own; every message box is recorded and
// answered with `answer`.
class ScreenFixture : public testsupport::ModuleFixture {
public:
    std::unique_ptr<Tf_zak> screen;

    void connect() { start(); }

    void open()
    {
        screen = std::make_unique<Tf_zak>(*dm);
        f_zak = screen.get();
        screen->show();
        QApplication::setActiveWindow(screen.get());
    }

    void close()
    {
        screen.reset();
        f_zak = nullptr;
        stop();
    }

    template <class T>
    T* child(const char* name) const
    {
        return testsupport::control<T>(screen.get(), name);
    }

    ds::Dataset& zak() const { return dm->IBDS_zak; }
    QVariant value(const char* field) const { return zak().value(QString::fromLatin1(field)); }
    dbw::DateEdit* picker() const { return child<dbw::DateEdit>("dtp_dzak"); }
    dbw::DBLookupList* vehicles() const { return child<dbw::DBLookupList>("dblb_nrrej"); }
    dbw::DBLookupList* fuels() const { return child<dbw::DBLookupList>("dblb_rodz_pal"); }

    static QStringList items(const QListWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    // A click on the item with this text, as the user's mouse does it.
    static void clickItem(QListWidget* list, const QString& text)
    {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        if (found.isEmpty())
            qFatal("no item %s", qPrintable(text));
        list->scrollToItem(found.first());
        const QPoint at = list->visualItemRect(found.first()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    // Moves the focus into `widget` and out of it to the vehicle list again.
    void leave(QWidget* widget)
    {
        widget->setFocus(Qt::OtherFocusReason);
        vehicles()->setFocus(Qt::OtherFocusReason);
    }

    void setYear(const QString& year)
    {
        auto* edit = child<QLineEdit>("m_rok");
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, year);
        vehicles()->setFocus(Qt::OtherFocusReason);
    }

    void chooseHalf(int half)
    {
        auto* list = child<QListWidget>("lb_kwart");
        clickItem(list, list->item(half)->text());
    }

    void chooseTaxpayer(const QString& name) { clickItem(child<QListWidget>("lb_pod"), name); }

    void choosePeriod(int year, int half)
    {
        setYear(QString::number(year));
        if (child<QListWidget>("lb_kwart")->currentRow() != half)
            chooseHalf(half);
    }

    // Keys a purchase into the form as the user does: vehicle, invoice, date, quantity.
    void keyPurchase(const QString& vehicle, const QString& invoice, const QDate& day, const QString& litres)
    {
        clickItem(vehicles(), vehicle);
        auto* invoiceEdit = child<dbw::DBEdit>("DBE_nrrach");
        invoiceEdit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(invoiceEdit, invoice);
        typeDate(text::formatDate(day));
        auto* quantity = child<dbw::DBEdit>("DBE_ilzak");
        quantity->selectAll();
        QTest::keyClicks(quantity, litres);
    }

    // Types a date into the date field with real key presses and leaves it with Tab, as the
    // user does; the focus stays there when the date is refused.
    void typeDate(const QString& typed)
    {
        QLineEdit* edit = picker()->lineEdit();
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Tab);
    }

    // A navigator button clicked; what it throws ends in the standard error box, as at the
    // application's boundary.
    void press(dbw::DBNavigator::Button button)
    {
        try {
            child<dbw::DBNavigator>("DBNavigator1")->click(button);
        } catch (const std::exception& e) {
            desktop::showError(QString::fromUtf8(e.what()));
        }
    }

    int storedCount(const QString& invoice)
    {
        return Rows(*dm).select(QStringLiteral("select count(*) from ZAK_PAL where NR_RACH = :p0"), {invoice})
            .first().first().toInt();
    }

    QStringList messages() const { return shownTexts(); }
};

// The child process of the test that kills a process right after a post: keys one
// purchase through the real screen, posts it, says "posted" and waits to be killed.
[[noreturn]] void postThroughScreenAndWait(const QString& databasePath);

int runPurchaseRuleTests(int argc, char** argv);
int runPurchaseScreenTests(int argc, char** argv);
int runKeepingTests(int argc, char** argv);
int runKeyboardTests(int argc, char** argv);

} // namespace purchasetest
