// Marked-up examples and corpus files in a scratch folder, and the check's
// lines without the folder's name.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/translation_checks.h"
#include "support/temp_dir.h"

namespace tessel::test {

inline const std::filesystem::path kExamples =
    std::filesystem::path(TESSEL_SOURCE_DIR) / "examples";
inline const std::filesystem::path kCorpus = TESSEL_CORPUS_DIR;
inline const std::filesystem::path kFrameData =
    std::filesystem::path(TESSEL_SOURCE_DIR) / "tests/frame/data";

// Copies `source` into `dir` as NAME and marks it up (HTML or PageMaker by
// `pageMaker`); the RTF's path, or empty when none was written.
std::string markUp(const TempDir& dir, const std::filesystem::path& source, bool pageMaker,
                   const std::string& name);

// Copies `source` into `dir` as NAME and marks it up as `format` (a name of
// `tessel roundtrip --format`), with `tagFile` where the format takes one;
// the RTF's path, or empty when none was written.
std::string markUpAs(const TempDir& dir, const std::filesystem::path& source,
                     std::string_view format, const std::string& name,
                     const std::string& tagFile = {});

// `line` without FOLDER and the separator after it ("/", or "\\" as Windows
// joins names) at its start.
void dropFolderPrefix(std::string& line, const std::filesystem::path& folder);

// The report's lines with "DIR/" taken out.
std::vector<std::string> verifyLines(const TempDir& dir, const std::string& original,
                                     const std::string& translated,
                                     const verify::VerifyOptions& options = {});

// The lines of the findings only (no summary).
std::vector<std::string> findingLines(const TempDir& dir, const std::string& original,
                                      const std::string& translated,
                                      const verify::VerifyOptions& options = {});

}  // namespace tessel::test
