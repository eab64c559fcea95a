#include "desktop/bar_style.h"
#include "desktop/caption_width.h"

#include <QAction>
#include <QDialog>
#include <QFontMetrics>
#include <QImage>
#include <QMenuBar>
#include <QTest>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QApplication>
#include "test_main.h"

namespace {

QIcon redSquare()
{
    QPixmap p(16, 16);
    p.fill(Qt::red);
    return QIcon(p);
}

bool isRed(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

bool isInk(QRgb c)
{
    return qGray(c) < 110 && !isRed(c);
}

// The lowest row of `image` inside `area` that has text ink; -1 when none.
int lowestInkRow(const QImage& image, const QRect& area)
{
    for (int y = area.bottom(); y >= area.top(); --y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (isInk(image.pixel(x, y)))
                return y;
        }
    }
    return -1;
}

} // namespace

class TestBarStyle : public QObject {
    Q_OBJECT

private slots:
    void menuBarItemShowsPictureAndCaption()
    {
        QMenuBar bar;
        desktop::BarStyle style(&bar);
        bar.setStyle(&style);
        QAction* withPicture = bar.addAction(redSquare(), QStringLiteral("&Pomoc"));
        QAction* captionOnly = bar.addAction(QStringLiteral("&Pomoc"));
        bar.resize(400, bar.sizeHint().height());
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));

        const QRect pictured = bar.actionGeometry(withPicture);
        QVERIFY(pictured.width() >= bar.actionGeometry(captionOnly).width() + 16);

        const QImage image = bar.grab().toImage();
        int firstRed = -1;
        int lastRed = -1;
        int lastInk = -1;
        for (int x = pictured.left(); x <= pictured.right(); ++x) {
            for (int y = pictured.top(); y <= pictured.bottom(); ++y) {
                const QRgb c = image.pixel(x, y);
                if (isRed(c)) {
                    firstRed = firstRed < 0 ? x : firstRed;
                    lastRed = x;
                } else if (isInk(c)) {
                    lastInk = x;
                }
            }
        }
        QVERIFY(firstRed >= pictured.left());
        // The caption is drawn to the right of the picture.
        QVERIFY(lastInk > lastRed + 10);
    }

    // A long caption widens its window, whether its layout fixes the size or not.
    void windowsWideEnoughForTheirCaption()
    {
        const QString caption = QStringLiteral("Połozenie pliku z bazą danych -naliczanie opłat za korzystanie ze środowiska");
        for (const bool fixed : {true, false}) {
            QDialog window;
            window.setWindowTitle(caption);
            auto* layout = new QVBoxLayout(&window);
            layout->addWidget(new QPushButton(QStringLiteral("OK")));
            if (fixed)
                layout->setSizeConstraint(QLayout::SetFixedSize);
            desktop::fitCaption(window);
            window.show();
            QFont bold = window.font();
            bold.setBold(true);
            QVERIFY2(window.width() > QFontMetrics(bold).horizontalAdvance(caption) + 100, fixed ? "fixed" : "free");
        }
    }

    void toolButtonWithoutPictureKeepsItsCaptionInLine()
    {
        QWidget holder;
        desktop::BarStyle style(&holder);
        QToolButton pictured(&holder);
        QToolButton plain(&holder);
        for (QToolButton* b : {&pictured, &plain}) {
            b->setStyle(&style);
            b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            b->setIconSize(QSize(16, 16));
            b->setText(QStringLiteral("Rozliczenie"));
            b->setFixedSize(125, 48);
        }
        pictured.setIcon(redSquare());
        plain.move(0, 60);
        holder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&holder));

        const QImage withPicture = pictured.grab().toImage();
        const QImage withoutPicture = plain.grab().toImage();
        const int inkRow = lowestInkRow(withPicture, withPicture.rect());
        QVERIFY(inkRow > 0);
        QCOMPARE(lowestInkRow(withoutPicture, withoutPicture.rect()), inkRow);
    }
};

TEST_MAIN(QApplication, TestBarStyle)
#include "test_bar_style.moc"
