// Temporary files beside a file that is being rewritten, and the one-step
// replacement of the file by its rewritten copy.
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

// Puts `from` in the place of `to` in one step: at every moment a file of
// the name `to` exists, first the old one, then the new one. The new file
// gets the old one's permission bits. False (errno set) when it cannot be
// done; both files are then as they were.
bool replaceFile(const std::string& from, const std::string& to);

}  // namespace tessel::platform
