// What every job export does around its job: it takes the library-wide job
// lock for the whole job, because the job state (message numbers, carry-over
// buffer, converter log) is library-wide, and it turns any exception into a
// return code, because nothing may be thrown across the C interface.
//
// A new export is a thin function over its job:
//   extern "C" int f_iNewJob(const char* path) {
//       return tessel::exports::runExport([&]() -> int {
//           if (path == nullptr) return tessel::frame::kCannotOpenInput;
//           return tessel::newformat::newJob(path);
//       });
//   }
#pragma once

#include <mutex>
#include <new>

#include "frame/return_codes.h"

namespace tessel::exports {

// The one lock of the library's jobs. Recursive, so that a host callback run
// inside a job (a message box presenter, say) may call back into the library
// without deadlocking its own thread; callers on other threads wait.
std::recursive_mutex& jobMutex();

template <typename Job>
int runExport(Job&& job) noexcept {
    try {
        std::lock_guard<std::recursive_mutex> lock(jobMutex());
        return job();
    } catch (const std::bad_alloc&) {
        return frame::kOutOfMemory;
    } catch (...) {
        return frame::kOutOfMemory;
    }
}

}  // namespace tessel::exports
