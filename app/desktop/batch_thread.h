// A batch runs on a worker thread while the window stays responsive: the
// caller waits in an event loop of its own until the work is done, so a
// command still returns its outcomes when it has finished. Whatever the work
// needs from widgets (questions, the report, the library's dialogs) it asks
// for through callOnGuiThread, which waits for the answer.
#pragma once

#include <functional>

namespace tessel::desktop {

// Runs `work` on a new thread and returns when it has finished; exceptions
// are passed on. Without a running application the work runs here.
void runOnWorkerThread(const std::function<void()>& work);

// True on a thread that runOnWorkerThread started, while it works.
bool onBatchWorkerThread();

// Runs `call` on the application's thread: directly there, else through a
// blocking queued call from a batch worker (its exceptions are passed on).
void callOnGuiThread(const std::function<void()>& call);

}  // namespace tessel::desktop
