// The dataset tests: every test class in turn, or, with "--post-and-wait FILE", the child
// process of the test that kills a process right after a post.
#include "dataset_fixture.h"
#include "test_main.h"

int main(int argc, char** argv)
{
    return testsupport::runTestProgram<QCoreApplication>(
        argc, argv, {runDatasetEditingTests, runDatasetFieldTests, runDatasetLinkTests}, [argc, argv] {
            if (argc == 3 && qstrcmp(argv[1], "--post-and-wait") == 0)
                postRowAndWaitToBeKilled(QString::fromLocal8Bit(argv[2]));
        });
}
