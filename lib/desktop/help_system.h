#pragma once

#include "desktop/help_topic.h"

#include <functional>
#include <vector>

class QWidget;

namespace desktop {

// The program's help: topics registered by context number, shown in the one help window.
class HelpSystem {
public:
    // The context number of the contents page.
    static constexpr int ContentsContext = 0;

    // Registers or replaces the topic with this context number.
    static void addTopic(int context, const QString& title, const QUrl& source);
    // Every topic in context order, so the contents page comes first.
    static std::vector<HelpTopic> topics();

    static void showContents(QWidget* parent = nullptr);
    static void showTopic(int context, QWidget* parent = nullptr);

    // Replaces the help window while set (tests): the handler gets each context asked
    // for. An empty function restores the window.
    using Handler = std::function<void(int context)>;
    static void setHandler(Handler handler);

    // Lets F1 open the help in every window of the application; more calls change nothing.
    static void installHelpKey();
};

} // namespace desktop
