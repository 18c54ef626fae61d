#include "frame/rtf_style_sheet.h"

#include <array>
#include <string>

#include "resources/rtf_texts.h"

namespace tessel::frame {

namespace {

namespace res = tessel::resources;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool isLetter(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int hexValue(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A style sheet names a few dozen styles; longer names are cut.
constexpr std::size_t kMaxNameLength = 256;
// Where no style sheet has begun after this much, the document has none.
constexpr std::size_t kMaxHeadBytes = std::size_t{16} << 20;

// A byte reader over the source with one byte of look-ahead.
class Bytes {
  public:
    explicit Bytes(RtfByteSource& source) : source_(source) {}
    int next() {
        if (at_ == end_) {
            end_ = source_.read(block_.data(), block_.size());
            at_ = 0;
            if (end_ == 0) return -1;
        }
        ++consumed_;
        return static_cast<unsigned char>(block_[at_++]);
    }
    void unget() {
        --at_;
        --consumed_;
    }
    std::size_t consumed() const { return consumed_; }

  private:
    RtfByteSource& source_;
    std::array<char, 16384> block_{};
    std::size_t at_ = 0;
    std::size_t end_ = 0;
    std::size_t consumed_ = 0;
};

struct ControlWord {
    std::string word;
    bool hasParameter = false;
    std::int32_t parameter = 0;
};

ControlWord readControlWord(Bytes& bytes) {
    ControlWord control;
    int c = bytes.next();
    if (c < 0) return control;
    if (!isLetter(c)) {
        control.word = static_cast<char>(c);
        return control;
    }
    while (c >= 0 && isLetter(c) && control.word.size() < 32) {
        control.word += static_cast<char>(c);
        c = bytes.next();
    }
    bool negative = c == '-';
    if (negative) c = bytes.next();
    std::int64_t value = 0;
    while (c >= '0' && c <= '9') {
        control.hasParameter = true;
        if (value < (std::int64_t{1} << 31)) value = value * 10 + (c - '0');
        c = bytes.next();
    }
    control.parameter = static_cast<std::int32_t>(negative ? -value : value);
    if (c >= 0 && c != ' ') bytes.unget();
    return control;
}

// Words that begin the body: a document without a style sheet has reached
// its text.
bool beginsBody(std::string_view word) {
    return word == "pard" || word == "par" || word == "sectd" || word == "plain";
}

}  // namespace

TagStyle tagStyleOfName(std::string_view name) {
    name = name.substr(0, name.find(','));
    std::size_t first = name.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return TagStyle::None;
    name = name.substr(first, name.find_last_not_of(" \t\r\n") - first + 1);
    if (equalsIgnoringCase(name, res::kExternalStyleName)) return TagStyle::External;
    if (equalsIgnoringCase(name, res::kInternalStyleName)) return TagStyle::Internal;
    if (equalsIgnoringCase(name, res::kDoNotTranslateStyleName)) return TagStyle::DoNotTranslate;
    return TagStyle::None;
}

TagStyle RtfStyleSheet::tagStyle(std::int32_t number) const {
    auto found = styles_.find(number);
    return found == styles_.end() ? TagStyle::None : found->second;
}

void RtfStyleSheet::define(std::int32_t number, std::string_view name) {
    TagStyle style = tagStyleOfName(name);
    if (style == TagStyle::None) {
        styles_.erase(number);
    } else {
        styles_[number] = style;
    }
}

namespace {

// Reads the style sheet from `bytes`; true when its group closed, the bytes
// then standing right after it.
bool readSheet(Bytes& bytes, const std::function<void(std::int32_t, std::string_view)>& style) {
    int depth = 0;
    int sheetDepth = 0;  // depth of the style sheet's group; 0 before it
    // The entry being read: a group one level inside the sheet.
    std::int32_t number = -1;
    bool characterStyle = false;
    bool nameEnded = false;
    std::string name;
    for (;;) {
        int c = bytes.next();
        if (c < 0) return false;
        if (sheetDepth == 0 && bytes.consumed() > kMaxHeadBytes) return false;
        bool inEntry = sheetDepth > 0 && depth == sheetDepth + 1;
        switch (c) {
            case '{':
                ++depth;
                if (sheetDepth > 0 && depth == sheetDepth + 1) {
                    number = -1;
                    characterStyle = false;
                    nameEnded = false;
                    name.clear();
                }
                break;
            case '}':
                if (inEntry && characterStyle && number >= 0) style(number, name);
                --depth;
                if (sheetDepth > 0 && depth < sheetDepth) return true;
                if (depth < 0) return false;
                break;
            case '\r':
            case '\n':
                break;
            case '\\': {
                ControlWord control = readControlWord(bytes);
                if (sheetDepth == 0) {
                    if (control.word == "stylesheet") sheetDepth = depth;
                    if (depth <= 1 && beginsBody(control.word)) return false;
                } else if (inEntry) {
                    if (control.word == "cs") {
                        characterStyle = true;
                        number = control.parameter;
                    } else if (control.word == "s" || control.word == "ds" ||
                               control.word == "ts") {
                        characterStyle = false;
                    } else if (control.word == "'" && !nameEnded) {
                        int high = hexValue(bytes.next());
                        int low = hexValue(bytes.next());
                        if (high >= 0 && low >= 0 && name.size() < kMaxNameLength) {
                            name += static_cast<char>(high * 16 + low);
                        }
                    } else if (control.word.size() == 1 && !isLetter(control.word[0]) &&
                               control.word != "*" && !nameEnded && name.size() < kMaxNameLength) {
                        name += control.word;  // "\{", "\}", "\\" in a name
                    }
                }
                break;
            }
            default:
                if (sheetDepth == 0 && depth == 1 && c != ' ' && c != '\t')
                    return false;  // body text
                if (inEntry && !nameEnded) {
                    if (c == ';') {
                        nameEnded = true;
                    } else if (name.size() < kMaxNameLength) {
                        name += static_cast<char>(c);
                    }
                }
                break;
        }
    }
}

}  // namespace

void readCharacterStyleNames(RtfByteSource& source,
                             const std::function<void(std::int32_t, std::string_view)>& style) {
    Bytes bytes(source);
    readSheet(bytes, style);
}

RtfStyleSheet readRtfStyleSheet(RtfByteSource& source) {
    RtfStyleSheet sheet;
    readCharacterStyleNames(source, [&sheet](std::int32_t number, std::string_view name) {
        sheet.define(number, name);
    });
    return sheet;
}

RtfStyleSheet readMarkedUpStyles(RtfByteSource& source, bool& tagRuns) {
    RtfStyleSheet sheet;
    tagRuns = false;
    Bytes bytes(source);
    bool closed = readSheet(bytes, [&sheet](std::int32_t number, std::string_view name) {
        sheet.define(number, name);
    });
    if (!closed || sheet.tagStyles() == 0) return sheet;
    // The body, up to the first run in a tag style.
    for (int c; (c = bytes.next()) >= 0;) {
        if (c != '\\') continue;
        ControlWord control = readControlWord(bytes);
        if (control.word == "cs" && control.hasParameter &&
            sheet.tagStyle(control.parameter) != TagStyle::None) {
            tagRuns = true;
            break;
        }
    }
    return sheet;
}

}  // namespace tessel::frame
