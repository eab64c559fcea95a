#pragma once

#include "desktop/help_topic.h"

#include <QWidget>
#include <vector>

class QListWidget;
class QSplitter;
class QTextBrowser;
class QToolButton;

namespace desktop {

// The program's help: the topics listed on the left, the page on the right. Not modal,
// so that the user can read it beside the window it explains.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void setTopics(const std::vector<HelpTopic>& topics);
    void showTopic(int context);
    // The context of the topic shown; -1 when the page shown is not a registered topic.
    int currentContext() const;
    QUrl currentSource() const;

private:
    void showRow(int row);
    void followLink(const QUrl& link);
    void markTopicOf(const QUrl& source);
    int rowOf(int context) const;

    QListWidget* topicList_;
    QSplitter* splitter_;
    QTextBrowser* browser_;
    QToolButton* back_;
    QToolButton* forward_;
    std::vector<HelpTopic> topics_;
};

} // namespace desktop
