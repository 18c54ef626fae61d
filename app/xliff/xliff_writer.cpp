#include "xliff/xliff_writer.h"

#include <array>

#include "xliff/xml_text.h"

namespace tessel::xliff {

namespace {

struct FormatDatatype {
    std::string_view format;
    std::string_view datatype;
};
// XLIFF 1.2 names HTML and SGML; the others are this tool's own ("x-").
constexpr std::array kDatatypes = {
    FormatDatatype{"html", "html"},
    FormatDatatype{"sgml", "sgml"},
    FormatDatatype{"pagemaker", "x-pagemaker-tagged-text"},
    FormatDatatype{"quark", "x-quarkxpress-tagged-text"},
    FormatDatatype{"ventura", "x-ventura-tagged-text"},
    FormatDatatype{"ventura4", "x-ventura4-tagged-text"},
};

// A tag's text as the content of an element, each character XML cannot
// hold written by `unfit`: 1.2 names it ("[U+000C]"), 2.1 writes <cp>.
template <typename Unfit>
void appendCodeText(std::string& out, std::string_view text, Unfit unfit) {
    std::size_t plain = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        if (!isXmlUnfit(text.substr(at), length)) {
            ++at;
            continue;
        }
        appendXmlText(out, text.substr(plain, at - plain));
        out += unfit(codePointName(text.substr(at)));
        at += length;
        plain = at;
    }
    appendXmlText(out, text.substr(plain));
}

void appendCodeText12(std::string& out, std::string_view text) {
    appendCodeText(out, text, [](const std::string& name) { return "[" + name + "]"; });
}

void appendCodeText21(std::string& out, std::string_view text) {
    appendCodeText(out, text,
                   [](const std::string& name) { return "<cp hex=\"" + name.substr(2) + "\"/>"; });
}

// The 1.2 element of each code kind, in the order of CodeKind.
struct CodeElement12 {
    std::string_view name;
    std::string_view attributes;
};
constexpr std::array<CodeElement12, 5> kCodeElements12 = {{
    {"ph", ""},                // Single
    {"bpt", ""},               // Open
    {"ept", ""},               // Close
    {"it", " pos=\"open\""},   // IsolatedOpen
    {"it", " pos=\"close\""},  // IsolatedClose
}};

void attribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    appendXmlAttribute(out, value);
    out += '"';
}

}  // namespace

std::string datatypeOf(std::string_view format) {
    for (const FormatDatatype& known : kDatatypes) {
        if (known.format == format) return std::string(known.datatype);
    }
    return "x-" + std::string(format);
}

std::string formatOfDatatype(std::string_view datatype) {
    for (const FormatDatatype& known : kDatatypes) {
        if (known.datatype == datatype) return std::string(known.format);
    }
    return {};
}

XliffWriter::XliffWriter(const XliffHeader& header) : version_(header.version) {
    xml_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    if (version_ == XliffVersion::V1_2) {
        xml_ += "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n<file";
        attribute(xml_, "original", header.original);
        attribute(xml_, "source-language", header.sourceLanguage);
        if (!header.targetLanguage.empty()) {
            attribute(xml_, "target-language", header.targetLanguage);
        }
        attribute(xml_, "datatype", datatypeOf(header.format));
        attribute(xml_, "tool-id", "tessel");
        xml_ += ">\n<header>\n<skl><external-file";
        attribute(xml_, "href", header.original);
        attribute(xml_, "crc", header.fingerprint);
        xml_ += "/></skl>\n<tool tool-id=\"tessel\" tool-name=\"Tessel Filter Pack\"";
        attribute(xml_, "tool-version", header.toolVersion);
        xml_ += "/>\n</header>\n<body>\n";
        return;
    }
    xml_ += "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\"";
    attribute(xml_, "xmlns:tessel", kToolNamespace);
    xml_ += " version=\"2.1\"";
    attribute(xml_, "srcLang", header.sourceLanguage);
    if (!header.targetLanguage.empty()) attribute(xml_, "trgLang", header.targetLanguage);
    xml_ += ">\n<file id=\"f1\"";
    attribute(xml_, "original", header.original);
    attribute(xml_, "tessel:format", header.format);
    attribute(xml_, "tessel:fingerprint", header.fingerprint);
    xml_ += ">\n<skeleton";
    attribute(xml_, "href", header.original);
    xml_ += "/>\n";
}

void XliffWriter::unit(const TranslationUnit& unit) {
    ++units_;
    if (version_ == XliffVersion::V1_2) {
        unit12(unit);
    } else {
        unit21(unit);
    }
}

// 1.2 units carry a copy of the source as their target, marked as still
// to be translated: translation tools of 1.2 translate the target in place.
void XliffWriter::unit12(const TranslationUnit& unit) {
    xml_ += "<trans-unit";
    attribute(xml_, "id", unit.id);
    xml_ += " xml:space=\"preserve\">\n<source>";
    std::size_t start = xml_.size();
    content12(unit);
    std::string content = xml_.substr(start);
    xml_ += "</source>\n<target state=\"needs-translation\">";
    xml_ += content;
    xml_ += "</target>\n</trans-unit>\n";
}

void XliffWriter::content12(const TranslationUnit& unit) {
    for (const UnitPart& part : unit.parts) {
        if (!part.isCode()) {
            appendXmlText(xml_, part.text);
            continue;
        }
        const InlineCode& code = unit.codes[part.code];
        const CodeElement12& element = kCodeElements12[static_cast<std::size_t>(code.kind)];
        xml_ += "<";
        xml_ += element.name;
        xml_ += " id=\"" + std::to_string(code.id) + "\"";
        xml_ += element.attributes;
        xml_ += ">";
        appendCodeText12(xml_, code.text);
        xml_ += "</";
        xml_ += element.name;
        xml_ += ">";
    }
}

void XliffWriter::unit21(const TranslationUnit& unit) {
    xml_ += "<unit";
    attribute(xml_, "id", unit.id);
    xml_ += ">\n";
    if (!unit.codes.empty()) {
        xml_ += "<originalData>\n";
        for (std::size_t i = 0; i < unit.codes.size(); ++i) {
            xml_ += "<data id=\"d" + std::to_string(i + 1) + "\">";
            appendCodeText21(xml_, unit.codes[i].text);
            xml_ += "</data>\n";
        }
        xml_ += "</originalData>\n";
    }
    xml_ += "<segment>\n<source xml:space=\"preserve\">";
    for (const UnitPart& part : unit.parts) {
        if (!part.isCode()) {
            appendXmlText(xml_, part.text);
            continue;
        }
        const InlineCode& code = unit.codes[part.code];
        std::string id = std::to_string(code.id);
        std::string data = "d" + std::to_string(part.code + 1);
        switch (code.kind) {
            case CodeKind::Open:
                xml_ += "<sc id=\"" + id + "\" dataRef=\"" + data + "\"/>";
                break;
            case CodeKind::Close:
                xml_ += "<ec startRef=\"" + id + "\" dataRef=\"" + data + "\"/>";
                break;
            case CodeKind::Single:
                xml_ += "<ph id=\"" + id + "\" dataRef=\"" + data + "\"/>";
                break;
            case CodeKind::IsolatedOpen:
                xml_ += "<sc id=\"" + id + "\" dataRef=\"" + data + "\" isolated=\"yes\"/>";
                break;
            case CodeKind::IsolatedClose:
                xml_ += "<ec id=\"" + id + "\" dataRef=\"" + data + "\" isolated=\"yes\"/>";
                break;
        }
    }
    xml_ += "</source>\n</segment>\n</unit>\n";
}

void XliffWriter::finish() {
    if (version_ == XliffVersion::V1_2) {
        xml_ += "</body>\n</file>\n</xliff>\n";
        return;
    }
    // A 2.1 file holds at least one unit or group: a document without text
    // to translate gets an empty group.
    if (units_ == 0) xml_ += "<group id=\"g1\"/>\n";
    xml_ += "</file>\n</xliff>\n";
}

std::string XliffWriter::take() {
    std::string ready;
    ready.swap(xml_);
    return ready;
}

}  // namespace tessel::xliff
