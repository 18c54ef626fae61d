#include "platform/host_hooks.h"

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <dlfcn.h>
#endif

namespace tessel::platform {

void* findHostFunction(const char* name) {
#ifdef _WIN32
    // The hooks are exports of the program's own executable (the module a
    // null name stands for).
    return reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA(nullptr), name));
#else
    // RTLD_DEFAULT searches the executable and every library loaded with
    // global symbols, which is where a host program's hooks live.
    return dlsym(RTLD_DEFAULT, name);
#endif
}

}  // namespace tessel::platform
