#pragma once

#include <csignal>

namespace fb {

// Gives the embedded engine a lock folder that only this user can write: the engine keeps its
// lock and trace files there and opens them following links, so a folder that another user can
// write would let him point one of them at this user's database. FIREBIRD_LOCK, when set, is the
// administrator's choice and is kept. Throws Error with a Polish message when the folder exists
// but is not this user's own with mode 0700. Runs before the first client call (once it has
// succeeded, not again).
void prepareEnvironment();

// Ends the program once its databases are let go (every attachment detached, so the engine
// has closed their files): the output is flushed and the process ends without unloading the
// engine, which fb_shutdown and the static destructors both do while a worker thread of its
// service manager may still be finishing after a backup or a restore (a crash at exit).
[[noreturn]] void endProcess(int code);


// The client library puts its own handlers of the termination signals in place when it
// first attaches (they shut the engine down). The program's own handling of those signals is
// kept: while one of these lives (around an attach), they are held back; then the program's
// handlers are put back, and a signal that came meanwhile is delivered to them.
class ProcessSignalsKept {
public:
    ProcessSignalsKept();
    ~ProcessSignalsKept();
    ProcessSignalsKept(const ProcessSignalsKept&) = delete;
    ProcessSignalsKept& operator=(const ProcessSignalsKept&) = delete;

private:
    static constexpr int count = 3;
    sigset_t held_;
    sigset_t before_;
    struct sigaction actions_[count];
};

} // namespace fb
