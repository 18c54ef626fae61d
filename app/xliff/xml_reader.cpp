#include "xliff/xml_reader.h"

#include <algorithm>

#include "platform/utf8.h"

namespace tessel::xliff {

namespace {

constexpr std::size_t kMaxDepth = 1000;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isNameChar(char c) {
    return !isBlank(c) && c != '=' && c != '>' && c != '/' && c != '<' && c != '"' && c != '\'' &&
           c != '&' && c != '?' && c != '!';
}

// Characters a reference may stand for (XML 1.0's Char).
bool isXmlCharacter(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

}  // namespace

std::string_view XmlEvent::localName() const {
    std::string_view view(name);
    std::size_t colon = view.find(':');
    return colon == std::string_view::npos ? view : view.substr(colon + 1);
}

const std::string* XmlEvent::attribute(std::string_view wanted) const {
    for (const XmlAttribute& attribute : attributes) {
        std::string_view name(attribute.name);
        if (name == wanted) return &attribute.value;
        std::size_t colon = name.find(':');
        if (colon != std::string_view::npos && !name.starts_with("xml:") &&
            !name.starts_with("xmlns:") && name.substr(colon + 1) == wanted) {
            return &attribute.value;
        }
    }
    return nullptr;
}

XmlReader::XmlReader(std::string_view document) : document_(document) {
    // A UTF-8 byte-order mark is not part of the document.
    if (document_.starts_with("\xEF\xBB\xBF")) at_ = 3;
}

// Lines are counted on from the last place asked about: the reader asks in
// document order.
std::size_t XmlReader::lineAt(std::size_t at) {
    if (at < lineCountedTo_) {
        line_ = 1;
        lineCountedTo_ = 0;
    }
    line_ += static_cast<std::size_t>(
        std::count(document_.begin() + static_cast<std::ptrdiff_t>(lineCountedTo_),
                   document_.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    lineCountedTo_ = at;
    return line_;
}

bool XmlReader::fail(std::string problem) {
    event_ = XmlEvent{};
    event_.kind = XmlEvent::Kind::Error;
    event_.text = std::move(problem);
    event_.line = lineAt(std::min(at_, document_.size()));
    return false;
}

const XmlEvent& XmlReader::next() {
    if (event_.kind == XmlEvent::Kind::Error) return event_;
    if (pendingEnd_) {
        pendingEnd_ = false;
        XmlEvent end;
        end.kind = XmlEvent::Kind::End;
        end.name = std::move(open_.back());
        end.line = event_.line;
        open_.pop_back();
        event_ = std::move(end);
        return event_;
    }
    while (true) {
        if (at_ >= document_.size()) {
            if (!open_.empty()) {
                fail("the file ends inside <" + open_.back() + ">");
            } else if (!rootSeen_) {
                fail("the file holds no element");
            } else {
                event_ = XmlEvent{};
            }
            return event_;
        }
        if (document_[at_] != '<') {
            if (readText()) return event_;
            if (event_.kind == XmlEvent::Kind::Error) return event_;
            continue;
        }
        if (readMarkup()) return event_;
        if (event_.kind == XmlEvent::Kind::Error) return event_;
    }
}

// Text up to the next "<"; true when it is an event (inside the root).
bool XmlReader::readText() {
    std::string text;
    std::size_t start = at_;
    while (at_ < document_.size() && document_[at_] != '<') {
        char c = document_[at_];
        if (c == '&') {
            if (!readReference(text)) return false;
            continue;
        }
        // A carriage return, alone or before a line feed, reads as a line feed.
        if (c == '\r') {
            text += '\n';
            ++at_;
            if (at_ < document_.size() && document_[at_] == '\n') ++at_;
            continue;
        }
        // Plain text up to the next character that needs a look goes over in one piece.
        std::size_t end = document_.find_first_of("<&\r", at_);
        if (end == std::string_view::npos) end = document_.size();
        text.append(document_.substr(at_, end - at_));
        at_ = end;
    }
    if (open_.empty()) {
        if (std::any_of(text.begin(), text.end(), [](char c) { return !isBlank(c); })) {
            at_ = start;
            return fail("text outside the root element");
        }
        return false;
    }
    event_ = XmlEvent{};
    event_.kind = XmlEvent::Kind::Text;
    event_.text = std::move(text);
    event_.line = lineAt(start);
    return true;
}

bool XmlReader::readReference(std::string& out) {
    std::size_t end = document_.find(';', at_);
    if (end == std::string_view::npos || end - at_ > 12)
        return fail("an \"&\" that starts no reference");
    std::string_view name = document_.substr(at_ + 1, end - at_ - 1);
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [known, character] : kNamed) {
        if (name == known) {
            out += character;
            at_ = end + 1;
            return true;
        }
    }
    if (!name.starts_with("#") || name.size() < 2) {
        return fail("the entity \"&" + std::string(name) + ";\", which XLIFF does not define");
    }
    bool hex = name[1] == 'x';
    std::string_view digits = name.substr(hex ? 2 : 1);
    std::uint32_t value = 0;
    for (char d : digits) {
        int digit = d >= '0' && d <= '9'          ? d - '0'
                    : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                    : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                  : -1;
        if (digit < 0 || value > 0x10FFFF)
            return fail("a bad character reference \"&" + std::string(name) + ";\"");
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (digits.empty() || !isXmlCharacter(value)) {
        return fail("a character reference to a character XML does not allow: \"&" +
                    std::string(name) + ";\"");
    }
    platform::appendUtf8(out, static_cast<char32_t>(value));
    at_ = end + 1;
    return true;
}

bool XmlReader::skipPast(std::string_view end, std::string_view what) {
    std::size_t found = document_.find(end, at_);
    if (found == std::string_view::npos) return fail("the file ends inside " + std::string(what));
    at_ = found + end.size();
    return false;
}

// A DOCTYPE with its internal subset, which is not read.
bool XmlReader::skipDoctype() {
    int brackets = 0;
    char quote = 0;
    for (; at_ < document_.size(); ++at_) {
        char c = document_[at_];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++brackets;
        } else if (c == ']') {
            --brackets;
        } else if (c == '>' && brackets <= 0) {
            ++at_;
            return false;
        }
    }
    return fail("the file ends inside its DOCTYPE");
}

// Markup at "<": true when it is an event.
bool XmlReader::readMarkup() {
    std::string_view rest = document_.substr(at_);
    if (rest.starts_with("<?")) return skipPast("?>", "a processing instruction");
    if (rest.starts_with("<!--")) return skipPast("-->", "a comment");
    if (rest.starts_with("<![CDATA[")) {
        if (open_.empty()) return fail("character data outside the root element");
        std::size_t end = document_.find("]]>", at_ + 9);
        if (end == std::string_view::npos) return fail("the file ends inside character data");
        event_ = XmlEvent{};
        event_.kind = XmlEvent::Kind::Text;
        event_.text = std::string(document_.substr(at_ + 9, end - at_ - 9));
        event_.line = lineAt(at_);
        at_ = end + 3;
        return true;
    }
    if (rest.starts_with("<!DOCTYPE")) {
        if (rootSeen_) return fail("a DOCTYPE after the root element");
        return skipDoctype();
    }
    if (rest.starts_with("</")) return readEndTag();
    return readStartTag();
}

void XmlReader::skipBlanks() {
    while (at_ < document_.size() && isBlank(document_[at_])) ++at_;
}

bool XmlReader::readName(std::string& name) {
    std::size_t start = at_;
    while (at_ < document_.size() && isNameChar(document_[at_])) ++at_;
    name.assign(document_.substr(start, at_ - start));
    return !name.empty();
}

bool XmlReader::readStartTag() {
    if (open_.empty() && rootSeen_) return fail("a second root element");
    if (open_.size() >= kMaxDepth) return fail("elements nested too deep");
    std::size_t start = at_;
    ++at_;
    XmlEvent event;
    event.kind = XmlEvent::Kind::Start;
    event.line = lineAt(start);
    if (!readName(event.name)) return fail("a \"<\" that starts no tag");
    while (true) {
        skipBlanks();
        if (at_ >= document_.size()) return fail("the file ends inside <" + event.name + ">");
        char c = document_[at_];
        if (c == '>') {
            ++at_;
            break;
        }
        if (c == '/' && at_ + 1 < document_.size() && document_[at_ + 1] == '>') {
            at_ += 2;
            event.empty = true;
            break;
        }
        XmlAttribute attribute;
        if (!readName(attribute.name)) return fail("a bad attribute in <" + event.name + ">");
        skipBlanks();
        if (at_ >= document_.size() || document_[at_] != '=') {
            return fail("the attribute " + attribute.name + " of <" + event.name +
                        "> has no value");
        }
        ++at_;
        skipBlanks();
        if (at_ >= document_.size() || (document_[at_] != '"' && document_[at_] != '\'')) {
            return fail("the value of " + attribute.name + " is not quoted");
        }
        char quote = document_[at_++];
        while (at_ < document_.size() && document_[at_] != quote) {
            char v = document_[at_];
            if (v == '<') return fail("a \"<\" in the value of " + attribute.name);
            if (v == '&') {
                if (!readReference(attribute.value)) return false;
                continue;
            }
            // Line ends and tabs in a value read as blanks.
            attribute.value += isBlank(v) ? ' ' : v;
            ++at_;
        }
        if (at_ >= document_.size())
            return fail("the file ends inside a value of <" + event.name + ">");
        ++at_;
        for (const XmlAttribute& other : event.attributes) {
            if (other.name == attribute.name) {
                return fail("the attribute " + attribute.name + " twice in <" + event.name + ">");
            }
        }
        event.attributes.push_back(std::move(attribute));
    }
    rootSeen_ = true;
    open_.push_back(event.name);
    pendingEnd_ = event.empty;
    event_ = std::move(event);
    return true;
}

bool XmlReader::readEndTag() {
    std::size_t start = at_;
    at_ += 2;
    std::string name;
    if (!readName(name)) return fail("a \"</\" that ends no tag");
    skipBlanks();
    if (at_ >= document_.size() || document_[at_] != '>') return fail("a bad end tag </" + name);
    ++at_;
    if (open_.empty() || open_.back() != name) {
        return fail("</" + name + "> where " +
                    (open_.empty() ? std::string("no element is open")
                                   : "</" + open_.back() + "> was due"));
    }
    open_.pop_back();
    event_ = XmlEvent{};
    event_.kind = XmlEvent::Kind::End;
    event_.name = std::move(name);
    event_.line = lineAt(start);
    return true;
}

}  // namespace tessel::xliff
