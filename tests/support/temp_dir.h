// A fresh temporary folder per test, removed afterwards, and small file
// helpers for byte-exact comparisons.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

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

std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view bytes);
bool exists(const std::string& path);

// The log with its "Date:" line replaced by "Date:\t<date>", for byte
// comparisons of everything else.
std::string withoutDate(std::string log);

}  // namespace tessel::test
