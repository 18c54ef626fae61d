// Names of a job's files: output and log next to the input, the checks made
// before anything is opened, and the backup name of an in-place conversion.
#pragma once

#include <string>

namespace tessel::frame {

inline constexpr const char* kLogExtension = "ERR";

// 0 when the job may write `output`; -904 when it names the input (ignoring
// case); `existsCode` (-115, or -1401 for HTML to RTF) when a file of that
// name exists whatever the case of its extension. The log must not name the
// input either: the job would truncate its own input.
int checkOutputNames(const std::string& input, const std::string& output, const std::string& log,
                     int existsCode);

// True when the path fits the library's 260-byte name buffers.
bool fitsPathBuffer(const std::string& path);

// Renames `input` to its first free backup name: ".OLD", then ".001" to
// ".999". Returns 0 and the name, -102 when every name is taken, -106 when
// the rename fails otherwise.
int renameToBackup(const std::string& input, std::string& backup);

}  // namespace tessel::frame
