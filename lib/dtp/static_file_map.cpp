#include "dtp/static_file_map.h"

#include <unordered_map>

namespace tessel::dtp {

namespace {

struct FileMap {
    std::unordered_map<std::string, std::int32_t> numbers;
    std::unordered_map<std::int32_t, std::string> names;
};

// Lives for the whole process; jobs run one at a time.
FileMap& fileMap() {
    static FileMap map;
    return map;
}

}  // namespace

std::int32_t registerSourceFile(const std::string& name) {
    FileMap& map = fileMap();
    auto found = map.numbers.find(name);
    if (found != map.numbers.end()) return found->second;
    auto number = static_cast<std::int32_t>(map.numbers.size() + 1);
    map.numbers.emplace(name, number);
    map.names.emplace(number, name);
    return number;
}

std::string sourceFileName(std::int32_t number) {
    const FileMap& map = fileMap();
    auto found = map.names.find(number);
    return found == map.names.end() ? std::string() : found->second;
}

bool namesSourceFile(std::int32_t number) {
    const FileMap& map = fileMap();
    auto found = map.names.find(number);
    return found != map.names.end() && !found->second.empty();
}

}  // namespace tessel::dtp
