#include "import/run_bar.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>

#include "desktop/signal_catcher.h"

namespace {

// Events are handled this often while the import goes: often enough for the window to answer
// at once, seldom enough that a run writing a line of the log per entry is not held up by
// painting each.
constexpr qint64 eventsEveryMs = 40;

} // namespace

RunBar::RunBar(QWidget* screen) : QWidget(screen), screen_(screen)
{
    setObjectName(QStringLiteral("RunBar"));
    pb_postep = new QProgressBar(this);
    pb_postep->setObjectName(QStringLiteral("pb_postep"));
    pb_postep->setMinimumWidth(160);
    kl_przerwij = new QPushButton(QStringLiteral("Przerwij"), this);
    kl_przerwij->setObjectName(QStringLiteral("kl_przerwij"));
    kl_przerwij->setAutoDefault(false);
    kl_przerwij->setToolTip(QStringLiteral("Kończy import na następnym zapisie; to, co przejęto, zostaje w bazie"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pb_postep, 1);
    layout->addWidget(kl_przerwij);
    connect(kl_przerwij, &QPushButton::clicked, this, [this] {
        stop_ = true;
        kl_przerwij->setEnabled(false);
    });
    hide();
}

void RunBar::setStopCaption(const QString& caption)
{
    kl_przerwij->setText(caption);
}

RunBar::Run::Run(RunBar& bar, const QList<QWidget*>& readable) : bar_(bar)
{
    bar_.running_ = true;
    bar_.stop_ = false;
    for (QWidget* w : bar_.screen_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (w != &bar_ && !readable.contains(w) && w->isEnabled() && !w->isWindow()) {
            w->setEnabled(false);
            turnedOff_ << w;
        }
    bar_.pb_postep->setRange(0, 0);
    bar_.kl_przerwij->setEnabled(true);
    bar_.show();
    bar_.kl_przerwij->setFocus(Qt::OtherFocusReason);
    bar_.screen_->installEventFilter(&bar_);
    bar_.sinceEvents_.start();
}

RunBar::Run::~Run()
{
    bar_.screen_->removeEventFilter(&bar_);
    bar_.hide();
    for (const QPointer<QWidget>& w : turnedOff_)
        if (w)
            w->setEnabled(true);
    bar_.running_ = false;
}

bool RunBar::stopAsked() const
{
    return stop_ || desktop::SignalCatcher::lastCaught() != 0;
}

void RunBar::progress(qint64 done, qint64 total)
{
    if (total <= 0) {
        pb_postep->setRange(0, 0);
    } else {
        // Per mille: a bar's range is an int, a run's records need not be.
        pb_postep->setRange(0, 1000);
        pb_postep->setValue(static_cast<int>(std::min<qint64>(done, total) * 1000 / total));
    }
    keepAlive();
}

void RunBar::keepAlive()
{
    if (sinceEvents_.elapsed() < eventsEveryMs)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceEvents_.restart();
}

bool RunBar::eventFilter(QObject* watched, QEvent* event)
{
    if (running_ && watched == screen_ && event->type() == QEvent::Close) {
        event->ignore();
        stop_ = true;
        kl_przerwij->setEnabled(false);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
