#include "verify/roundtrip.h"

#include <stdlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "tessel_cat.h"

namespace tessel::verify {

namespace {

namespace fs = std::filesystem;
using R = RoundTripRule;

int markUpHtml(const char* path) {
    return f_iHTML2RTF(path, nullptr);
}

bool isPageMakerHeader(std::string_view head) {
    return head.starts_with("<PMTags");
}
bool noHeader(std::string_view) {
    return false;
}

constexpr std::string_view kHtmlExtensions[] = {".htm", ".html", ".asp", ".shtml", ".php"};
constexpr std::string_view kPageMakerExtensions[] = {".pm6", ".pmt"};

// HTML: the lines of a paragraph are joined with blanks, trailing blanks go,
// entities come back in the back-conversion's form, and the mark-up starts
// a paragraph at an external tag.
constexpr RoundTripRule kHtmlRules[] = {R::LineEnds,     R::FinalLineEnd, R::TrailingBlanks,
                                        R::HtmlEntities, R::JoinedLines,  R::LineBreakBeforeTag};
// PageMaker: internal tags lose their line ends; a Macintosh character that
// Windows lacks is written as its literal character tag.
constexpr RoundTripRule kPageMakerRules[] = {R::LineEnds, R::FinalLineEnd, R::JoinedTagLines,
                                             R::MacintoshLiterals};

// One row per format that marks up. A new format is one row: its name, its
// extensions and header test, its mark-up and back-conversion exports and
// the rules its round trip follows.
constexpr std::array kFormats = {
    RoundTripFormat{"html", kHtmlExtensions, noHeader, markUpHtml, f_iRTF2HTML, kHtmlRules},
    RoundTripFormat{"pagemaker", kPageMakerExtensions, isPageMakerHeader, f_iPageMaker2RTF,
                    f_iRTF2PageMaker, kPageMakerRules},
};

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return text;
}

bool readAll(const fs::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// A scratch folder, removed with everything in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code error;
        fs::path base = fs::temp_directory_path(error);
        if (error) base = "/tmp";
        std::string pattern = (base / "tessel-roundtrip-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code error;
        if (!path_.empty()) fs::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// The file in `folder` named `stem` with extension `extension` in any case.
fs::path findCaseless(const fs::path& folder, const std::string& stem, std::string_view extension) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const fs::path& name = entry.path();
        if (name.stem().string() == stem && lowerCase(name.extension().string()) == extension) {
            return name;
        }
    }
    return {};
}

}  // namespace

std::span<const RoundTripFormat> roundTripFormats() {
    return kFormats;
}

const RoundTripFormat* findRoundTripFormat(std::string_view name) {
    for (const RoundTripFormat& format : kFormats) {
        if (format.name == name) return &format;
    }
    return nullptr;
}

const RoundTripFormat* formatOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[64] = {};
    in.read(head, sizeof head);
    std::string_view start(head, static_cast<std::size_t>(in.gcount()));
    for (const RoundTripFormat& format : kFormats) {
        if (format.recognises(start)) return &format;
    }
    std::string extension = lowerCase(fs::path(path).extension().string());
    for (const RoundTripFormat& format : kFormats) {
        for (std::string_view known : format.extensions) {
            if (known == extension) return &format;
        }
    }
    return nullptr;
}

RoundTripResult roundTrip(const std::string& path, const RoundTripFormat& format) {
    RoundTripResult result;
    result.file = path;
    result.format = &format;
    result.failed = true;
    std::string source;
    if (!readAll(path, source)) {
        result.markUpResult = -101;  // the source cannot be read
        return result;
    }
    ScratchFolder scratch;
    if (scratch.path().empty()) return result;
    fs::path original = fs::path(path).filename();
    std::string stem = original.stem().string();
    std::string extension = original.extension().string();
    if (extension.empty() || lowerCase(extension) == ".rtf") extension = ".txt";
    fs::path copy = scratch.path() / original;
    std::error_code error;
    fs::copy_file(path, copy, error);
    if (error) {
        result.markUpResult = -101;
        return result;
    }
    result.markUpResult = format.markUp(copy.string().c_str());
    fs::path rtf = findCaseless(scratch.path(), stem, ".rtf");
    if (rtf.empty()) return result;
    fs::path back = scratch.path() / "back";
    fs::create_directory(back, error);
    fs::path backRtf = back / (stem + ".rtf");
    fs::copy_file(rtf, backRtf, error);
    if (error) return result;
    result.backResult = format.convertBack(backRtf.string().c_str(), extension.c_str());
    std::string output;
    if (!readAll(back / (stem + extension), output)) return result;
    result.failed = false;
    result.identical = source == output;
    if (!result.identical) {
        result.differences = compareRoundTrip(source, output, format.rules);
        for (Difference& difference : result.differences) difference.file = path;
    }
    return result;
}

}  // namespace tessel::verify
