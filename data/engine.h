#pragma once

#include <exception>

namespace data {

// The database engine's part of starting and ending the process, for the program and the
// command line: its private lock folder made or checked (throws ds::Error with a Polish text
// when the folder is not this user's own), a failure logged with its database context, and
// the ending once the databases are let go.
void prepareEngine();
void logFailure(const std::exception& failure);
[[noreturn]] void endProcess(int code);

} // namespace data
