#pragma once

#include <exception>
#include <functional>

namespace desktop {

// How a failure that reaches the user is logged. The program sets a log that knows more of
// it than its text (the database's own words, what was being done); by default the text.
using FailureLog = std::function<void(const std::exception&)>;
void setFailureLog(FailureLog log);
void logFailure(const std::exception& failure);

} // namespace desktop
