// Services the host program may supply to the library without the library
// exporting anything for it: the host defines a C function under an agreed
// name in its own executable (exported dynamically, for instance with
// CMake's ENABLE_EXPORTS), and the library looks it up at run time. A host
// that defines nothing gets the library's own fallback (standard error, a
// terminal prompt), so the exported set of the library never changes.
//
// Agreed names and signatures are declared beside the service that uses
// them (for instance the message boxes in platform/message_box.h).
#pragma once

namespace tessel::platform {

// The address of the host's function `name`, or null when the running program
// defines none. Looked up on every call, so a host may be loaded after the
// library.
void* findHostFunction(const char* name);

template <typename Function>
Function* hostFunction(const char* name) {
    return reinterpret_cast<Function*>(findHostFunction(name));
}

}  // namespace tessel::platform
