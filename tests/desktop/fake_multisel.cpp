// A stand-in for the batch selection library whose build, functions and
// answers the tests choose: compiled once per variant (FAKE_BUILD, with or
// without CreateDlg, with functions left out). It records every call in a
// log the tests read through FakeMultiselLog.
#include <string>
#include <vector>

#define FAKE_API extern "C" __attribute__((visibility("default")))

namespace {

std::string& log() {
    static std::string calls;
    return calls;
}

void record(const std::string& call) {
    if (!log().empty()) log() += ';';
    log() += call;
}

struct Script {
    int showResult = 1;
    std::vector<std::string> files;
    std::size_t next = 0;
    std::string answer;
};

Script& script() {
    static Script s;
    return s;
}

}  // namespace

// Test controls.
FAKE_API const char* FakeMultiselLog() {
    return log().c_str();
}
FAKE_API void FakeMultiselReset(int showResult, const char* newlineSeparatedFiles) {
    log().clear();
    script() = Script{};
    script().showResult = showResult;
    std::string files = newlineSeparatedFiles ? newlineSeparatedFiles : "";
    std::size_t start = 0;
    while (start < files.size()) {
        std::size_t end = files.find('\n', start);
        if (end == std::string::npos) end = files.size();
        script().files.push_back(files.substr(start, end - start));
        start = end + 1;
    }
}

FAKE_API void Create() {
    record("Create");
}
#ifdef FAKE_CREATE_DLG
FAKE_API void CreateDlg(void* owner) {
    record(owner ? "CreateDlg(owner)" : "CreateDlg(null)");
}
#endif
FAKE_API void Free() {
    record("Free");
}
FAKE_API int ShowModal() {
    record("ShowModal");
    return script().showResult;
}
FAKE_API int GetNumberOfFiles() {
    record("GetNumberOfFiles");
    return static_cast<int>(script().files.size());
}
FAKE_API int GetDirOnly() {
    return 0;
}
FAKE_API int GetShowSubDirCheckbox() {
    return 1;
}
FAKE_API int GetFileSpecReadOnly() {
    return 0;
}
FAKE_API int GetFilterIndex() {
    return 0;
}
FAKE_API int GetBuild() {
    record("GetBuild");
    return FAKE_BUILD;
}
FAKE_API const char* GetDirectory() {
    return "";
}
FAKE_API const char* GetFirstFile() {
    record("GetFirstFile");
    return "";
}
FAKE_API const char* GetNextFile() {
    record("GetNextFile");
    Script& s = script();
    s.answer = s.next < s.files.size() ? s.files[s.next++] : "";
    return s.answer.c_str();
}
#ifndef FAKE_OMIT_GET_TITLE
FAKE_API const char* GetTitle() {
    return "";
}
#endif
FAKE_API const char* GetFileFilter() {
    return "";
}
FAKE_API const char* GetUserFilter() {
    return "";
}
FAKE_API const char* GetAppTitle() {
    return "";
}
FAKE_API void SetTitle(const char* title) {
    record("SetTitle(" + std::string(title) + ")");
}
FAKE_API void SetFilterIndex(int index) {
    record("SetFilterIndex(" + std::to_string(index) + ")");
}
FAKE_API void SetFileFilter(const char* filter) {
    record("SetFileFilter(" + std::string(filter) + ")");
}
FAKE_API void SetDirectory(const char*) {}
#ifndef FAKE_OMIT_SET_APP_TITLE
FAKE_API void SetAppTitle(const char*) {}
#endif
FAKE_API void SetDirOnly(int) {}
FAKE_API void SetShowSubDirCheckbox(int) {}
FAKE_API void SetFileSpecReadOnly(int) {}
