#include "exports/export_guard.h"

namespace tessel::exports {

std::recursive_mutex& jobMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

}  // namespace tessel::exports
