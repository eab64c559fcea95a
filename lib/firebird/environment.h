#pragma once

namespace fb {

// Makes sure that the embedded engine can write its lock files: when the engine's default
// lock folder exists but is not writable for this user and FIREBIRD_LOCK is not set, the
// engine is pointed at a folder of the user's own. Runs once, before the first client call.
void prepareEnvironment();

} // namespace fb
