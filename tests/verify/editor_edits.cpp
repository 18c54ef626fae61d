#include "editor_edits.h"

#include <array>
#include <cstdio>
#include <stdexcept>

#include "platform/code_page_codec.h"

namespace tessel::test {

namespace {

struct Renumbering {
    std::string_view oldSheet;
    std::string_view newSheet;
    std::string_view oldOpen;
    std::string_view newOpen;
};

const std::array kRenumbering = {
    Renumbering{"{\\cs5 \\additive \\cf15\\f1\\lang1024 qz4lexExternal;}",
                "{\\*\\cs19\\snext19\\hich\\af6\\loch\\cf15\\f6\\lang1033 qz4lexExternal;}",
                "{\\cs5\\cf15\\f1\\lang1024 ",
                "{\\loch\\cs19\\hich\\af6\\loch\\cf15\\f6\\lang1033\\loch\n"},
    Renumbering{"{\\cs6 \\additive \\cf6\\f1\\lang1024 qz4lexInternal;}",
                "{\\*\\cs20\\snext20\\hich\\af6\\loch\\cf6\\f6\\lang1033 qz4lexInternal;}",
                "{\\cs6\\cf6\\f1\\lang1024 ",
                "{\\loch\\cs20\\hich\\af6\\loch\\cf6\\f6\\lang1033\\loch\n"},
    Renumbering{"{\\cs8 \\additive \\cf13\\f1\\lang1024 DO_NOT_TRANSLATE;}",
                "{\\*\\cs22\\snext22\\hich\\af6\\loch\\cf13\\f6\\lang1033 DO_NOT_TRANSLATE;}",
                "{\\cs8\\cf13\\f1\\lang1024 ",
                "{\\loch\\cs22\\hich\\af6\\loch\\cf13\\f6\\lang1033\\loch\n"},
};
// The grammar-driven converters declare style 8 in colour 5.
constexpr std::string_view kConverterDoNotTranslate =
    "{\\cs8 \\additive \\cf5\\f1\\lang1024 DO_NOT_TRANSLATE;}";
// The styles that take the numbers 5 to 9 after the renumbering.
constexpr std::string_view kDefaultParagraphFont = "{\\cs9 \\additive Default Paragraph Font;}";

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Offset just past the style sheet: the body follows.
std::size_t bodyStart(std::string_view rtf) {
    std::size_t sheet = rtf.find("{\\stylesheet");
    if (sheet == std::string_view::npos) return 0;
    int depth = 0;
    for (std::size_t i = sheet; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
        } else if (rtf[i] == '{') {
            ++depth;
        } else if (rtf[i] == '}' && --depth == 0) {
            return i + 1;
        }
    }
    return rtf.size();
}

}  // namespace

std::string renumberStyles(std::string_view rtf) {
    std::string text(rtf);
    text = replaceAll(text, kConverterDoNotTranslate, kRenumbering[2].oldSheet);
    // Another style now holds the old numbers, as in LibreOffice's sheet.
    text = replaceAll(text, kDefaultParagraphFont,
                      "{\\*\\cs5\\snext5 Default Paragraph Font;}{\\*\\cs6 Emphasis;}"
                      "{\\*\\cs8 Strong;}");
    for (const Renumbering& r : kRenumbering) {
        text = replaceAll(text, r.oldSheet, r.newSheet);
        text = replaceAll(text, r.oldOpen, r.newOpen);
    }
    return text;
}

std::string splitRuns(std::string_view rtf) {
    std::string text(rtf);
    for (const Renumbering& r : kRenumbering) {
        for (std::size_t at = text.find(r.newOpen, bodyStart(text)); at != std::string::npos;
             at = text.find(r.newOpen, at + 1)) {
            std::size_t start = at + r.newOpen.size();
            std::size_t end = text.find('}', start);
            if (end == std::string::npos) break;
            std::string_view run = std::string_view(text).substr(start, end - start);
            if (run.size() < 2 || run.find_first_of("\\{") != std::string_view::npos) continue;
            std::size_t middle = start + run.size() / 2;
            text.insert(middle, "}" + std::string(r.newOpen));
            at = middle + 1;  // the second half stays whole
        }
    }
    return text;
}

std::string mergeRuns(std::string_view rtf) {
    std::string text(rtf);
    for (const Renumbering& r : kRenumbering) {
        std::string joint = "}" + std::string(r.newOpen);
        for (std::size_t at = text.find(joint); at != std::string::npos;
             at = text.find(joint, at)) {
            // Only when the group it closes opened with the same style.
            std::size_t opened = text.rfind("{\\loch\\cs", at);
            if (opened != std::string::npos &&
                text.compare(opened, r.newOpen.size(), r.newOpen) == 0) {
                text.erase(at, joint.size());
            } else {
                ++at;
            }
        }
    }
    return text;
}

std::string unicodeEscapes(std::string_view rtf) {
    std::size_t body = bodyStart(rtf);
    std::string text(rtf.substr(0, body));
    for (std::size_t i = body; i < rtf.size(); ++i) {
        auto byte = static_cast<unsigned char>(rtf[i]);
        if (rtf[i] == '\\' && i + 1 < rtf.size()) {
            text += rtf[i];
            text += rtf[++i];
            continue;
        }
        if (byte < 0x80) {
            text += rtf[i];
            continue;
        }
        char32_t c = platform::CodePageCodec::windows1252().decode(byte);
        char escape[32];
        std::snprintf(escape, sizeof escape, "\\u%u\\'%02x", static_cast<unsigned>(c), byte);
        text += escape;
    }
    return text;
}

std::string asEditorSaves(std::string_view rtf) {
    return unicodeEscapes(splitRuns(renumberStyles(rtf)));
}

std::string replaceOnce(std::string text, std::string_view from, std::string_view to) {
    std::size_t at = text.find(from);
    if (at == std::string::npos) throw std::runtime_error("not found: " + std::string(from));
    return text.replace(at, from.size(), to);
}

}  // namespace tessel::test
