#include "test_text.h"

#include <QtTest>

#include "text/formats.h"

void TestText::init()
{
    // Some tests change the process-wide formats; every test starts from the program's own.
    text::applyProgramFormats();
}

QTEST_GUILESS_MAIN(TestText)
