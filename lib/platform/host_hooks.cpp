#include "platform/host_hooks.h"

#include <dlfcn.h>

namespace tessel::platform {

void* findHostFunction(const char* name) {
    // RTLD_DEFAULT searches the executable and every library loaded with
    // global symbols, which is where a host program's hooks live.
    return dlsym(RTLD_DEFAULT, name);
}

}  // namespace tessel::platform
