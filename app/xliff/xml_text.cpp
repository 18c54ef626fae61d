#include "xliff/xml_text.h"

#include <cstdio>

#include "platform/utf8.h"

namespace tessel::xliff {

namespace {

void append(std::string& out, std::string_view text, bool attribute) {
    std::size_t plain = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        // Most bytes are plain: find the next one that may need a reference.
        at = text.find_first_of(
            attribute ? std::string_view("&<>\r\"\n\t") : std::string_view("&<>\r"), at);
        if (at == std::string_view::npos) break;
        std::string_view reference;
        switch (text[at]) {
            case '&':
                reference = "&amp;";
                break;
            case '<':
                reference = "&lt;";
                break;
            case '>':
                reference = "&gt;";
                break;
            case '\r':
                reference = "&#13;";
                break;
            case '"':
                reference = attribute ? "&quot;" : "";
                break;
            case '\n':
                reference = attribute ? "&#10;" : "";
                break;
            case '\t':
                reference = attribute ? "&#9;" : "";
                break;
            default:
                break;
        }
        if (reference.empty()) continue;
        out.append(text, plain, at - plain);
        out += reference;
        plain = at + 1;
    }
    out.append(text, plain, text.size() - plain);
}

}  // namespace

void appendXmlText(std::string& out, std::string_view text) {
    append(out, text, false);
}

void appendXmlAttribute(std::string& out, std::string_view text) {
    append(out, text, true);
}

bool isXmlUnfit(std::string_view text, std::size_t& length) {
    if (text.empty()) return false;
    auto byte = static_cast<unsigned char>(text[0]);
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') {
        length = 1;
        return true;
    }
    if (byte == 0xEF && text.size() >= 3 && text[1] == '\xBF' &&
        (text[2] == '\xBE' || text[2] == '\xBF')) {
        length = 3;
        return true;
    }
    return false;
}

std::string codePointName(std::string_view text) {
    std::size_t at = 0;
    char32_t c = platform::nextUtf8(text, at);
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

}  // namespace tessel::xliff
