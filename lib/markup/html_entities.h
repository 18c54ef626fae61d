// HTML character entities in both directions: entities to the characters of
// code page 1252 before HTML is marked up, and characters to entities when
// text or translated RTF is written back as HTML or SGML.
#pragma once

#include <cstddef>
#include <string>

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
