// HTML character entities in both directions: entities to the characters of
// code page 1252 before HTML is marked up, and characters to entities when
// text or translated RTF is written back as HTML or SGML.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tessel::markup {

// Replaces the entities of the decoding table and the numeric references
// ("&#233;", "&#xE9;") from 1 to 255 by their characters. An entity is the
// text from "&" to the first ";" at most 15 characters after it; anything
// else, and every reference outside 1..255, is left as it stands. Returns the
// number of replacements.
int funcHTMLEntitiesToChars(std::string& line);

// The decoding for lines already escaped for RTF and about to be marked up:
// as funcHTMLEntitiesToChars, except that numeric references to characters
// that would break the RTF or change the markup ("\\", "{", "}", "<", ">",
// "&", "\"" and control characters other than tab) stay references, so they
// are protected as entities and written back unchanged.
int decodeEntitiesForMarkup(std::string& line);

// An "&" that decodeEntitiesForMarkup left: where it stands in the decoded
// line, and how many bytes after it the first ";" within the 15 stands
// (kNoEntityEnd when none does).
struct LeftAmpersand {
    std::size_t at;
    std::size_t semicolon;
};
inline constexpr std::size_t kNoEntityEnd = static_cast<std::size_t>(-1);

// Every "&" the decoding left, in order. `exact` holds while none of them
// had another "&" in its reach (up to its ";", or the 15 bytes after it when
// there is none): only then is the decoded text in that reach the text that
// was read, so that the list tells what a search of the decoded line would.
struct LeftAmpersands {
    std::vector<LeftAmpersand> list;
    bool exact = true;
};

// decodeEntitiesForMarkup that also notes the "&" it leaves in `left`.
int decodeEntitiesForMarkup(std::string& line, LeftAmpersands& left);

// Encoding modes of funcCharsToHTMLEntities.
enum EntityMode : int {
    kEntitiesNamed = 0,             // plain text to HTML with named entities
    kEntitiesCompatible = 1,        // plain text to compatible HTML
    kEntitiesNamedMarkup = 2,       // restored HTML/SGML: markup characters stay
    kEntitiesCompatibleMarkup = 3,  // restored HTML: compatible punctuation
};

// Replaces the characters that the tables of `mode` convert by their
// entities; in modes 0 and 1 every "&" becomes "&amp;" too (not counted).
// Returns the number of characters replaced, -103 when memory runs out, or
// -1000 for a mode other than 0 to 3 (the line is then left alone).
int funcCharsToHTMLEntities(std::string& line, int mode);

}  // namespace tessel::markup
