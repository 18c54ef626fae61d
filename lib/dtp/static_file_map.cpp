#include "dtp/static_file_map.h"

#include <unordered_map>
#include <vector>

namespace tessel::dtp {

namespace {

// Numbers are given out from 1 without gaps, so a name is found by its
// number directly: every piece's validity check asks for one.
struct FileMap {
    std::unordered_map<std::string, std::int32_t> numbers;
    std::vector<std::string> names;  // number - 1 -> name
};

// Lives for the whole process; jobs run one at a time.
FileMap& fileMap() {
    static FileMap map;
    return map;
}

const std::string* nameOf(std::int32_t number) {
    const FileMap& map = fileMap();
    if (number < 1 || static_cast<std::size_t>(number) > map.names.size()) return nullptr;
    return &map.names[static_cast<std::size_t>(number) - 1];
}

}  // namespace

std::int32_t registerSourceFile(const std::string& name) {
    FileMap& map = fileMap();
    auto found = map.numbers.find(name);
    if (found != map.numbers.end()) return found->second;
    auto number = static_cast<std::int32_t>(map.names.size() + 1);
    map.numbers.emplace(name, number);
    map.names.push_back(name);
    return number;
}

std::string sourceFileName(std::int32_t number) {
    const std::string* name = nameOf(number);
    return name == nullptr ? std::string() : *name;
}

bool namesSourceFile(std::int32_t number) {
    const std::string* name = nameOf(number);
    return name != nullptr && !name->empty();
}

}  // namespace tessel::dtp
