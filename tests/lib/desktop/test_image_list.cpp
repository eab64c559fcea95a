#include "desktop/image_list.h"

#include <QPixmap>
#include <QTest>
#include <QApplication>
#include "test_main.h"

class TestImageList : public QObject {
    Q_OBJECT

private slots:
    void iconsAreKeptBySlot()
    {
        desktop::ImageList list;
        QCOMPARE(list.count(), 0);
        QPixmap red(16, 16);
        red.fill(Qt::red);
        QPixmap blue(16, 16);
        blue.fill(Qt::blue);
        list.setIcon(4, QIcon(red));
        list.setIcon(0, QIcon(blue));

        QCOMPARE(list.count(), 5);
        QVERIFY(list.has(4));
        QVERIFY(!list.has(2));
        QVERIFY(list.icon(2).isNull());
        QCOMPARE(list.icon(4).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
        QCOMPARE(list.icon(0).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::blue));
    }
};

TEST_MAIN(QApplication, TestImageList)
#include "test_image_list.moc"
