// Writes the translation units of a document as XLIFF 1.2 or 2.1, one unit
// at a time as the segmenter finds them. Inline codes keep the tag's text:
// in 1.2 as the content of <bpt>/<ept> (pairs), <ph> (single tags) and <it>
// (half of a pair split over two units); in 2.1 in <originalData>, referred
// to by <sc>/<ec>, <ph> and isolated <sc>/<ec>.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "xliff/translation_units.h"

namespace tessel::xliff {

enum class XliffVersion { V1_2, V2_1 };

// The namespace of this tool's own attributes in an XLIFF 2.1 file (the
// format and the source's fingerprint).
inline constexpr std::string_view kToolNamespace = "urn:tesselfilterpack:xliff";

struct XliffHeader {
    XliffVersion version = XliffVersion::V1_2;
    std::string original;     // the source's file name, as the merge looks for it
    std::string format;       // the mark-up's format name: "html", "pagemaker", ...
    std::string fingerprint;  // of the source's bytes
    std::string sourceLanguage = "en";
    std::string targetLanguage;  // empty: none
    std::string toolVersion;
};

// The datatype attribute of XLIFF 1.2 for a format, and back.
std::string datatypeOf(std::string_view format);
std::string formatOfDatatype(std::string_view datatype);

class XliffWriter final : public DocumentSink {
  public:
    // `out` receives the XML in pieces; flush() hands over what is ready.
    explicit XliffWriter(const XliffHeader& header);

    void skeleton(verify::RunRole, std::string_view) override {}
    void unit(const TranslationUnit& unit) override;
    void paragraphEnd(bool) override {}

    // The XML written since the last call (the document's start before the
    // first unit, its end after finish()).
    std::string take();
    void finish();

  private:
    void unit12(const TranslationUnit& unit);
    void content12(const TranslationUnit& unit);
    void unit21(const TranslationUnit& unit);

    XliffVersion version_;
    std::string xml_;
    std::size_t units_ = 0;
};

}  // namespace tessel::xliff
