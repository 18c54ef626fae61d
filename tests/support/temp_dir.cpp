#include "support/temp_dir.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "support/portable.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace tessel::test {

namespace fs = std::filesystem;

namespace {

// The name as the system's file functions reach it at any length.
fs::path reachable(const fs::path& path) {
#ifdef _WIN32
    std::wstring name = path.wstring();
    if (name.size() < MAX_PATH - 12 || name.rfind(L"\\\\", 0) == 0) return path;
    fs::path absolute = fs::absolute(path).make_preferred();
    return fs::path(L"\\\\?\\" + absolute.wstring());
#else
    return path;
#endif
}

}  // namespace

std::vector<FolderEntry> entriesOf(const fs::path& folder) {
    std::vector<FolderEntry> entries;
#ifdef _WIN32
    std::wstring pattern = reachable(folder / "*").wstring();
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        bool isDevice = (found.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0;
        entries.push_back({fs::path(name).string(), isFolder, !isFolder && !isDevice});
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
#else
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        // A link to a folder is not followed, as the iterators do not.
        bool isFolder = entry.is_directory(error) && !entry.is_symlink(error);
        entries.push_back(
            {entry.path().filename().string(), isFolder, entry.is_regular_file(error)});
    }
#endif
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

void removeTree(const fs::path& folder) {
#ifdef _WIN32
    for (const FolderEntry& entry : entriesOf(folder)) {
        fs::path name = folder / entry.name;
        if (entry.isFolder) {
            removeTree(name);
        } else {
            ::SetFileAttributesW(reachable(name).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(reachable(name).c_str());
        }
    }
    ::RemoveDirectoryW(reachable(folder).c_str());
#else
    std::error_code ignored;
    fs::remove_all(folder, ignored);
#endif
}

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("tessel-test-" + std::to_string(processId()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    removeTree(path_);
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const {
    std::string full = file(name);
    writeFile(full, bytes);
    return full;
}

std::string TempDir::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (const auto& name : names) {
        if (!text.empty()) text += ' ';
        text += name;
    }
    return text;
}

std::string readFile(const std::string& path) {
    std::ifstream in(reachable(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(reachable(path), std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool exists(const std::string& path) {
#ifdef _WIN32
    return ::GetFileAttributesW(reachable(path).c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    return fs::exists(path);
#endif
}

std::string withoutDate(std::string log) {
    auto start = log.find("Date:\t");
    if (start == std::string::npos) return log;
    auto end = log.find('\n', start);
    if (end == std::string::npos) return log;
    if (end > start && log[end - 1] == '\r') --end;
    log.replace(start, end - start, "Date:\t<date>");
    return log;
}

}  // namespace tessel::test
