// The thread behind FormHost::runAside, the same for every front end: only
// how the caller's thread keeps its windows working differs.
#pragma once

#include <exception>
#include <functional>

namespace durmivela {

// Runs `step` on a thread of its own and `wait` on this one meanwhile; the
// step's thread calls `finished` once the step is done, to end the wait.
// Returns what the step threw, for the caller to rethrow once it has put its
// windows back. With no thread to be had the step runs here, blocking, as it
// would without a front end.
std::exception_ptr runOnOwnThread(const std::function<void()>& step, const std::function<void()>& finished,
                                  const std::function<void()>& wait);

}  // namespace durmivela
