// The purchase screen tests: every test class in turn, or, with "--post-and-wait FILE", the
// child process of the test that kills a process right after a post.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "purchase_fixture.h"
#include "purchases/purchases_help.h"

int main(int argc, char** argv)
{
    // A test that throws unexpectedly ends the process; say what was thrown.
    std::set_terminate([] {
        try {
            if (std::current_exception())
                std::rethrow_exception(std::current_exception());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "Unhandled exception: %s\n", e.what());
        } catch (...) {
        }
        std::abort();
    });
    QApplication app(argc, argv);
    text::applyProgramFormats();
    QApplication::setApplicationDisplayName(purchasetest::appTitle);
    registerPurchasesHelp();
    if (argc == 3 && qstrcmp(argv[1], "--post-and-wait") == 0)
        purchasetest::postThroughScreenAndWait(QString::fromLocal8Bit(argv[2]));
    int failed = 0;
    failed += purchasetest::runPurchaseRuleTests(argc, argv) != 0;
    failed += purchasetest::runPurchaseScreenTests(argc, argv) != 0;
    failed += purchasetest::runKeepingTests(argc, argv) != 0;
    return failed;
}
