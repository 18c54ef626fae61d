#include "markup/source_encoding.h"

#include <cstring>

#include "frame/encoding_names.h"
#include "platform/format.h"
#include "platform/streams.h"
#include "resources/encoding_names.h"

namespace tessel::markup {

namespace res = tessel::resources;

namespace {

// The declarations are looked for in this much of the file's start.
constexpr std::size_t kHeadSize = 65536;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Position of `word` (lower case) in `text` from `from`, case ignored.
std::size_t findIgnoringCase(std::string_view text, std::string_view word, std::size_t from) {
    for (std::size_t at = from; at + word.size() <= text.size(); ++at) {
        std::size_t i = 0;
        while (i < word.size() && lowerAscii(text[at + i]) == word[i]) ++i;
        if (i == word.size()) return at;
    }
    return std::string_view::npos;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == ':';
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && isBlank(text[at])) ++at;
    return at;
}

// The value after `key` in `tag` ("charset" = "utf-8", quotes optional);
// empty when no "=" and name follow it.
std::string valueAfter(std::string_view tag, std::string_view key) {
    for (std::size_t at = findIgnoringCase(tag, key, 0); at != std::string_view::npos;
         at = findIgnoringCase(tag, key, at + 1)) {
        std::size_t pos = skipBlanks(tag, at + key.size());
        if (pos >= tag.size() || tag[pos] != '=') continue;
        pos = skipBlanks(tag, pos + 1);
        if (pos < tag.size() && (tag[pos] == '"' || tag[pos] == '\'')) ++pos;
        std::size_t end = pos;
        while (end < tag.size() && isNameByte(tag[end])) ++end;
        if (end > pos) return std::string(tag.substr(pos, end - pos));
    }
    return {};
}

std::string xmlDeclarationEncoding(std::string_view text) {
    std::size_t start = skipBlanks(text, 0);
    if (findIgnoringCase(text.substr(start, 5), "<?xml", 0) != 0) return {};
    std::size_t end = text.find("?>", start);
    return valueAfter(text.substr(start, end == std::string_view::npos ? end : end - start),
                      "encoding");
}

std::string metaCharset(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t open = text.find('<', at);
        if (open == std::string_view::npos) break;
        if (text.compare(open, 4, "<!--") == 0) {
            std::size_t close = text.find("-->", open + 4);
            if (close == std::string_view::npos) break;
            at = close + 3;
            continue;
        }
        std::size_t end = text.find('>', open);
        if (end == std::string_view::npos) break;
        std::string_view tag = text.substr(open, end - open);
        if (tag.size() > 5 && findIgnoringCase(tag.substr(0, 5), "<meta", 0) == 0 &&
            isBlank(tag[5])) {
            if (std::string name = valueAfter(tag, "charset"); !name.empty()) return name;
        }
        at = open + 1;
    }
    return {};
}

SourceEncoding fromCodePage(int codePage, EncodingOrigin origin) {
    SourceEncoding encoding;
    encoding.origin = origin;
    encoding.codePage = codePage;
    switch (codePage) {
        case 1252:
            encoding.form = SourceForm::Windows1252;
            break;
        case res::kUtf8EncodingPage:
            encoding.form = SourceForm::Utf8;
            break;
        case res::kUtf16LittleEndianPage:
            encoding.form = SourceForm::Utf16LittleEndian;
            break;
        case res::kUtf16BigEndianPage:
            encoding.form = SourceForm::Utf16BigEndian;
            break;
        default:
            encoding.form = SourceForm::CodePage;
            break;
    }
    return encoding;
}

}  // namespace

std::string sourceEncodingName(const SourceEncoding& encoding) {
    switch (encoding.form) {
        case SourceForm::Utf8:
            return std::string(res::kUtf8ReportName);
        case SourceForm::Utf16LittleEndian:
            return std::string(res::kUtf16LittleEndianReportName);
        case SourceForm::Utf16BigEndian:
            return std::string(res::kUtf16BigEndianReportName);
        case SourceForm::Windows1252:
        case SourceForm::CodePage:
            break;
    }
    return platform::fillPlaceholders(res::kCodePageReportName,
                                      {std::to_string(encoding.codePage)});
}

namespace {

std::string_view originName(EncodingOrigin origin) {
    switch (origin) {
        case EncodingOrigin::ByteOrderMark:
            return res::kByByteOrderMark;
        case EncodingOrigin::Declaration:
            return res::kByDeclaration;
        case EncodingOrigin::UserChoice:
            return res::kByUserChoice;
        case EncodingOrigin::Utf8Content:
            return res::kByUtf8Content;
        case EncodingOrigin::Default:
            break;
    }
    return res::kByDefault;
}

}  // namespace

std::string declaredEncodingName(std::string_view text) {
    if (std::string name = xmlDeclarationEncoding(text); !name.empty()) return name;
    return metaCharset(text);
}

SourceEncoding decideFromHead(std::string_view head, std::string_view userChoice) {
    if (head.starts_with(kUtf8Mark)) {
        SourceEncoding encoding =
            fromCodePage(res::kUtf8EncodingPage, EncodingOrigin::ByteOrderMark);
        encoding.byteOrderMark = kUtf8Mark.size();
        return encoding;
    }
    for (auto [mark, page] : {std::pair{kUtf16LittleEndianMark, res::kUtf16LittleEndianPage},
                              std::pair{kUtf16BigEndianMark, res::kUtf16BigEndianPage}}) {
        if (head.starts_with(mark)) {
            SourceEncoding encoding = fromCodePage(page, EncodingOrigin::ByteOrderMark);
            encoding.byteOrderMark = mark.size();
            return encoding;
        }
    }
    std::string unread;
    if (std::string name = declaredEncodingName(head); !name.empty()) {
        int page = frame::codePageOfEncodingName(name);
        // A declaration that could be read as ASCII is not UTF-16, whatever
        // it says: such a file is UTF-8 (as browsers read it too).
        if (page == res::kUtf16LittleEndianPage || page == res::kUtf16BigEndianPage) {
            page = res::kUtf8EncodingPage;
        }
        if (page != 0) return fromCodePage(page, EncodingOrigin::Declaration);
        unread = name;
    }
    SourceEncoding encoding;
    if (int page = frame::codePageOfEncodingName(userChoice); !userChoice.empty() && page != 0) {
        encoding = fromCodePage(page, EncodingOrigin::UserChoice);
    }
    encoding.unreadDeclaration = unread;
    return encoding;
}

int utf8SequenceLength(const unsigned char* bytes, std::size_t left) {
    const unsigned char lead = bytes[0];
    if (lead < 0x80) return 1;
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if (static_cast<std::size_t>(i) >= left) return -1;
        const unsigned char next = bytes[i];
        const unsigned char min = i == 1 ? low : 0x80;
        const unsigned char max = i == 1 ? high : 0xBF;
        if (next < min || next > max) return 0;
    }
    return length;
}

void Utf8Scan::feed(std::string_view piece) {
    if (!valid_) return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(piece.data());
    std::size_t at = 0;
    // A sequence cut at the end of the last piece is completed first.
    while (pendingSize_ > 0 && at < piece.size()) {
        // A cut sequence holds at most three bytes; no longer one is kept.
        if (pendingSize_ >= sizeof pending_) {
            valid_ = false;
            return;
        }
        pending_[pendingSize_++] = bytes[at++];
        int length = utf8SequenceLength(pending_, pendingSize_);
        if (length == 0) {
            valid_ = false;
            return;
        }
        if (length > 0) pendingSize_ = 0;
    }
    const std::size_t size = piece.size();
    while (at < size) {
        // ASCII thirty-two bytes at a time, then eight.
        if (size - at >= 32) {
            std::uint64_t words[4];
            std::memcpy(words, bytes + at, sizeof words);
            if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ULL) == 0) {
                at += 32;
                continue;
            }
        }
        if (size - at >= 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + at, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                at += 8;
                continue;
            }
        }
        if (bytes[at] < 0x80) {
            ++at;
            continue;
        }
        int length = utf8SequenceLength(bytes + at, size - at);
        if (length == 0) {
            valid_ = false;
            return;
        }
        multiByte_ = true;
        if (length < 0) {
            pendingSize_ = size - at;
            std::memcpy(pending_, bytes + at, pendingSize_);
            return;
        }
        at += static_cast<std::size_t>(length);
    }
}

bool decideSourceEncoding(const std::string& path, std::string_view userChoice,
                          SourceEncoding& encoding) {
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Binary)) return false;
    std::string head(kHeadSize, '\0');
    head.resize(input.read(head.data(), head.size()));
    encoding = decideFromHead(head, userChoice);
    if (encoding.origin != EncodingOrigin::Default) return input.close();
    // Undeclared: UTF-8 when all of it is valid UTF-8 with a multi-byte
    // sequence. A file of Windows 1252 letters almost never is; the scan
    // ends at its first byte that is not.
    Utf8Scan scan;
    scan.feed(head);
    std::string piece(kHeadSize, '\0');
    while (!scan.failed()) {
        std::size_t got = input.read(piece.data(), piece.size());
        if (got == 0) break;
        scan.feed(std::string_view(piece.data(), got));
    }
    bool readWell = !input.failed();
    input.close();
    if (scan.valid() && scan.sawMultiByte()) {
        std::string unread = std::move(encoding.unreadDeclaration);
        encoding = fromCodePage(res::kUtf8EncodingPage, EncodingOrigin::Utf8Content);
        encoding.unreadDeclaration = std::move(unread);
    }
    return readWell;
}

std::string sourceEncodingReport(const SourceEncoding& encoding) {
    if (!encoding.unreadDeclaration.empty()) {
        return platform::fillPlaceholders(
            res::kUnreadDeclarationReport,
            {sourceEncodingName(encoding), encoding.unreadDeclaration});
    }
    if (encoding.asBefore()) return {};
    return platform::fillPlaceholders(
        res::kSourceEncodingReport,
        {sourceEncodingName(encoding), std::string(originName(encoding.origin))});
}

}  // namespace tessel::markup
