// The purchase screen tests: every test class in turn, or, with "--post-and-wait FILE", the
// child process of the test that kills a process right after a post.
#include <QApplication>

#include "desktop/messages.h"
#include "purchase_fixture.h"
#include "purchases/purchases_help.h"
#include "test_main.h"

int main(int argc, char** argv)
{
    return testsupport::runTestProgram<QApplication>(
        argc, argv, {purchasetest::runPurchaseRuleTests, purchasetest::runPurchaseScreenTests, purchasetest::runKeepingTests,
                      purchasetest::runKeyboardTests},
        [argc, argv] {
            text::applyProgramFormats();
            desktop::setDefaultCaption(purchasetest::appTitle);
            registerPurchasesHelp();
            if (argc == 3 && qstrcmp(argv[1], "--post-and-wait") == 0)
                purchasetest::postThroughScreenAndWait(QString::fromLocal8Bit(argv[2]));
        });
}
