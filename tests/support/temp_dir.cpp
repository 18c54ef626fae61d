#include "support/temp_dir.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "support/portable.h"

namespace tessel::test {

namespace fs = std::filesystem;

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
    fs::remove_all(path_, ignored);
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
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool exists(const std::string& path) {
    return fs::exists(path);
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
