// Reads an XLIFF 1.2 or 2.1 file as a translation tool gives it back: the
// header this tool wrote (original, format, fingerprint) and, for each
// unit, its source and target as text and inline codes. Codes are told by
// what they stand for (opening, closing, single) and their id, so the merge
// can find the tag each one came from; the tags' text in the file is kept
// only for codes the merge does not know.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "xliff/translation_units.h"
#include "xliff/xliff_writer.h"

namespace tessel::xliff {

struct XliffPart {
    bool isCode = false;
    std::string text;  // text, or the code's content as the file has it
    CodeKind kind = CodeKind::Single;
    std::string id;  // the code's id (1.2 and 2.1's id, or 2.1's startRef of a closing code)
};

struct XliffUnit {
    std::string id;
    std::vector<XliffPart> source;
    std::vector<XliffPart> target;
    bool hasTarget = false;
    // 1.2's state of the target ("needs-translation", "translated", ...), or
    // 2.1's state of the last segment; empty when none is given.
    std::string state;
    std::size_t line = 0;
    // Translated: a target that is not the source still waiting for its
    // translation (a 1.2 target marked "new" or "needs-translation", a 2.1
    // segment "initial", the same text and codes as the source).
    bool translated() const;
};

struct XliffFile {
    XliffVersion version = XliffVersion::V1_2;
    std::string original;
    std::string format;
    std::string fingerprint;
    std::vector<XliffUnit> units;
    // Unit id to its place in `units`.
    std::unordered_map<std::string, std::size_t> byId;
};

// Reads `document`; false with `problem` ("line 12: ...") when it is not
// well-formed XML or not an XLIFF file of this tool's.
bool readXliff(std::string_view document, XliffFile& file, std::string& problem);

// The text of a unit's parts with each code as "{kind id}": two units with
// the same key have the same text and codes in the same order.
std::string partsKey(const std::vector<XliffPart>& parts);
std::string partsKey(const TranslationUnit& unit);

}  // namespace tessel::xliff
