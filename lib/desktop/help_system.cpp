#include "desktop/help_system.h"

#include "desktop/help_key_filter.h"
#include "desktop/help_window.h"

#include <QApplication>
#include <QPointer>
#include <QWindow>
#include <map>

namespace desktop {

namespace {

std::map<int, HelpTopic>& registry()
{
    static std::map<int, HelpTopic> topics;
    return topics;
}

HelpSystem::Handler& handler()
{
    static HelpSystem::Handler h;
    return h;
}

QPointer<HelpWindow>& windowRef()
{
    static QPointer<HelpWindow> window;
    return window;
}

// The one help window, made on first use. It has no owner, so that it stays beside the
// window it explains; it does not keep the program running once the main window closes.
HelpWindow* helpWindow(QWidget* parent)
{
    QPointer<HelpWindow>& window = windowRef();
    if (!window) {
        window = new HelpWindow;
        window->setAttribute(Qt::WA_QuitOnClose, false);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, [w = window.data()] { delete w; });
        if (parent)
            window->move(parent->window()->geometry().center() - window->rect().center());
    }
    return window;
}

// While a modal window is open every other window is blocked; the help window hangs on the
// modal one instead, so that the help asked for from it can be scrolled and clicked.
void keepUsableOver(HelpWindow* window, QWidget* modal)
{
    window->winId();
    QWindow* handle = window->windowHandle();
    QWindow* modalHandle = modal && modal != window ? modal->window()->windowHandle() : nullptr;
    if (handle && handle->transientParent() != modalHandle)
        handle->setTransientParent(modalHandle);
}

} // namespace

void HelpSystem::addTopic(int context, const QString& title, const QUrl& source)
{
    registry()[context] = HelpTopic{context, title, source};
}

std::vector<HelpTopic> HelpSystem::topics()
{
    std::vector<HelpTopic> list;
    list.reserve(registry().size());
    for (const auto& entry : registry())
        list.push_back(entry.second);
    return list;
}

void HelpSystem::showContents(QWidget* parent)
{
    showTopic(ContentsContext, parent);
}

void HelpSystem::showTopic(int context, QWidget* parent)
{
    if (handler()) {
        handler()(context);
        return;
    }
    HelpWindow* window = helpWindow(parent);
    window->setTopics(topics());
    window->showTopic(context);
    keepUsableOver(window, QApplication::activeModalWidget());
    window->show();
    window->raise();
    window->activateWindow();
}

void HelpSystem::setHandler(Handler h)
{
    handler() = std::move(h);
}

void HelpSystem::installHelpKey()
{
    static QPointer<HelpKeyFilter> filter;
    if (filter || !qApp)
        return;
    filter = new HelpKeyFilter(qApp);
    qApp->installEventFilter(filter);
}

} // namespace desktop
