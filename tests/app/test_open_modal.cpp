#include "application.h"
#include "test_main.h"
#include "desktop/open_modal.h"
#include "widget_testing.h"

#include <QDialog>
#include <stdexcept>

namespace {

int alive = 0;

class Screen : public QDialog {
public:
    explicit Screen(QWidget* owner) : QDialog(owner) { ++alive; }
    ~Screen() override { --alive; }
};

Screen* screen = nullptr;

class ThrowingScreen : public Screen {
public:
    using Screen::Screen;
    int exec() override
    {
        wasReachable = throwing == this;
        throw std::runtime_error("Nie można otworzyć tabeli PALIWA");
    }
    static ThrowingScreen* throwing;
    static bool wasReachable;
};
ThrowingScreen* ThrowingScreen::throwing = nullptr;
bool ThrowingScreen::wasReachable = false;

class SelfDeletingScreen : public Screen {
public:
    explicit SelfDeletingScreen(QWidget* owner) : Screen(owner) { setAttribute(Qt::WA_DeleteOnClose); }
};
SelfDeletingScreen* selfDeleting = nullptr;

} // namespace

class TestOpenModal : public QObject {
    Q_OBJECT

private slots:
    void init() { alive = 0; }

    void screenIsReachableWhileOpenAndFreedAfter()
    {
        QWidget owner;
        QObject probe;
        bool reachable = false;
        bool owned = false;
        bool modal = false;
        whenModal(&probe, [&](QWidget* shown) {
            reachable = shown == screen;
            owned = shown->parentWidget() == &owner;
            modal = shown->isModal();
            static_cast<QDialog*>(shown)->done(5);
        });
        QCOMPARE(desktop::openModal(screen, &owner), 5);
        QVERIFY(reachable);
        QVERIFY(owned);
        QVERIFY(modal);
        QCOMPARE(screen, nullptr);
        QCOMPARE(alive, 0);
    }

    void screenIsFreedWhenItThrows()
    {
        QWidget owner;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, desktop::openModal(ThrowingScreen::throwing, &owner));
        QVERIFY(ThrowingScreen::wasReachable);
        QCOMPARE(ThrowingScreen::throwing, nullptr);
        QCOMPARE(alive, 0);
        QVERIFY(owner.findChildren<QDialog*>().isEmpty());
    }

    void screenThatDeletesItselfIsFreedOnce()
    {
        QWidget owner;
        QObject probe;
        whenModal(&probe, [](QWidget* shown) { shown->close(); });
        QCOMPARE(desktop::openModal(selfDeleting, &owner), int(QDialog::Rejected));
        QCOMPARE(selfDeleting, nullptr);
        QCOMPARE(alive, 0);
    }
};

TEST_MAIN(Application, TestOpenModal)
#include "test_open_modal.moc"
