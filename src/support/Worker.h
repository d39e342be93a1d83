#pragma once

#include <functional>
#include <thread>

namespace quillmarsh {

// Starts `routine` on a thread of its own. Without `handleOut` the thread is detached and runs on
// unobserved; with it, the thread is handed to the caller. False, and nothing started, when the
// system cannot create another thread.
bool StartWorker(std::function<void()> routine, std::thread* handleOut = nullptr);

} // namespace quillmarsh
