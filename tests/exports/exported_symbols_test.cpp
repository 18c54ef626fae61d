// The shared library exports exactly the flat functions of its public header.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "tessel_cat.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32

// The export table itself is read on the build machine (Exports.DllExportTable
// in tests/CMakeLists.txt); here every expected name must resolve, plain,
// in the DLL the program loaded.
std::set<std::string> resolvableExports(const std::set<std::string>& names) {
    std::set<std::string> found;
    HMODULE library = ::GetModuleHandleA("TESSEL_CAT.dll");
    if (library == nullptr) return found;
    for (const std::string& name : names) {
        if (::GetProcAddress(library, name.c_str()) != nullptr) found.insert(name);
    }
    return found;
}

#else

std::set<std::string> definedDynamicSymbols() {
    std::string command = "nm -D --defined-only " TESSEL_CAT_PATH;
    std::set<std::string> symbols;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return symbols;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::istringstream fields(line);
        std::string address, kind, name;
        fields >> address >> kind >> name;
        if (name.empty()) continue;
        // Symbols of the sanitizer runtimes and the linker's own markers are not ours.
        if (name.rfind("__", 0) == 0 || name == "_init" || name == "_fini" || name == "_end" ||
            name == "_edata") {
            continue;
        }
        symbols.insert(name);
    }
    pclose(pipe);
    return symbols;
}

#endif

std::set<std::string> headerExports() {
    std::set<std::string> names;
    std::istringstream list(TESSEL_HEADER_EXPORTS);
    std::string name;
    while (std::getline(list, name, ',')) names.insert(name);
    return names;
}

// The exports implemented so far; a change to the exported set must change
// this list too.
const std::set<std::string> kExpectedExports = {
    "f_pszDLLVersion",
    "f_pszDLLName",
    "f_pszDLLCopyrightMessage",
    "funciTextReadWriteParser",
    "f_iPageMaker2RTF",
    "f_iXPress2RTF",
    "f_iVentura567toRTF",
    "f_iVentura4toRTF",
    "f_iHTML2RTF",
    "funciSGMLTextReadWrite",
    "f_iSGML2RTF",
    "f_iAddUniqueSGMLTagsToFile",
    "funciReadRTFWriteTextParser",
    "f_iRTF2Text",
    "f_iRTF2HTML",
    "f_iRTF2CompatibleHTML",
    "f_iRTF2SGML",
    "f_iRTF2PageMaker",
    "f_iRTF2XPress",
    "f_iVentura4RTF2Text",
    "f_iRTF2HTMLMultiLingual",
    "f_iRTF2HTMLMultiLingualWithCharSet",
    "funciReadRTFWriteTextParserMultiLingual",
    "funciReadRTFWriteTextParserMultiLingualWithCharSet",
    "gf_uiGetCodepageFromLanguageDialog",
    "gf_pszGetCodepageFromLanguageDialog",
    "f_iSetSourceEncoding",
    "f_iSetTargetCodePage",
    "f_iGetSourceEncodingReport",
};

TEST(ExportedSymbols, LibraryExportsExactlyTheHeaderFunctions) {
    EXPECT_EQ(headerExports(), kExpectedExports);
#ifdef _WIN32
    EXPECT_EQ(resolvableExports(kExpectedExports), kExpectedExports);
#else
    EXPECT_EQ(definedDynamicSymbols(), kExpectedExports);
#endif
}

TEST(LibraryInfo, NameVersionAndNotice) {
    EXPECT_STREQ(f_pszDLLName(), "TESSEL_CAT.DLL");
    EXPECT_STREQ(f_pszDLLVersion(), "Version 1.09");
    std::string notice = f_pszDLLCopyrightMessage();
    EXPECT_EQ(std::count(notice.begin(), notice.end(), '\n'), 1) << "two lines";
}

}  // namespace
