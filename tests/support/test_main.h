#pragma once

#include <QCoreApplication>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <initializer_list>

// The one way a test program starts: an exception that escapes a test says what it was
// before the process ends, the application object the tested code needs is made first
// (QCoreApplication without widgets, QApplication with them, the program's Application for
// the program as a whole), and each test class runs in turn; the result is the number of
// classes that failed.
namespace testsupport {

inline void reportEscapingExceptions()
{
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
}

template <class TestClass>
int runTestClass(int argc, char** argv)
{
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

// `setUp` runs once the application exists, before the first class (a program that doubles
// as a child process of one of its tests takes that turn there).
template <class App>
int runTestProgram(int argc, char** argv, std::initializer_list<std::function<int(int, char**)>> classes,
                   const std::function<void()>& setUp = {})
{
    reportEscapingExceptions();
    App app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    if (setUp)
        setUp();
    int failed = 0;
    for (const auto& run : classes)
        failed += run(argc, argv) != 0;
    return failed;
}

} // namespace testsupport

#define TEST_MAIN(App, TestClass)                                                                  \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        return testsupport::runTestProgram<App>(argc, argv, {testsupport::runTestClass<TestClass>}); \
    }
