#include "markup/html_tag_file.h"

#include <new>
#include <string_view>

#include "frame/return_codes.h"
#include "markup/html_codes.h"
#include "platform/format.h"
#include "resources/html_texts.h"

namespace tessel::markup {

namespace res = tessel::resources;
using platform::fillPlaceholders;

namespace {

// Longest piece one read takes; a longer line is read as several lines.
constexpr std::size_t kLinePieceLimit = 4095;

// Reads up to and including the next line feed, or kLinePieceLimit bytes.
// False when nothing was left to read.
bool readLinePiece(platform::InputStream& input, std::string& line) {
    line.clear();
    while (line.size() < kLinePieceLimit) {
        int c = input.get();
        if (c < 0) break;
        line += static_cast<char>(c);
        if (c == '\n') break;
    }
    return !line.empty();
}

bool isEmptyLine(std::string_view line) {
    return line.empty() || line == "\n" || line.starts_with("\r\n");
}

bool isQuote(char c) {
    return c == '"' || c == '\x93' || c == '\x94';
}

// Removes one leading and one trailing quote character: this is how a field
// keeps a leading or trailing blank.
std::string_view withoutQuotes(std::string_view field) {
    if (!field.empty() && isQuote(field.front())) field.remove_prefix(1);
    if (!field.empty() && isQuote(field.back())) field.remove_suffix(1);
    return field;
}

std::string_view withoutLineEnd(std::string_view field) {
    if (!field.empty() && field.back() == '\n') field.remove_suffix(1);
    if (!field.empty() && field.back() == '\r') field.remove_suffix(1);
    return field;
}

bool isClassLetter(char c) {
    return c == 'S' || c == 'E' || c == 'I' || c == 'D';
}

bool validThreeFieldClass(std::string_view tagClass) {
    if (tagClass.empty() || tagClass.size() > 2) return false;
    for (char c : tagClass) {
        if (!isClassLetter(c)) return false;
    }
    return true;
}

bool validTwoFieldClass(std::string_view tagClass) {
    return tagClass == "E" || tagClass == "I" || tagClass == "D";
}

class TagFileReader {
  public:
    TagFileReader(platform::OutputStream& log, UserTagList& tags) : log_(log), tags_(tags) {}

    // One non-empty line; 0 or the code that ends the reading.
    int addLine(std::string_view line) {
        std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            log_.write(fillPlaceholders(res::kTagFileNoTab, {line}));
            return kBadTagFileLine;
        }
        if (int code = insert(tags_.names, withoutQuotes(line.substr(0, tab)),
                              res::kTagFileNameInsertFailed);
            code < 0) {
            return code;
        }
        std::string_view rest = line.substr(tab + 1);
        std::size_t secondTab = rest.find('\t');
        if (secondTab != std::string_view::npos) {
            return addClassAndAttribute(rest.substr(0, secondTab), rest.substr(secondTab + 1));
        }
        return addClassOnly(rest);
    }

  private:
    int addClassAndAttribute(std::string_view classField, std::string_view attributeField) {
        std::string_view tagClass = withoutQuotes(classField);
        if (!validThreeFieldClass(tagClass)) {
            log_.write(fillPlaceholders(res::kTagFileBadClassLetters, {classField, tagClass}));
            return kBadTagFileLine;
        }
        if (int code = insert(tags_.classes, tagClass, res::kTagFileClassInsertFailed3); code < 0) {
            return code;
        }
        return insert(tags_.attributes, withoutQuotes(withoutLineEnd(attributeField)),
                      res::kTagFileAttributeInsertFailed4);
    }

    int addClassOnly(std::string_view classField) {
        std::string_view tagClass = withoutQuotes(withoutLineEnd(classField));
        if (!validTwoFieldClass(tagClass)) {
            log_.write(fillPlaceholders(res::kTagFileBadClass, {tagClass}));
            return kBadTagFileLine;
        }
        if (int code = insert(tags_.classes, tagClass, res::kTagFileClassInsertFailed); code < 0) {
            return code;
        }
        return insert(tags_.attributes, "", res::kTagFileAttributeInsertFailed2);
    }

    // Inserts after the head, so the last line of the file comes first.
    int insert(StringList& list, std::string_view text, std::string_view failure) {
        int code = funciLLInsertAfter(list.head(), text);
        if (code < 0) {
            log_.write(failure);
            return code;
        }
        return 0;
    }

    platform::OutputStream& log_;
    UserTagList& tags_;
};

}  // namespace

int funcReadHTMLTagFile(const std::string& path, platform::OutputStream& log,
                        std::unique_ptr<UserTagList>& tags) {
    tags.reset();
    if (path.empty()) return 0;
    log.write(fillPlaceholders(res::kTagFileReading, {path}));

    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Text)) return frame::kCannotOpenInput;
    try {
        tags = std::make_unique<UserTagList>();
    } catch (const std::bad_alloc&) {
        log.write(res::kTagListNotInitialized);
        return frame::kOutOfMemory;
    }

    TagFileReader reader(log, *tags);
    std::string line;
    while (readLinePiece(input, line)) {
        if (isEmptyLine(line)) continue;
        if (int code = reader.addLine(line); code < 0) return code;
    }
    input.close();
    log.write(fillPlaceholders(res::kTagFileReadSuccessfully, {path}));
    return 0;
}

}  // namespace tessel::markup
