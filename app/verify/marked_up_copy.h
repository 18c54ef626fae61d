// A source file marked up in a scratch folder of its own: the source is
// copied there (with the tag file in a folder of its own, so no job can
// write to the user's files or take one for its own), the format's mark-up
// runs on the copy, and the folder goes with everything in it when the
// object does. The round trip and the XLIFF jobs start from it.
#pragma once

#include <filesystem>
#include <string>

#include "verify/roundtrip.h"

namespace tessel::verify {

// A scratch folder, removed with everything in it.
class ScratchFolder {
  public:
    explicit ScratchFolder(std::string_view prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // Empty when no folder could be made.
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

class MarkedUpCopy {
  public:
    // `tagFile`: the user's tag file for a format that takes one, or empty
    // (a format that needs one collects it from the source).
    MarkedUpCopy(const std::string& source, const RoundTripFormat& format,
                 const std::string& tagFile, std::string_view scratchPrefix);

    // The mark-up's return code (-101 when the source or the tag file could
    // not be copied).
    int result() const { return result_; }
    // The RTF the mark-up wrote; empty when it wrote none.
    const std::filesystem::path& rtf() const { return rtf_; }
    // The mark-up's log, where it wrote one; empty otherwise.
    std::filesystem::path log() const;
    // When no RTF was written: the first message of the log, or what failed.
    const std::string& failureMessage() const { return failure_; }
    const std::filesystem::path& folder() const { return scratch_.path(); }
    // The source's file name, its stem and its extension as copied.
    const std::filesystem::path& copy() const { return copy_; }

  private:
    bool collectTags(const std::filesystem::path& tags);

    ScratchFolder scratch_;
    std::filesystem::path copy_;
    std::filesystem::path rtf_;
    std::string stem_;
    std::string failure_;
    int result_ = -101;
};

// The file in `folder` named `stem` with extension `extension` (lower case,
// with the dot) in any case; empty when there is none.
std::filesystem::path findCaseless(const std::filesystem::path& folder, const std::string& stem,
                                   std::string_view extension);

// The first numbered message ("[1] ...") of the log STEM.err or STEM.ERR in
// `folder`, without its number, and with the quoted text of the next line
// when it ends in ":"; empty when there is none.
std::string firstLogMessage(const std::filesystem::path& folder, const std::string& stem);

bool readWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace tessel::verify
