#include "core/json_text.h"

#include <cstdio>

namespace tessel::app {

namespace {

// Length of the valid UTF-8 sequence at `at`, or 0 when the byte there does
// not start one (overlong forms, surrogates and values past U+10FFFF are not
// valid).
std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    }
    return length;
}

void appendEscape(std::string& out, unsigned value) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", value);
    out += escape;
}

// The escape of a control character or an ASCII character that needs one;
// nothing for the others.
std::optional<std::string_view> asciiEscape(char c) {
    switch (c) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            return std::nullopt;
    }
}

}  // namespace

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (std::optional<std::string_view> escape = asciiEscape(text[i])) {
                out += *escape;
            } else if (byte < 0x20 || byte == 0x7F) {
                appendEscape(out, byte);
            } else {
                out += text[i];
            }
            ++i;
            continue;
        }
        std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) {
            appendEscape(out, 0xDC00 + byte);
            ++i;
            continue;
        }
        out.append(text.substr(i, length));
        i += length;
    }
    return out + "\"";
}

void JsonObject::key(std::string_view name) {
    if (body_.size() > 1) body_ += ",";
    body_ += jsonString(name);
    body_ += ":";
}

JsonObject& JsonObject::text(std::string_view name, std::string_view value) {
    key(name);
    body_ += jsonString(value);
    return *this;
}

JsonObject& JsonObject::optionalText(std::string_view name,
                                     const std::optional<std::string>& value) {
    if (value) return text(name, *value);
    key(name);
    body_ += "null";
    return *this;
}

JsonObject& JsonObject::number(std::string_view name, std::int64_t value) {
    key(name);
    body_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::optionalNumber(std::string_view name, std::optional<std::int64_t> value) {
    if (value) return number(name, *value);
    key(name);
    body_ += "null";
    return *this;
}

JsonObject& JsonObject::flag(std::string_view name, bool value) {
    key(name);
    body_ += value ? "true" : "false";
    return *this;
}

}  // namespace tessel::app
