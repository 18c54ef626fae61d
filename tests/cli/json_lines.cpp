#include "json_lines.h"

#include <cstdlib>
#include <sstream>

namespace tessel::cli::testing {

namespace {

class Reader {
  public:
    explicit Reader(const std::string& text) : text_(text) {}

    std::optional<JsonFields> object() {
        JsonFields fields;
        if (!take('{')) return std::nullopt;
        if (take('}')) return atEnd() ? std::optional(fields) : std::nullopt;
        do {
            std::optional<std::string> name = string();
            if (!name || !take(':')) return std::nullopt;
            std::optional<JsonValue> item = value();
            if (!item || fields.count(*name) != 0) return std::nullopt;
            fields[*name] = *item;
        } while (take(','));
        if (!take('}') || !atEnd()) return std::nullopt;
        return fields;
    }

  private:
    bool atEnd() const { return at_ == text_.size(); }
    bool take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool takeWord(const std::string& word) {
        if (text_.compare(at_, word.size(), word) != 0) return false;
        at_ += word.size();
        return true;
    }

    std::optional<JsonValue> value() {
        JsonValue result;
        if (takeWord("null")) return result;
        if (takeWord("true")) return JsonValue{JsonValue::Kind::True, "", 0};
        if (takeWord("false")) return JsonValue{JsonValue::Kind::False, "", 0};
        if (at_ < text_.size() && text_[at_] == '"') {
            std::optional<std::string> text = string();
            if (!text) return std::nullopt;
            return JsonValue{JsonValue::Kind::String, *text, 0};
        }
        std::size_t start = at_;
        take('-');
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
        if (at_ == start || text_[at_ - 1] == '-') return std::nullopt;
        return JsonValue{JsonValue::Kind::Number, "",
                         std::strtoll(text_.substr(start, at_ - start).c_str(), nullptr, 10)};
    }

    static void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::optional<std::string> string() {
        if (!take('"')) return std::nullopt;
        std::string out;
        while (at_ < text_.size()) {
            char c = text_[at_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) return std::nullopt;
            char escape = text_[at_++];
            switch (escape) {
                case '"':
                case '\\':
                case '/':
                    out += escape;
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    if (at_ + 4 > text_.size()) return std::nullopt;
                    unsigned code = std::stoul(text_.substr(at_, 4), nullptr, 16);
                    at_ += 4;
                    // The writer's escape of a byte outside valid UTF-8.
                    if (code >= 0xDC80 && code <= 0xDCFF) {
                        out += static_cast<char>(code - 0xDC00);
                    } else {
                        appendUtf8(out, code);
                    }
                    break;
                }
                default:
                    return std::nullopt;
            }
        }
        return std::nullopt;
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

}  // namespace

std::optional<JsonFields> parseJsonObject(const std::string& line) {
    return Reader(line).object();
}

std::optional<std::vector<JsonFields>> parseJsonLines(const std::string& text) {
    std::vector<JsonFields> objects;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::optional<JsonFields> object = parseJsonObject(line);
        if (!object) return std::nullopt;
        objects.push_back(*object);
    }
    return objects;
}

}  // namespace tessel::cli::testing
