#include "dbwidgets/db_navigator.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include "dataset/data_source.h"
#include "dataset/dataset.h"
#include "desktop/messages.h"

namespace dbw {

namespace {

const char* const names[] = {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert",
                             "nbDelete", "nbEdit", "nbPost", "nbCancel", "nbRefresh"};

QString hint(int b)
{
    static const QString hints[] = {QStringLiteral("Pierwszy"), QStringLiteral("Poprzedni"), QStringLiteral("Następny"),
                                    QStringLiteral("Ostatni"), QStringLiteral("Dodaj"), QStringLiteral("Usuń"),
                                    QStringLiteral("Popraw"), QStringLiteral("Akceptuj"), QStringLiteral("Anuluj zmiany"),
                                    QStringLiteral("Odśwież dane")};
    return hints[b];
}

// Small pictures drawn here, so that the buttons look alike whatever the desktop's theme.
QIcon glyph(int b)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 60, 110);
    p.setPen(QPen(ink, 1.6));
    p.setBrush(ink);
    auto triangle = [&](qreal x, bool left) {
        QPainterPath path;
        if (left) {
            path.moveTo(x + 5, 3); path.lineTo(x, 8); path.lineTo(x + 5, 13);
        } else {
            path.moveTo(x, 3); path.lineTo(x + 5, 8); path.lineTo(x, 13);
        }
        path.closeSubpath();
        p.drawPath(path);
    };
    switch (b) {
    case DBNavigator::First: p.drawLine(QPointF(4, 3), QPointF(4, 13)); triangle(6, true); break;
    case DBNavigator::Prior: triangle(5, true); break;
    case DBNavigator::Next: triangle(6, false); break;
    case DBNavigator::Last: triangle(5, false); p.drawLine(QPointF(12, 3), QPointF(12, 13)); break;
    case DBNavigator::Insert: p.drawLine(QPointF(8, 3), QPointF(8, 13)); p.drawLine(QPointF(3, 8), QPointF(13, 8)); break;
    case DBNavigator::Delete: p.drawLine(QPointF(3, 8), QPointF(13, 8)); break;
    case DBNavigator::Edit: {
        QPainterPath path;
        path.moveTo(3, 11); path.lineTo(8, 4); path.lineTo(13, 11);
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case DBNavigator::Post: p.setBrush(Qt::NoBrush); p.setPen(QPen(QColor(20, 120, 40), 2)); p.drawPolyline(QPolygonF{{3, 8}, {7, 12}, {13, 4}}); break;
    case DBNavigator::Cancel: p.setPen(QPen(QColor(170, 30, 30), 2)); p.drawLine(QPointF(4, 4), QPointF(12, 12)); p.drawLine(QPointF(12, 4), QPointF(4, 12)); break;
    case DBNavigator::Refresh: {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 290 * 16);
        p.setBrush(ink);
        QPainterPath head;
        head.moveTo(10, 1); head.lineTo(14, 4); head.lineTo(10, 7);
        head.closeSubpath();
        p.drawPath(head);
        break;
    }
    }
    return QIcon(pm);
}

} // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int b = 0; b < buttonCount; ++b) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(names[b]));
        button->setIcon(glyph(b));
        button->setToolTip(hint(b));
        button->setStatusTip(hint(b));
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumSize(24, 24);
        connect(button, &QToolButton::clicked, this, [this, b] { click(static_cast<Button>(b)); });
        layout->addWidget(button);
        buttons_[b] = button;
    }
    layout->addStretch();
    updateButtons();
}

void DBNavigator::setDataSource(ds::DataSource* source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        connect(source_, &ds::DataSource::dataChanged, this, &DBNavigator::updateButtons);
        connect(source_, &ds::DataSource::stateChanged, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::updateButtons()
{
    ds::Dataset* d = source_ ? source_->dataset() : nullptr;
    const bool active = d && d->isActive();
    const bool modifiable = active && d->canModify();
    const bool editing = active && d->isEditing();
    const int row = active ? d->recNo() : -1;
    const int count = active ? d->recordCount() : 0;
    buttons_[First]->setEnabled(active && row > 0);
    buttons_[Prior]->setEnabled(active && row > 0);
    buttons_[Next]->setEnabled(active && row >= 0 && row < count - 1);
    buttons_[Last]->setEnabled(active && row >= 0 && row < count - 1);
    buttons_[Insert]->setEnabled(modifiable);
    buttons_[Delete]->setEnabled(modifiable && count > 0);
    buttons_[Edit]->setEnabled(modifiable && !editing);
    buttons_[Post]->setEnabled(modifiable && editing);
    buttons_[Cancel]->setEnabled(modifiable && editing);
    buttons_[Refresh]->setEnabled(active);
}

// After a conflict, the row read again keeps what was typed here: the user sees what the other
// desk had changed before saving over it.
void DBNavigator::tellOtherDeskChanges(ds::Dataset& d)
{
    const QStringList changes = d.takeOtherDeskChanges();
    if (changes.isEmpty())
        return;
    desktop::showInformation(QStringLiteral("Na innym stanowisku zmieniono w tym wierszu:\n\n• %1\n\nSprawdź dane i zapisz je "
                                            "(„Akceptuj”) albo zrezygnuj z wpisanych zmian („Anuluj zmiany”).")
                                 .arg(changes.join(QStringLiteral("\n• "))),
                             {}, this);
}

void DBNavigator::click(Button b)
{
    ds::Dataset* d = source_ ? source_->dataset() : nullptr;
    if (!d || !buttons_[b]->isEnabled())
        return;
    switch (b) {
    case First: d->first(); break;
    case Prior: d->prior(); break;
    case Next: d->next(); break;
    case Last: d->last(); break;
    case Insert: d->insert(); break;
    case Delete:
        if (confirmDelete_ && desktop::ask(QStringLiteral("Czy usunąć bieżący rekord?"), {}, this) != desktop::Answer::Yes)
            return;
        d->remove();
        break;
    case Edit: d->edit(); break;
    case Post: d->post(); break;
    case Cancel: d->cancel(); break;
    case Refresh:
        d->refresh();
        tellOtherDeskChanges(*d);
        break;
    }
    updateButtons();
    emit clicked(b);
}

} // namespace dbw
