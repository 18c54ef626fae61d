// How the converters read a source that is neither Windows 1252 nor the
// Macintosh set: UTF-8, or another single-byte Windows code page. The text
// and the tag text of such a source are decoded character by character; a
// character that Windows 1252 holds is written as its 1252 byte, escaped as
// a 1252 source's byte is, every other one as RTF's Unicode escape with a
// fallback, so the converters' RTF header (Windows 1252) stays as it is.
// A byte that is not UTF-8 in a UTF-8 source is written as the private
// character that stands for the byte (platform/code_page_codec.h), so it
// comes back as that byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/code_page_codec.h"

namespace tessel::dtp {

struct SourceCharacters {
    bool utf8 = false;
    // The single-byte code page of a legacy source; null for UTF-8 and for
    // Windows 1252, whose bytes are written as they stand.
    const platform::CodePageCodec* codePage = nullptr;
    // UTF-16 units of a UTF-16 source that paired with none; its UTF-8 copy
    // holds U+FFFD in their place.
    std::size_t unpairedUtf16Units = 0;

    bool decodes() const { return utf8 || codePage != nullptr; }
};

namespace detail {
inline SourceCharacters activeSourceCharacters;
}

// The decoding of the running converter's source; decodes() false for the
// Windows 1252 and Macintosh sources. Set by the converter for one run.
inline SourceCharacters& activeSourceCharacters() {
    return detail::activeSourceCharacters;
}

// Sets the decoding for the life of the object; the default again after it.
class ScopedSourceCharacters {
  public:
    explicit ScopedSourceCharacters(const SourceCharacters& characters) {
        activeSourceCharacters() = characters;
    }
    ~ScopedSourceCharacters() { activeSourceCharacters() = {}; }
    ScopedSourceCharacters(const ScopedSourceCharacters&) = delete;
    ScopedSourceCharacters& operator=(const ScopedSourceCharacters&) = delete;
};

// The decoding of an encoding name as the library reads names
// (frame/encoding_names.h: "utf-8", "windows-1250", "cp1251", "1253",
// "iso-8859-6", any case); nothing is decoded for Windows 1252, for names of
// no single-byte page with a table (UTF-16 included), and for an empty name.
SourceCharacters sourceCharactersNamed(std::string_view name);

// How a converter without an encoding declaration of its format reads the
// file at `path`: UTF-8 after a UTF-8 byte-order mark, else in the encoding
// the user chose (encoding_choice.h), else (nothing decoded) as today.
SourceCharacters undeclaredSourceCharacters(const std::string& path);
// True when the file at `path` starts with the UTF-8 byte-order mark.
bool startsWithUtf8ByteOrderMark(const std::string& path);

// True when `text` holds bytes that the source's encoding gives no
// character: a byte outside a well-formed UTF-8 sequence in a UTF-8 source,
// an undefined byte of its code page. False for a source not decoded.
bool holdsUndecodableBytes(std::string_view text, const SourceCharacters& characters);

// Appends one decoded character outside ASCII: its 1252 byte escaped, or
// the Unicode escape ("\u-3937?"; a character beyond U+FFFF as two).
void appendRtfCharacter(std::string& out, char32_t c);

// Text between pieces of a decoding source, escaped, each single line break
// between running words joined as appendConverterRtfText() joins them.
void appendDecodedRtfText(std::string& out, std::string_view text,
                          const SourceCharacters& characters, bool joinLines);
// Tag text of a decoding source, escaped (line ends as paragraph marks).
void appendDecodedRtfEscaped(std::string& out, std::string_view text,
                             const SourceCharacters& characters);

}  // namespace tessel::dtp
