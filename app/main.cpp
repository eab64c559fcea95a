// Start-up: the application, which ends on the system's termination signals, and its help,
// the shared data module (which connects to the database named in db_na.txt), then the main
// window and the message loop. The data module's connection commits its transaction as it
// closes, after the loop.
#include "application.h"
#include "data/dm1.h"
#include "data/engine.h"
#include "dataset/error.h"
#include "desktop/messages.h"
#include "desktop/signal_catcher.h"
#include "help_topics.h"
#include "ok_gl.h"
#include "report/form_font.h"
#include "startup.h"

#include <clocale>

int main(int argc, char* argv[])
{
    // Before Qt or the database engine starts a thread: the termination signals are taken by
    // the application's catcher alone.
    desktop::SignalCatcher::holdBack();
    // Qt's own dialogs take file sizes and dates from the system locale: Polish, whatever the
    // machine's. The program's numbers and dates keep their own formats, and the C library's
    // numbers stay those of "C".
    qputenv("LC_ALL", "pl_PL.UTF-8");
    Application app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    app.endOnTerminationSignals();
    // Without the Liberation fonts the printed forms come out clipped: said in the log at once.
    report::warnOnFormFontProblem();
    registerHelpTopics();
    // A lock folder that others can write would let them destroy this user's files through
    // the engine: the program does not start over one.
    try {
        data::prepareEngine();
    } catch (const ds::Error& e) {
        desktop::showError(e.message());
        data::endProcess(1);
    }

    Tdm_1 dataModule;
    connectDataModule(dataModule);

    Tf_ok_gl mainWindow(dataModule);
    mainWindow.show();
    const int result = app.exec();
    dataModule.disconnectDatabase();
    data::endProcess(result);
}
