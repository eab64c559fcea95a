#include "desktop/help_window.h"

#include "desktop/shell.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace desktop {

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      topicList_(new QListWidget),
      splitter_(new QSplitter(Qt::Horizontal)),
      browser_(new QTextBrowser),
      back_(new QToolButton),
      forward_(new QToolButton)
{
    setWindowTitle(QStringLiteral("Pomoc"));
    topicList_->setObjectName(QStringLiteral("topics"));
    browser_->setObjectName(QStringLiteral("page"));
    // Links are followed here: pages of the help in this window, web and mail addresses
    // through the desktop.
    browser_->setOpenLinks(false);

    back_->setText(QStringLiteral("Wstecz"));
    back_->setArrowType(Qt::LeftArrow);
    back_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_->setEnabled(false);
    forward_->setText(QStringLiteral("Dalej"));
    forward_->setArrowType(Qt::RightArrow);
    forward_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    forward_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch();

    splitter_->addWidget(topicList_);
    splitter_->addWidget(browser_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({220, 560});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter_, 1);
    resize(820, 600);

    connect(topicList_, &QListWidget::currentRowChanged, this, &HelpWindow::showRow);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::markTopicOf);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
}

void HelpWindow::setTopics(const std::vector<HelpTopic>& topics)
{
    const QSignalBlocker blocker(topicList_);
    topics_ = topics;
    topicList_->clear();
    for (const HelpTopic& t : topics_)
        topicList_->addItem(t.title);
    // The contents as wide as their longest title, up to half the window.
    const int contents = topicList_->sizeHintForColumn(0) + 2 * topicList_->frameWidth()
                       + topicList_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    const int whole = std::max(splitter_->width(), 780);
    const int left = std::clamp(contents, 220, whole / 2);
    splitter_->setSizes({left, whole - left});
    markTopicOf(browser_->source());
}

void HelpWindow::showTopic(int context)
{
    const int row = rowOf(context);
    if (row >= 0) {
        showRow(row);
        return;
    }
    browser_->setHtml(QStringLiteral("<p>Brak tematu pomocy o numerze %1.</p>").arg(context));
    const QSignalBlocker blocker(topicList_);
    topicList_->setCurrentRow(-1);
}

int HelpWindow::currentContext() const
{
    const int row = topicList_->currentRow();
    return row >= 0 ? topics_[static_cast<std::size_t>(row)].context : -1;
}

QUrl HelpWindow::currentSource() const
{
    return browser_->source();
}

void HelpWindow::showRow(int row)
{
    if (row < 0 || row >= static_cast<int>(topics_.size()))
        return;
    const QUrl& source = topics_[static_cast<std::size_t>(row)].source;
    // The same page is read again: a "no such topic" text may stand in its place.
    if (browser_->source() == source) {
        browser_->reload();
        markTopicOf(source);
    } else {
        browser_->setSource(source);
    }
}

void HelpWindow::followLink(const QUrl& link)
{
    const QUrl target = browser_->source().resolved(link);
    const QString scheme = target.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"))
        openAddress(target.toString());
    else
        browser_->setSource(target);
}

// Keeps the list on the topic of the page shown, whichever way the page was reached.
void HelpWindow::markTopicOf(const QUrl& source)
{
    int found = -1;
    for (std::size_t i = 0; i < topics_.size(); ++i) {
        if (topics_[i].source.adjusted(QUrl::RemoveFragment) == source.adjusted(QUrl::RemoveFragment)) {
            found = static_cast<int>(i);
            break;
        }
    }
    const QSignalBlocker blocker(topicList_);
    topicList_->setCurrentRow(found);
}

int HelpWindow::rowOf(int context) const
{
    for (std::size_t i = 0; i < topics_.size(); ++i) {
        if (topics_[i].context == context)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace desktop
