#include "markup/sgml_markup_scan.h"

namespace tessel::markup::sgml {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_' || c == ':';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char at(std::string_view line, std::size_t pos) {
    return pos < line.size() ? line[pos] : '\0';
}

void beginTag(OpenMarkup& open, bool endTag, bool named) {
    open.kind = Markup::Tag;
    open.endTag = endTag;
    open.named = named;
    open.inName = named;
}

// A start or end tag. Where no tag can begin inside it (right after "=",
// or before it has a name) a "<" nests as it always did, so that
// "<A B=<C>>" stays one tag.
std::size_t finishTag(std::string_view line, std::size_t pos, OpenMarkup& open, Finished& done) {
    done.kind = Piece::Tag;
    for (; pos < line.size(); ++pos) {
        char c = line[pos];
        if (open.depth > 0) {
            if (c == '<') ++open.depth;
            if (c == '>') --open.depth;
            continue;
        }
        if (c == '>') return pos + 1;
        if (c == '<') {
            char next = at(line, pos + 1);
            if (open.named && open.previous != '=' && (isNameStart(next) || next == '/')) {
                return pos;  // unclosed: the next tag begins here
            }
            ++open.depth;
            open.inName = false;
            open.previous = c;
            continue;
        }
        if (c == '/' && open.inName && !open.endTag) {
            // "<x/>" is an XML empty element; "<tt/" enables a null end tag.
            if (at(line, pos + 1) == '>') continue;
            done.enablesNet = true;
            return pos + 1;
        }
        if (isBlank(c)) {
            open.inName = false;
            continue;
        }
        if (open.inName && !isNameChar(c)) open.inName = false;
        open.previous = c;
    }
    return npos;
}

// A markup declaration: its ">" is the first outside literals, "--"
// comments and the declaration subset in "[" and "]".
std::size_t finishDeclaration(std::string_view line, std::size_t pos, OpenMarkup& open,
                              const ScanOptions& options, Finished& done) {
    for (; pos < line.size(); ++pos) {
        char c = line[pos];
        if (options.rtfEscaped && c == '\\') {
            ++pos;  // "\\", "\{", "\}", "\'e9": the escaped byte is no delimiter
            continue;
        }
        if (open.quote != 0) {
            if (c == open.quote) open.quote = 0;
            continue;
        }
        bool dashes = c == '-' && at(line, pos + 1) == '-';
        if (open.inComment) {
            if (dashes) {
                open.inComment = false;
                ++pos;
            }
            continue;
        }
        if (dashes) {
            open.inComment = true;
            ++pos;
        } else if (c == '"' || c == '\'') {
            open.quote = c;
        } else if (c == '[') {
            ++open.depth;
            open.subset = true;
        } else if (c == ']') {
            if (open.depth > 0) --open.depth;
        } else if (c == '>' && open.depth == 0) {
            done.kind = open.subset ? Piece::Block : Piece::Tag;
            return pos + 1;
        }
    }
    return npos;
}

// The status keywords of a marked section, upper-cased words; parameter
// entity references ("%name;") count as none: their value is not known, so
// the section is taken as included.
bool hasKeyword(std::string_view keywords, std::string_view wanted) {
    std::size_t pos = 0;
    while (pos < keywords.size()) {
        if (keywords[pos] == '%') {  // a parameter entity reference
            while (pos < keywords.size() && keywords[pos] != ';' && !isBlank(keywords[pos])) ++pos;
            ++pos;
            continue;
        }
        if (!isNameStart(keywords[pos])) {
            ++pos;
            continue;
        }
        std::size_t start = pos;
        while (pos < keywords.size() && isNameChar(keywords[pos])) ++pos;
        std::string_view word = keywords.substr(start, pos - start);
        if (word.size() == wanted.size()) {
            bool same = true;
            for (std::size_t i = 0; i < word.size(); ++i) {
                char upper =
                    word[i] >= 'a' && word[i] <= 'z' ? static_cast<char>(word[i] - 32) : word[i];
                same = same && upper == wanted[i];
            }
            if (same) return true;
        }
    }
    return false;
}

// The content of a CDATA, RCDATA or IGNORE section: the first "]]>" ends
// it, in an IGNORE section the one that closes the sections nested in it.
std::size_t finishSection(std::string_view line, std::size_t pos, OpenMarkup& open,
                          Finished& done) {
    for (; pos < line.size(); ++pos) {
        if (open.nestsSections && line.compare(pos, 3, "<![") == 0) {
            ++open.depth;
            pos += 2;
        } else if (line.compare(pos, 3, "]]>") == 0) {
            pos += 2;
            if (--open.depth == 0) {
                done.kind = Piece::Block;
                return pos + 1;
            }
        }
    }
    return npos;
}

// "<![" up to the "[" that ends its keywords: an included section's start
// is a tag; a section whose content is not markup goes on to its end.
std::size_t finishSectionStart(std::string_view line, std::size_t pos, OpenMarkup& open,
                               Finished& done) {
    std::size_t bracket = line.find('[', pos);
    if (bracket == npos) {
        open.keywords.append(line.substr(pos));
        return npos;
    }
    open.keywords.append(line.substr(pos, bracket - pos));
    bool ignore = hasKeyword(open.keywords, "IGNORE");
    if (ignore || hasKeyword(open.keywords, "CDATA") || hasKeyword(open.keywords, "RCDATA")) {
        open.kind = Markup::Section;
        open.nestsSections = ignore;
        open.depth = 1;
        return finishSection(line, bracket + 1, open, done);
    }
    done.kind = Piece::Tag;
    done.opensSection = true;
    return bracket + 1;
}

std::size_t finishInstruction(std::string_view line, std::size_t pos, const ScanOptions& options,
                              Finished& done) {
    done.kind = Piece::Tag;
    if (!options.xml) {
        std::size_t end = line.find('>', pos);
        return end == npos ? npos : end + 1;
    }
    std::size_t end = line.find("?>", pos);
    return end == npos ? npos : end + 2;
}

}  // namespace

std::size_t beginMarkup(std::string_view line, std::size_t start, OpenMarkup& open) {
    open = OpenMarkup{};
    char next = at(line, start + 1);
    if (isNameStart(next) || next == '>' || next == '<') {
        beginTag(open, false, isNameStart(next));
        return start + 1;
    }
    if (next == '/') {
        beginTag(open, true, isNameStart(at(line, start + 2)));
        return start + 2;
    }
    if (next == '?') {
        open.kind = Markup::Instruction;
        return start + 2;
    }
    if (next != '!') return npos;
    std::string_view rest = line.substr(start);
    if (rest.substr(0, 4) == "<!--") {
        open.kind = Markup::Comment;
        return start;  // "<!-->" ends at once, as it always did
    }
    if (rest.substr(0, 3) == "<![") {
        open.kind = Markup::SectionStart;
        return start + 3;
    }
    if (isNameStart(at(line, start + 2))) {
        open.kind = Markup::Declaration;
        return start + 2;
    }
    beginTag(open, false, false);  // "<!>" and the like, as before
    return start + 1;
}

std::size_t finishMarkup(std::string_view line, std::size_t from, OpenMarkup& open,
                         const ScanOptions& options, Finished& done) {
    done = Finished{};
    switch (open.kind) {
        case Markup::Tag:
            return finishTag(line, from, open, done);
        case Markup::Comment: {
            done.kind = Piece::Comment;
            std::size_t end = line.find("-->", from);
            return end == npos ? npos : end + 3;
        }
        case Markup::Declaration:
            return finishDeclaration(line, from, open, options, done);
        case Markup::SectionStart:
            return finishSectionStart(line, from, open, done);
        case Markup::Section:
            return finishSection(line, from, open, done);
        case Markup::Instruction:
            return finishInstruction(line, from, options, done);
        case Markup::None:
            break;
    }
    return npos;
}

}  // namespace tessel::markup::sgml
