// A small XML reader for the XLIFF files translation tools give back: the
// document in memory, read as a sequence of start tags (with attributes),
// end tags and text, references resolved. No external entities and no
// entity definitions are read (a DOCTYPE is skipped), so nothing in a file
// can reach outside it or grow without bound. Every problem is reported
// with its line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::xliff {

struct XmlAttribute {
    std::string name;  // as written, prefix included
    std::string value;
};

struct XmlEvent {
    enum class Kind { Start, End, Text, EndOfDocument, Error };
    Kind kind = Kind::EndOfDocument;
    std::string name;  // Start and End: the name as written
    std::vector<XmlAttribute> attributes;
    bool empty = false;  // Start: "<name/>"; its End follows at once
    std::string text;    // Text; Error: the problem
    std::size_t line = 0;

    // The local name (after any prefix).
    std::string_view localName() const;
    // The attribute of this local name (any prefix but "xml:" unless asked), or null.
    const std::string* attribute(std::string_view name) const;
};

class XmlReader {
  public:
    explicit XmlReader(std::string_view document);

    // The next event; Error and EndOfDocument repeat once reached.
    const XmlEvent& next();

  private:
    bool fail(std::string problem);
    bool readMarkup();
    bool readStartTag();
    bool readEndTag();
    bool readText();
    bool skipPast(std::string_view end, std::string_view what);
    bool skipDoctype();
    bool readName(std::string& name);
    bool readReference(std::string& out);
    void skipBlanks();
    std::size_t lineAt(std::size_t at);

    std::string_view document_;
    std::size_t at_ = 0;
    std::size_t line_ = 1;
    std::size_t lineCountedTo_ = 0;
    std::vector<std::string> open_;
    bool pendingEnd_ = false;
    bool rootSeen_ = false;
    XmlEvent event_;
};

}  // namespace tessel::xliff
