// Temporary files beside a file that is being rewritten (replaceFile in
// platform/files.h then puts the rewritten copy in its place).
#pragma once

#include <string>
#include <string_view>

namespace tessel::platform {

// `folder` + `prefix` + `number` in upper-case hexadecimal + `extension`
// ("dir/~C1F.TMP").
std::string temporaryName(std::string_view folder, std::string_view prefix, unsigned number,
                          std::string_view extension);

// Creates `path` as a new, empty file; false when a file of that name exists
// or the file cannot be created. The name is then reserved for the caller.
bool createNewFile(const std::string& path);

// Creates a new, empty folder with a unique name beginning with `prefix` in
// the system's temporary folder; empty when none could be created.
std::string createScratchFolder(std::string_view prefix);

}  // namespace tessel::platform
