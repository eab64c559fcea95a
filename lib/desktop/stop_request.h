#pragma once

#include <functional>

namespace desktop {

// Asked now and then by long work that may end early (a termination signal, a cancel): true
// stops it. An empty one never stops anything.
using StopRequest = std::function<bool()>;

inline bool stopAsked(const StopRequest& stop)
{
    return stop && stop();
}

// Thrown by work that ended early because it was asked to; it has left nothing behind.
struct WorkStopped {};

} // namespace desktop
