// A real, small file system for the tests of a full disk: a tmpfs of a few
// kilobytes mounted on a fresh folder while the test runs. Mounting needs the
// right to mount; where it is missing, `mounted()` is false and the test skips.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tessel::test {

class SmallFileSystem {
  public:
    explicit SmallFileSystem(std::size_t bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    // The name of the ballast file fill() writes.
    static constexpr const char* kBallast = ".ballast";

    bool mounted() const { return mounted_; }
    const std::filesystem::path& root() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }
    // Fills the free space with a ballast file so that the next write fails.
    void fill() const;
    // Frees the space fill() took.
    void drain() const;
    // Remounts the file system read-only: its files stay readable, nothing
    // can be created, changed, renamed or removed, whatever the permissions
    // (which root would ignore). False when the remount failed.
    bool makeReadOnly() const;
    // Names of the files in it, sorted, the ballast left out.
    std::string listing() const;

  private:
    std::filesystem::path path_;
    bool mounted_ = false;
};

}  // namespace tessel::test
