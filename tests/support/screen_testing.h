#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QtTest>

#include "data/dm1.h"
#include "dbwidgets/db_grid.h"
#include "dbwidgets/grid_model.h"
#include "sql_testing.h"

// Helpers of the screen tests: typing into widgets and grid cells as a user does.
namespace screentest {

// Types text as key presses, Polish letters included (QTest's key clicks take ASCII only).
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

inline int columnOf(dbw::DBGrid* grid, const QString& field)
{
    return grid->gridModel()->columnOf(grid->dataset()->field(field));
}

// Opens the editor of a cell, as a double click does; nullptr when the cell is not editable.
inline QWidget* openEditor(dbw::DBGrid* grid, int row, const QString& field)
{
    const QModelIndex index = grid->model()->index(row, columnOf(grid, field));
    grid->setCurrentIndex(index);
    grid->edit(index);
    return grid->indexWidget(index);
}

// Types the text into a cell over what it held and presses Enter.
inline void enterCell(dbw::DBGrid* grid, int row, const QString& field, const QString& text)
{
    auto* editor = qobject_cast<QLineEdit*>(openEditor(grid, row, field));
    QVERIFY2(editor, qPrintable(field));
    editor->selectAll();
    typeText(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the view commits an editor's data when Enter's event is over
}

inline QString cellText(dbw::DBGrid* grid, int row, const QString& field)
{
    return grid->model()->index(row, columnOf(grid, field)).data().toString();
}

inline QStringList titles(dbw::DBGrid* grid)
{
    QStringList list;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        list << grid->model()->headerData(c, Qt::Horizontal).toString();
    return list;
}

} // namespace screentest
