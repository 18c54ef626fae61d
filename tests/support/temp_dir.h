// A fresh temporary folder per test, removed afterwards, and small file
// helpers for byte-exact comparisons.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Full name of a file in the folder.
    std::string file(std::string_view name) const { return (path_ / name).string(); }
    // Writes `bytes` to a file in the folder and returns its full name.
    std::string write(std::string_view name, std::string_view bytes) const;
    // Names of the files in the folder, sorted.
    std::string listing() const;

  private:
    std::filesystem::path path_;
};

// These reach names of any length: on Windows a name beyond 259 characters
// is taken in its "\\?\" form.
std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view bytes);
bool exists(const std::string& path);

struct FolderEntry {
    std::string name;
    bool isFolder = false;
    bool isRegularFile = false;
};
// The entries of `folder` ("." and ".." left out), sorted by name. With
// MinGW the iterators of std::filesystem lose their way in folders whose
// names are beyond 259 characters; this lists those too.
std::vector<FolderEntry> entriesOf(const std::filesystem::path& folder);

// Removes `folder` and everything below it, names of any length included;
// errors are ignored.
void removeTree(const std::filesystem::path& folder);

// The log with its "Date:" line replaced by "Date:\t<date>", for byte
// comparisons of everything else.
std::string withoutDate(std::string log);

}  // namespace tessel::test
