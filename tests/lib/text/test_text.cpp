#include "test_text.h"

#include <QtTest>

#include "text/formats.h"
#include "test_main.h"

void TestText::init()
{
    // Some tests change the process-wide formats; every test starts from the program's own.
    text::applyProgramFormats();
}

TEST_MAIN(QCoreApplication, TestText)
