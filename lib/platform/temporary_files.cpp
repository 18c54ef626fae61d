#include "platform/temporary_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace tessel::platform {

std::string temporaryName(std::string_view folder, std::string_view prefix, unsigned number,
                          std::string_view extension) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%X", number);
    std::string name(folder);
    name += prefix;
    name += digits;
    name += extension;
    return name;
}

bool createNewFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) return false;
    return ::close(fd) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
    struct stat old {};
    if (::stat(to.c_str(), &old) == 0) ::chmod(from.c_str(), old.st_mode & 07777);
    return ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace tessel::platform
