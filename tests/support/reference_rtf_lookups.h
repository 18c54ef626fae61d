// What the reference RTF reader looks up: what each control word does
// (from the keyword tables of resources/rtf_keywords.h) and the code page
// the bytes of a font are read in.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/code_page_codec.h"
#include "resources/rtf_keywords.h"

namespace tessel::testing {

struct ReferenceWord {
    enum class Kind {
        Unknown,  // in neither table
        NoEffect,
        Hidden,     // "v"
        Plain,      // "plain"
        Character,  // a Windows 1252 byte, `byte`
        Destination,
        Footnote,
        FontTable,
        Binary,  // "bin"
        Hex,     // "'"
        Star,    // "*"
        Text,    // a word of the text table, `text`
    };
    Kind kind = Kind::Unknown;
    int byte = 0;
    resources::RtfTextWord text = resources::RtfTextWord::Unicode;
};

// The word (or control symbol) `name`; Kind::Unknown when no table has it.
ReferenceWord findReferenceWord(std::string_view name);

// A font table entry: "\fcharsetN" (1, the default: the document's page) and
// "\cpgN".
struct ReferenceFont {
    int charset = 1;
    int codePage = 0;
};
using ReferenceFonts = std::map<std::int32_t, ReferenceFont>;

// The page the bytes of font `number` are read in (null: kept bytes, a
// symbol font): its "\cpgN" when there is a table of that page, else the
// page of its "\fcharsetN", else the document's. A font the table lacks
// takes the document's.
const platform::CodePageCodec* referenceCodingOf(const ReferenceFonts& fonts, std::int32_t number,
                                                 const platform::CodePageCodec* document);

// `bytes` as UTF-8, read in `codec` (null: kept bytes), a lead byte with its
// trail byte as one character.
std::string referenceBytesAsText(std::string_view bytes, const platform::CodePageCodec* codec);

}  // namespace tessel::testing
