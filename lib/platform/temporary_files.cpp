#include "platform/temporary_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/fault_seam.h"

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
    if (faultStrikes(FileOperation::Open, path)) return false;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) return false;
    return ::close(fd) == 0;
}

}  // namespace tessel::platform
