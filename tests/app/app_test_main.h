#pragma once

#include "application.h"

#include <QTest>

// The program's tests run under its own application object, as the program does.
#define APP_TEST_MAIN(TestClass)                                                                   \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        Application app(argc, argv);                                                               \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
