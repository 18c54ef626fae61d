// Identification exports: name, version and notice of the library.
#include "tessel_cat.h"

namespace {

constexpr const char kVersion[] = "Version 1.09";
constexpr const char kName[] = "TESSEL_CAT.DLL";
constexpr const char kCopyright[] =
    "Copyright (c) Tessel Filter Pack developers.\n"
    "Licensed under the MIT License.";

}  // namespace

extern "C" {

const char* TESSEL_CALL f_pszDLLVersion(void) {
    return kVersion;
}
const char* TESSEL_CALL f_pszDLLName(void) {
    return kName;
}
const char* TESSEL_CALL f_pszDLLCopyrightMessage(void) {
    return kCopyright;
}

}  // extern "C"
