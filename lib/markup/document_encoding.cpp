#include "markup/document_encoding.h"

#include <array>
#include <optional>

#include "frame/encoding_names.h"
#include "frame/return_codes.h"
#include "markup/source_encoding.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/streams.h"
#include "platform/utf16.h"
#include "resources/encoding_names.h"

namespace tessel::markup {

namespace res = tessel::resources;

namespace {

// The mark-up writes the mark's run and the declarations near the start.
constexpr std::size_t kHeadSize = 65536;

// The run's "\uN" in both spellings of N that writers use.
constexpr std::array<std::string_view, 2> kUtf8Mark = {"\\u-257", "\\u65279"};
constexpr std::array<std::string_view, 2> kKeptFF = {"\\u-3841", "\\u61695"};
constexpr std::array<std::string_view, 2> kKeptFE = {"\\u-3842", "\\u61694"};
// Room for a fallback between the two units of a UTF-16 mark.
constexpr std::size_t kUnitGap = 8;

// Position just past the first of `words` in `text` that is not followed by
// a digit (so "\u-2570" is not "\u-257"), or npos.
std::size_t findWord(std::string_view text, const std::array<std::string_view, 2>& words,
                     std::size_t from = 0, std::size_t until = std::string_view::npos) {
    std::size_t best = std::string_view::npos;
    for (std::string_view word : words) {
        for (std::size_t at = text.find(word, from); at != std::string_view::npos && at < until;
             at = text.find(word, at + 1)) {
            std::size_t end = at + word.size();
            if (end < text.size() && text[end] >= '0' && text[end] <= '9') continue;
            if (best == std::string_view::npos || end < best) best = end;
            break;
        }
    }
    return best;
}

bool pairFollows(std::string_view text, const std::array<std::string_view, 2>& first,
                 const std::array<std::string_view, 2>& second) {
    std::size_t end = findWord(text, first);
    if (end == std::string_view::npos) return false;
    return findWord(text, second, end, end + kUnitGap) != std::string_view::npos;
}

ByteOrderMark markOf(std::string_view text) {
    if (pairFollows(text, kKeptFF, kKeptFE)) return ByteOrderMark::Utf16LittleEndian;
    if (pairFollows(text, kKeptFE, kKeptFF)) return ByteOrderMark::Utf16BigEndian;
    if (findWord(text, kUtf8Mark) != std::string_view::npos) return ByteOrderMark::Utf8;
    return ByteOrderMark::None;
}

std::string withoutLineEnds(std::string_view text) {
    std::string joined;
    joined.reserve(text.size());
    for (char c : text) {
        if (c != '\r' && c != '\n') joined += c;
    }
    return joined;
}

}  // namespace

DocumentEncoding documentEncodingOfRtf(std::string_view rtf) {
    const std::string text = withoutLineEnds(rtf.substr(0, kHeadSize));
    DocumentEncoding document;
    document.mark = markOf(text);
    // In the RTF the XML declaration stands after the header, in its run.
    std::size_t xml = text.find("<?xml");
    std::string_view declarations = text;
    if (xml != std::string::npos) declarations.remove_prefix(xml);
    if (std::string name = declaredEncodingName(declarations); !name.empty()) {
        document.codePage = frame::codePageOfEncodingName(name);
    }
    return document;
}

DocumentEncoding documentEncodingOfRtfFile(const std::string& path) {
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Binary)) return {};
    std::string head(kHeadSize, '\0');
    head.resize(input.read(head.data(), head.size()));
    input.close();
    return documentEncodingOfRtf(head);
}

int backConversionCodePage(const DocumentEncoding& document, unsigned chosenCodePage) {
    switch (document.mark) {
        case ByteOrderMark::Utf8:
        case ByteOrderMark::Utf16LittleEndian:
        case ByteOrderMark::Utf16BigEndian:
            // UTF-16 is written as UTF-8 first and rewritten at the end.
            return res::kUtf8EncodingPage;
        case ByteOrderMark::None:
            break;
    }
    int page = document.codePage;
    if (page == res::kUtf16LittleEndianPage || page == res::kUtf16BigEndianPage) {
        page = res::kUtf8EncodingPage;  // a declaration read as ASCII is not UTF-16
    }
    if (page == 0) page = static_cast<int>(chosenCodePage);
    return page == 1252 ? 0 : page;
}

std::string chosenCodePageReport(const DocumentEncoding& document, unsigned chosenCodePage) {
    if (chosenCodePage == 0) return {};
    std::string written;
    switch (document.mark) {
        case ByteOrderMark::Utf8:
            written = res::kUtf8ReportName;
            break;
        case ByteOrderMark::Utf16LittleEndian:
            written = res::kUtf16LittleEndianReportName;
            break;
        case ByteOrderMark::Utf16BigEndian:
            written = res::kUtf16BigEndianReportName;
            break;
        case ByteOrderMark::None:
            break;
    }
    if (written.empty()) {
        if (document.codePage == 0) return {};
        const int page = backConversionCodePage(document, 0);
        if (page == 0 ? chosenCodePage == 1252 : static_cast<unsigned>(page) == chosenCodePage) {
            return {};
        }
        written = page == res::kUtf8EncodingPage
                      ? std::string(res::kUtf8ReportName)
                      : platform::fillPlaceholders(res::kCodePageReportName,
                                                   {std::to_string(page == 0 ? 1252 : page)});
    } else if (chosenCodePage == static_cast<unsigned>(res::kUtf8EncodingPage) &&
               document.mark == ByteOrderMark::Utf8) {
        return {};
    }
    return platform::fillPlaceholders(res::kChosenCodePageNotUsedReport,
                                      {written, std::to_string(chosenCodePage)});
}

namespace {

// The UTF-8 file at `path` rewritten through `convert`, beside itself and
// replaced in one step; left as it is when `convert` gives nothing.
template <typename Convert>
int rewriteFile(const std::string& path, Convert convert) {
    std::string text;
    {
        platform::InputStream input;
        if (!input.open(path, platform::StreamMode::Binary)) return frame::kCannotOpenInput;
        char buffer[platform::kStreamBufferSize];
        for (std::size_t got; (got = input.read(buffer, sizeof buffer)) > 0;) {
            text.append(buffer, got);
        }
        if (input.failed() || !input.close()) return frame::kCannotOpenInput;
    }
    std::optional<std::string> bytes = convert(text);
    if (!bytes) return 0;
    std::string beside = platform::createUniqueFileBeside(path);
    if (beside.empty()) return frame::kCannotOpenOutput;
    platform::OutputStream output;
    bool written = output.open(beside, platform::StreamMode::Binary);
    if (written) {
        output.write(*bytes);
        written = output.close() && output.wroteCompletely(beside);
    }
    if (!written || !platform::replaceFile(beside, path)) {
        platform::removeIfPresent(beside);
        return frame::kCannotOpenOutput;
    }
    return 0;
}

}  // namespace

int rewriteAsUtf16(const std::string& path) {
    return rewriteFile(path, [](const std::string& text) -> std::optional<std::string> {
        const bool bigEndian = text.starts_with("\xFE\xFF");
        if (!bigEndian && !text.starts_with("\xFF\xFE")) return std::nullopt;  // left as UTF-8
        return text.substr(0, 2) +
               platform::utf16OfUtf8(std::string_view(text).substr(2), bigEndian);
    });
}

int rewriteAsUnmarkedUtf16(const std::string& path) {
    return rewriteFile(path, [](const std::string& text) -> std::optional<std::string> {
        return platform::utf16OfUtf8(text, false);
    });
}

}  // namespace tessel::markup
