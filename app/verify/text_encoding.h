// The characters behind the bytes of a tagged text: which encoding a side of
// the round trip is in, and its text decoded to characters with the HTML
// entities of the library's tables taken as the characters they stand for.
// Two texts are alike for the "entities" rule only when they decode to the
// same characters, each in its own encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/code_page_codec.h"

namespace tessel::verify {

// UTF-8, a Windows code page with a table, or bytes of an encoding without
// one, which stand for no known character.
struct TextEncoding {
    enum class Form { Utf8, CodePage, UnknownBytes };
    Form form = Form::CodePage;
    const platform::CodePageCodec* codec = &platform::CodePageCodec::windows1252();

    static TextEncoding utf8() { return {Form::Utf8, nullptr}; }
    static TextEncoding windows1252() { return {}; }
    static TextEncoding unknownBytes() { return {Form::UnknownBytes, nullptr}; }
    bool operator==(const TextEncoding&) const = default;
};

// The Windows code page of an encoding name as HTML and XML declare it
// ("windows-1251", "iso-8859-1", "Shift_JIS"; case does not matter), read
// by the library's one name parser (frame/encoding_names.h): 65001 for
// UTF-8 (and for a UTF-16 name, which text read as ASCII cannot be), 0 for
// a name without a page that has a table.
int codePageOfEncodingName(std::string_view name);

// The encoding of an HTML, XHTML, XML or SGML text, decided as the mark-up
// decides it: a UTF-8 byte-order mark; else the first "charset=" of a META
// tag or the "encoding=" of an XML declaration near the start; else UTF-8
// when the text is valid UTF-8 with multi-byte sequences; else Windows 1252.
// A declared name without a table, and a UTF-16 byte-order mark, give
// unknown bytes: no entity is taken to stand for one of them.
TextEncoding encodingOfTaggedText(std::string_view text);

// A side of the round trip as the comparison reads it: UTF-16 (a byte-order
// mark FF FE or FE FF) decoded to UTF-8 after the UTF-8 mark, so that lines,
// columns and characters are those of its text; any other text as it is.
std::string comparableText(std::string_view bytes);

// The length of the valid UTF-8 sequence of two to four bytes at `at` (no
// overlong form, no surrogate, nothing above U+10FFFF), or 0.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at);

// The character at `at` in `encoding` (U+FFFD for bytes that form none, a
// kept byte for each byte from 0x80 up of unknown bytes); moves `at` past it.
char32_t nextCharacter(std::string_view text, std::size_t& at, const TextEncoding& encoding);

// `text` as UTF-8 characters: every entity of the library's decoding table
// and every numeric reference taken as its character (references from 128
// to 159 as the Windows 1252 characters of those bytes, as browsers take
// them), every other byte read in `encoding`.
std::string charactersOf(std::string_view text, const TextEncoding& encoding);

}  // namespace tessel::verify
