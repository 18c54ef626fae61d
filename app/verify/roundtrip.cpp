#include "verify/roundtrip.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/path_names.h"
#include "tessel_cat.h"
#include "verify/marked_up_copy.h"
#include "verify/text_encoding.h"

namespace tessel::verify {

namespace {

namespace fs = std::filesystem;
using R = RoundTripRule;

int markUpHtml(const char* path, const char* tagFile) {
    return f_iHTML2RTF(path, tagFile);
}
int markUpSgml(const char* path, const char* tagFile) {
    return f_iSGML2RTF(path, tagFile);
}
int markUpPageMaker(const char* path, const char*) {
    return f_iPageMaker2RTF(path);
}
int markUpQuark(const char* path, const char*) {
    return f_iXPress2RTF(path);
}
int markUpVentura4(const char* path, const char*) {
    return f_iVentura4toRTF(path);
}
int markUpVentura(const char* path, const char*) {
    return f_iVentura567toRTF(path);
}

bool isPageMakerHeader(std::string_view head) {
    return head.starts_with("<PMTags");
}

bool startsWithDigits(std::string_view text, std::size_t& at) {
    std::size_t begin = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
    return at > begin;
}

// "<v1.70>" or "<v11.10>", on the first line or after an index line "#...".
bool isQuarkHeader(std::string_view head) {
    if (head.starts_with("#")) {
        std::size_t next = head.find_first_not_of("\r\n", head.find_first_of("\r\n"));
        head = next == std::string_view::npos ? std::string_view{} : head.substr(next);
    }
    std::size_t at = 2;
    return head.starts_with("<v") && startsWithDigits(head, at) && at < head.size() &&
           head[at++] == '.' && startsWithDigits(head, at) && at < head.size() && head[at] == '>';
}

// A first line that begins with a paragraph tag ("@BODY TEXT = "). Versions
// 4 and 5 to 7 write the same tags, so this recognises the later versions;
// version 4 is chosen with --format.
bool isVenturaHeader(std::string_view head) {
    if (!head.starts_with("@")) return false;
    std::string_view line = head.substr(0, head.find_first_of("\r\n"));
    std::size_t equals = line.find(" = ");
    return equals != std::string_view::npos && line.find('<') > equals;
}

bool noHeader(std::string_view) {
    return false;
}

constexpr std::string_view kHtmlExtensions[] = {".htm", ".html", ".asp", ".shtml", ".php"};
constexpr std::string_view kPageMakerExtensions[] = {".pm6", ".pmt"};
constexpr std::string_view kQuarkExtensions[] = {".xtg"};
constexpr std::string_view kSgmlExtensions[] = {".sgml", ".sgm"};
// Ventura's tagged text is ".txt", which plain text shares: by header only.
constexpr std::span<const std::string_view> kNoExtensions;

// HTML: the lines of a paragraph are joined with blanks, trailing blanks go,
// entities come back in the back-conversion's form, and the mark-up starts
// a paragraph at an external tag.
constexpr RoundTripRule kHtmlRules[] = {R::LineEnds,     R::FinalLineEnd, R::TrailingBlanks,
                                        R::HtmlEntities, R::JoinedLines,  R::LineBreakBeforeTag};
// PageMaker: internal tags lose their line ends; a Macintosh character that
// Windows lacks is written as its literal character tag.
constexpr RoundTripRule kPageMakerRules[] = {R::LineEnds, R::FinalLineEnd, R::JoinedTagLines,
                                             R::MacintoshLiterals};
// QuarkXPress: the working copy gets a final line end; "<$>" after 254
// characters is dropped; Macintosh characters as for PageMaker.
constexpr RoundTripRule kQuarkRules[] = {R::LineEnds, R::FinalLineEnd, R::DroppedStyleReset,
                                         R::MacintoshLiterals};
// Ventura 4: single line breaks in running text become blanks.
constexpr RoundTripRule kVentura4Rules[] = {R::LineEnds, R::FinalLineEnd, R::JoinedLines};
// Ventura 5 to 7: the text back-conversion leaves empty paragraphs out.
constexpr RoundTripRule kVenturaRules[] = {R::LineEnds, R::FinalLineEnd, R::EmptyLines};
// SGML: lines joined as in HTML (only at line starts: no break is put
// before a tag), trailing blanks dropped, characters from 0x80 up written
// as named entities.
constexpr RoundTripRule kSgmlRules[] = {R::LineEnds, R::FinalLineEnd, R::TrailingBlanks,
                                        R::HtmlEntities, R::JoinedLines};

// One row per format that marks up. A new format is one row: its name, its
// extensions and header test, its mark-up and back-conversion exports, the
// rules its round trip follows and its use of a tag file. Versions 4 and 5
// to 7 of Ventura cannot be told apart: the later ones come first.
constexpr std::array kFormats = {
    RoundTripFormat{"html", kHtmlExtensions, noHeader, markUpHtml, f_iRTF2HTML, kHtmlRules,
                    TagFileUse::Optional},
    RoundTripFormat{"pagemaker", kPageMakerExtensions, isPageMakerHeader, markUpPageMaker,
                    f_iRTF2PageMaker, kPageMakerRules},
    RoundTripFormat{"quark", kQuarkExtensions, isQuarkHeader, markUpQuark, f_iRTF2XPress,
                    kQuarkRules},
    RoundTripFormat{"ventura", kNoExtensions, isVenturaHeader, markUpVentura, f_iRTF2Text,
                    kVenturaRules},
    RoundTripFormat{"ventura4", kNoExtensions, noHeader, markUpVentura4, f_iVentura4RTF2Text,
                    kVentura4Rules},
    RoundTripFormat{"sgml", kSgmlExtensions, noHeader, markUpSgml, f_iRTF2SGML, kSgmlRules,
                    TagFileUse::Collected},
};

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return text;
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
    std::string extension = lowerCase(platform::nameOf(fs::path(path).extension()));
    for (const RoundTripFormat& format : kFormats) {
        for (std::string_view known : format.extensions) {
            if (known == extension) return &format;
        }
    }
    return nullptr;
}

RoundTripResult roundTrip(const std::string& path, const RoundTripFormat& format,
                          const std::string& tagFile) {
    RoundTripResult result;
    result.file = path;
    result.format = &format;
    result.failed = true;
    std::string source;
    if (!readWholeFile(path, source)) {
        result.markUpResult = -101;  // the source cannot be read
        return result;
    }
    MarkedUpCopy marked(path, format, tagFile, "tessel-roundtrip-");
    result.markUpResult = marked.result();
    if (marked.rtf().empty()) {
        result.failureMessage = marked.failureMessage();
        return result;
    }
    std::string stem = platform::nameOf(marked.copy().stem());
    std::string extension = platform::nameOf(marked.copy().extension());
    if (extension.empty() || lowerCase(extension) == ".rtf") extension = ".txt";
    std::error_code error;
    fs::path back = marked.folder() / "back";
    fs::create_directory(back, error);
    fs::path backRtf = back / (stem + ".rtf");
    fs::copy_file(marked.rtf(), backRtf, error);
    if (error) return result;
    result.backResult = format.convertBack(platform::nameOf(backRtf).c_str(), extension.c_str());
    std::string output;
    if (!readWholeFile(back / (stem + extension), output)) {
        result.failureMessage = firstLogMessage(back, stem);
        return result;
    }
    result.failed = false;
    result.identical = source == output;
    if (!result.identical) {
        // UTF-16 sides are compared in UTF-8, where the rules read them.
        result.differences =
            compareRoundTrip(comparableText(source), comparableText(output), format.rules);
        for (Difference& difference : result.differences) difference.file = path;
    }
    return result;
}

}  // namespace tessel::verify
