#include "dtp/page_maker_to_rtf.h"

#include <array>
#include <cstring>

#include "dtp/page_maker_parser.h"
#include "frame/job_names.h"
#include "frame/return_codes.h"
#include "frame/text_read_write_parser.h"
#include "parser/ss_exception.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/streams.h"
#include "resources/markup_framework_texts.h"
#include "resources/page_maker_texts.h"

namespace tessel::dtp {

namespace {

constexpr std::size_t kHeaderLineLimit = 4095;

std::string firstLine(const std::string& path) {
    platform::InputStream input;
    std::string line;
    if (!input.open(path, platform::StreamMode::Text)) return line;
    while (line.size() < kHeaderLineLimit) {
        int c = input.get();
        if (c < 0 || c == '\n' || c == '\r') break;
        line += static_cast<char>(c);
    }
    return line;
}

// Removes the working copy when the job leaves, whichever way it leaves.
class WorkingCopy {
  public:
    WorkingCopy(std::string name, bool remove) : name_(std::move(name)), remove_(remove) {}
    ~WorkingCopy() {
        if (remove_) platform::removeFile(name_);
    }
    WorkingCopy(const WorkingCopy&) = delete;
    WorkingCopy& operator=(const WorkingCopy&) = delete;

  private:
    std::string name_;
    bool remove_;
};

}  // namespace

bool isMacintoshPageMaker(const std::string& path) {
    std::string line = firstLine(path);
    if (line.compare(0, resources::kPageMakerHeaderStart.size(),
                     resources::kPageMakerHeaderStart) != 0) {
        return false;
    }
    std::size_t close = line.find('>');
    constexpr std::size_t word = resources::kPageMakerMacintoshWord.size();
    if (close == std::string::npos || close < word) return false;
    return platform::sameNameIgnoringCase(std::string_view(line).substr(close - word, word),
                                          resources::kPageMakerMacintoshWord);
}

int pageMakerToRtf(const std::string& path) {
    if (!frame::fitsPathBuffer(path) || !platform::isRegularFile(path)) {
        return frame::kCannotOpenInput;
    }
    // The converter's log would otherwise truncate an input named like it.
    if (platform::sameNameIgnoringCase(
            path, platform::withExtension(path, resources::kConverterLogExtension))) {
        return frame::kSameInputAndOutput;
    }
    bool macintosh = isMacintoshPageMaker(path);

    std::string workingName = platform::withExtension(path, resources::kWorkingCopyExtension);
    bool workingNameTaken = platform::outputExists(workingName);
    std::array<char, platform::kMaxPath + 1> buffer{};
    std::memcpy(buffer.data(), path.c_str(), path.size() + 1);
    int copied = frame::runTextReadWriteParser(buffer.data(), frame::kLineBreaksToPc, false,
                                               resources::kWorkingCopyExtension.data());
    std::string workingCopy = buffer.data();
    // Only a copy this call made is removed; a file that had the name stays.
    bool ownCopy = !workingNameTaken && !platform::sameNameIgnoringCase(workingCopy, path);
    WorkingCopy cleanup(workingCopy, ownCopy);
    if (copied < 0) return copied;

    std::unique_ptr<CPageMakerParser> parser;
    try {
        parser = std::make_unique<CPageMakerParser>(workingCopy);
    } catch (const parser::SSException&) {
        return CMarkupParser::kParseCutShort;
    }
    parser->pageMakerList().macintosh = macintosh;
    parser->setLoggedSourceName(path);
    return parser->runWithLog("");
}

}  // namespace tessel::dtp
