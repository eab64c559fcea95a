#pragma once

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <initializer_list>

// For test programs that run several test classes (and may act as a child process of one of
// their tests): an exception that escapes a test says what it was before the process ends,
// and each class runs in turn; the result is the number of classes that failed.
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

inline int runTestClasses(int argc, char** argv, std::initializer_list<std::function<int(int, char**)>> classes)
{
    int failed = 0;
    for (const auto& run : classes)
        failed += run(argc, argv) != 0;
    return failed;
}

} // namespace testsupport
