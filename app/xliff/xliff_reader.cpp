#include "xliff/xliff_reader.h"

#include <cstdint>
#include <functional>

#include "platform/utf8.h"
#include "xliff/xml_reader.h"

namespace tessel::xliff {

namespace {

using Kind = XmlEvent::Kind;

std::string lineProblem(std::size_t line, const std::string& problem) {
    return "line " + std::to_string(line) + ": " + problem;
}

class Parser {
  public:
    Parser(std::string_view document, XliffFile& file) : reader_(document), file_(file) {}

    bool parse(std::string& problem) {
        const XmlEvent* root = &reader_.next();
        if (root->kind == Kind::Error) return failed(*root, problem);
        if (root->kind != Kind::Start || root->localName() != "xliff") {
            problem = lineProblem(root->line, "the root element is not <xliff>");
            return false;
        }
        const std::string* version = root->attribute("version");
        if (version && *version == "1.2") {
            file_.version = XliffVersion::V1_2;
        } else if (version && (*version == "2.0" || *version == "2.1")) {
            file_.version = XliffVersion::V2_1;
        } else {
            problem = lineProblem(root->line, "the XLIFF version is " +
                                                  (version ? "\"" + *version + "\"" : "not given") +
                                                  "; 1.2, 2.0 and 2.1 are read");
            return false;
        }
        if (const std::string* language = root->attribute("srcLang")) sourceLanguage_ = *language;
        bool fileSeen = false;
        while (true) {
            const XmlEvent& event = reader_.next();
            if (event.kind == Kind::Error) return failed(event, problem);
            if (event.kind == Kind::EndOfDocument) break;
            if (event.kind != Kind::Start) continue;
            std::string_view name = event.localName();
            if (name == "file") {
                if (fileSeen) {
                    problem = lineProblem(
                        event.line, "a second <file>: one source file per XLIFF file is merged");
                    return false;
                }
                fileSeen = true;
                readFileAttributes(event);
            } else if (name == "external-file" && file_.fingerprint.empty()) {
                if (const std::string* crc = event.attribute("crc")) file_.fingerprint = *crc;
            } else if (name == "trans-unit" || name == "unit") {
                if (!readUnit(event, problem)) return false;
            }
        }
        if (!fileSeen) {
            problem = "the file holds no <file> element";
            return false;
        }
        return true;
    }

  private:
    bool failed(const XmlEvent& event, std::string& problem) {
        problem = lineProblem(event.line, event.text);
        return false;
    }

    void readFileAttributes(const XmlEvent& event) {
        if (const std::string* original = event.attribute("original")) file_.original = *original;
        if (file_.version == XliffVersion::V1_2) {
            if (const std::string* datatype = event.attribute("datatype")) {
                file_.format = formatOfDatatype(*datatype);
            }
        } else {
            if (const std::string* format = event.attribute("format")) file_.format = *format;
            if (const std::string* print = event.attribute("fingerprint"))
                file_.fingerprint = *print;
        }
    }

    // A unit up to its end tag: 1.2's <source> and <target>, 2.1's
    // segments and ignorables, joined in order. A 2.1 segment without a
    // target stands as its source, as does an ignorable.
    bool readUnit(const XmlEvent& start, std::string& problem) {
        XliffUnit unit;
        unit.line = start.line;
        if (const std::string* id = start.attribute("id")) unit.id = *id;
        if (unit.id.empty()) {
            problem = lineProblem(start.line, "a unit without an id");
            return false;
        }
        std::vector<std::string> names{std::string(start.localName())};
        std::size_t segmentSource = 0;
        bool segmentTarget = false;
        while (!names.empty()) {
            const XmlEvent& event = reader_.next();
            if (event.kind == Kind::Error) return failed(event, problem);
            if (event.kind == Kind::End) {
                bool segment = names.back() == "segment" || names.back() == "ignorable";
                if (segment && !segmentTarget) {
                    unit.target.insert(
                        unit.target.end(),
                        unit.source.begin() + static_cast<std::ptrdiff_t>(segmentSource),
                        unit.source.end());
                }
                names.pop_back();
                continue;
            }
            if (event.kind != Kind::Start) continue;
            std::string name(event.localName());
            bool skipped = name == "alt-trans" || name == "originalData" || name == "notes" ||
                           name == "note" || name == "context-group" || name == "metadata" ||
                           name == "seg-source";
            if (skipped) {
                if (!skipElement(event, problem)) return false;
            } else if (name == "source" || name == "target") {
                bool target = name == "target";
                if (target) {
                    unit.hasTarget = true;
                    segmentTarget = true;
                    if (const std::string* state = event.attribute("state")) unit.state = *state;
                }
                if (!readContent(event, target ? unit.target : unit.source, problem)) return false;
            } else {
                if (name == "segment") {
                    if (const std::string* state = event.attribute("state")) unit.state = *state;
                }
                if (name == "segment" || name == "ignorable") {
                    segmentSource = unit.source.size();
                    segmentTarget = false;
                    segmentStarted_ = true;
                }
                names.push_back(std::move(name));
            }
        }
        if (file_.byId.contains(unit.id)) {
            problem = lineProblem(start.line, "the unit id \"" + unit.id + "\" twice");
            return false;
        }
        file_.byId.emplace(unit.id, file_.units.size());
        file_.units.push_back(std::move(unit));
        return true;
    }

    bool skipElement(const XmlEvent& start, std::string& problem) {
        if (start.empty) {
            reader_.next();
            return true;
        }
        std::size_t depth = 1;
        while (depth > 0) {
            const XmlEvent& event = reader_.next();
            if (event.kind == Kind::Error) return failed(event, problem);
            // (The event is the reader's: read nothing more before it is used.)
            if (event.kind == Kind::End) {
                --depth;
            } else if (event.kind == Kind::Start && !event.empty) {
                ++depth;
            } else if (event.kind == Kind::Start) {
                reader_.next();
            }
        }
        return true;
    }

    void addText(std::vector<XliffPart>& parts, std::string_view text) {
        if (text.empty()) return;
        // A segment's text starts a part of its own, so it can be copied as
        // the segment's target.
        if (!parts.empty() && !parts.back().isCode && !segmentStarted_) {
            parts.back().text += text;
        } else {
            parts.push_back({false, std::string(text), CodeKind::Single, {}});
        }
        segmentStarted_ = false;
    }

    // The content of a code element (1.2's <bpt>, <ept>, <ph>, <it>): its
    // text, sub-flows left out.
    bool readCodeContent(const XmlEvent& start, std::string& text, std::string& problem) {
        if (start.empty) {
            reader_.next();
            return true;
        }
        std::size_t depth = 1;
        std::size_t inSub = 0;
        while (depth > 0) {
            const XmlEvent& event = reader_.next();
            if (event.kind == Kind::Error) return failed(event, problem);
            if (event.kind == Kind::Start) {
                if (event.empty) {
                    reader_.next();
                    continue;
                }
                ++depth;
                if (event.localName() == "sub") ++inSub;
            } else if (event.kind == Kind::End) {
                --depth;
                if (event.localName() == "sub" && inSub > 0) --inSub;
            } else if (event.kind == Kind::Text && inSub == 0) {
                text += event.text;
            }
        }
        return true;
    }

    static std::string idOf(const XmlEvent& event, std::string_view name) {
        const std::string* value = event.attribute(name);
        return value ? *value : std::string();
    }

    // Text and inline codes up to the end of `start`; markers (<mrk>, <g>
    // in 1.2, <pc> in 2.1 give codes at both ends) are read through.
    bool readContent(const XmlEvent& start, std::vector<XliffPart>& parts, std::string& problem) {
        if (start.empty) {
            reader_.next();
            return true;
        }
        // Elements open inside the content: for <g> and <pc>, the closing
        // code their end gives.
        std::vector<std::optional<XliffPart>> open;
        while (true) {
            const XmlEvent& event = reader_.next();
            if (event.kind == Kind::Error) return failed(event, problem);
            if (event.kind == Kind::Text) {
                addText(parts, event.text);
                continue;
            }
            if (event.kind == Kind::End) {
                if (open.empty()) return true;
                if (open.back()) parts.push_back(*open.back());
                open.pop_back();
                continue;
            }
            if (event.kind != Kind::Start) continue;
            const XmlEvent copy = event;
            if (!readInline(copy, parts, open, problem)) return false;
        }
    }

    bool readInline(const XmlEvent& event, std::vector<XliffPart>& parts,
                    std::vector<std::optional<XliffPart>>& open, std::string& problem) {
        std::string_view name = event.localName();
        XliffPart code;
        code.isCode = true;
        if (name == "bpt" || name == "ept" || name == "ph" || name == "it") {
            code.kind = name == "bpt"   ? CodeKind::Open
                        : name == "ept" ? CodeKind::Close
                        : name == "ph"  ? CodeKind::Single
                                        : (idOf(event, "pos") == "close" ? CodeKind::IsolatedClose
                                                                         : CodeKind::IsolatedOpen);
            code.id = idOf(event, "id");
            if (file_.version == XliffVersion::V2_1 && name == "ph") {
                if (!event.empty && !skipElement(event, problem)) return false;
                if (event.empty) reader_.next();
            } else if (!readCodeContent(event, code.text, problem)) {
                return false;
            }
            parts.push_back(std::move(code));
            return true;
        }
        if (name == "x" || name == "bx" || name == "ex") {
            code.kind = name == "x"    ? CodeKind::Single
                        : name == "bx" ? CodeKind::Open
                                       : CodeKind::Close;
            code.id = idOf(event, name == "ex" ? "rid" : "id");
            if (code.id.empty()) code.id = idOf(event, "id");
            parts.push_back(std::move(code));
            return skipRest(event, problem);
        }
        if (name == "sc" || name == "ec") {
            bool isolated = idOf(event, "isolated") == "yes";
            if (name == "sc") {
                code.kind = isolated ? CodeKind::IsolatedOpen : CodeKind::Open;
                code.id = idOf(event, "id");
            } else {
                code.kind = isolated ? CodeKind::IsolatedClose : CodeKind::Close;
                code.id = isolated ? idOf(event, "id") : idOf(event, "startRef");
            }
            parts.push_back(std::move(code));
            return skipRest(event, problem);
        }
        if (name == "cp") {
            std::string hex = idOf(event, "hex");
            std::uint32_t value = 0;
            bool good = !hex.empty() && hex.size() <= 6;
            for (char d : hex) {
                int digit = d >= '0' && d <= '9'   ? d - '0'
                            : d >= 'a' && d <= 'f' ? d - 'a' + 10
                            : d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                   : -1;
                if (digit < 0) good = false;
                value = value * 16 + static_cast<std::uint32_t>(std::max(digit, 0));
            }
            if (!good || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
                problem = lineProblem(event.line, "a <cp> with a bad hex value \"" + hex + "\"");
                return false;
            }
            std::string character;
            platform::appendUtf8(character, static_cast<char32_t>(value));
            addText(parts, character);
            return skipRest(event, problem);
        }
        if ((name == "g" && file_.version == XliffVersion::V1_2) ||
            (name == "pc" && file_.version == XliffVersion::V2_1)) {
            code.kind = CodeKind::Open;
            code.id = idOf(event, "id");
            XliffPart closing = code;
            closing.kind = CodeKind::Close;
            parts.push_back(std::move(code));
            if (event.empty) {
                parts.push_back(std::move(closing));
                reader_.next();
            } else {
                open.emplace_back(std::move(closing));
            }
            return true;
        }
        // Markers and anything else: their content is text of the unit.
        if (event.empty) {
            reader_.next();
        } else {
            open.emplace_back(std::nullopt);
        }
        return true;
    }

    bool skipRest(const XmlEvent& event, std::string& problem) {
        return skipElement(event, problem);
    }

    XmlReader reader_;
    XliffFile& file_;
    std::string sourceLanguage_;
    bool segmentStarted_ = false;
};

void appendKey(std::string& key, bool isCode, std::string_view text, CodeKind kind,
               std::string_view id) {
    if (!isCode) {
        key += text;
        return;
    }
    key += "{";
    key += std::to_string(static_cast<int>(kind));
    key += " ";
    key += id;
    key += "}";
}

}  // namespace

bool XliffUnit::translated() const {
    if (!hasTarget) return false;
    bool waiting = state == "new" || state == "needs-translation" || state == "initial";
    return !waiting || partsKey(target) != partsKey(source);
}

bool readXliff(std::string_view document, XliffFile& file, std::string& problem) {
    file = XliffFile{};
    return Parser(document, file).parse(problem);
}

std::string partsKey(const std::vector<XliffPart>& parts) {
    std::string key;
    for (const XliffPart& part : parts) appendKey(key, part.isCode, part.text, part.kind, part.id);
    return key;
}

std::string partsKey(const TranslationUnit& unit) {
    std::string key;
    for (const UnitPart& part : unit.parts) {
        if (part.isCode()) {
            const InlineCode& code = unit.codes[part.code];
            appendKey(key, true, {}, code.kind, std::to_string(code.id));
        } else {
            appendKey(key, false, part.text, CodeKind::Single, {});
        }
    }
    return key;
}

}  // namespace tessel::xliff
