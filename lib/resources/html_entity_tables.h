// The HTML character entity tables: the decoding table (entity text to the
// character of code page 1252) and the encoding tables of the four modes.
#pragma once

#include <array>
#include <string_view>

namespace tessel::resources {

struct EntityDecoding {
    std::string_view entity;  // with "&" and ";"
    char character;
};

// Sorted in ascending byte order of the entity text (upper-case names before
// lower-case ones).
inline constexpr std::array<EntityDecoding, 115> kEntityDecodingTable = {{
    {"&AElig;", '\xC6'},  {"&Aacute;", '\xC1'}, {"&Acirc;", '\xC2'},  {"&Agrave;", '\xC0'},
    {"&Aring;", '\xC5'},  {"&Atilde;", '\xC3'}, {"&Auml;", '\xC4'},   {"&Ccedil;", '\xC7'},
    {"&ETH;", '\xD0'},    {"&Eacute;", '\xC9'}, {"&Ecirc;", '\xCA'},  {"&Egrave;", '\xC8'},
    {"&Euml;", '\xCB'},   {"&Iacute;", '\xCD'}, {"&Icirc;", '\xCE'},  {"&Igrave;", '\xCC'},
    {"&Iuml;", '\xCF'},   {"&Ntilde;", '\xD1'}, {"&OElig;", '\x8C'},  {"&Oacute;", '\xD3'},
    {"&Ocirc;", '\xD4'},  {"&Ograve;", '\xD2'}, {"&Oslash;", '\xD8'}, {"&Otilde;", '\xD5'},
    {"&Ouml;", '\xD6'},   {"&Scaron;", '\x8A'}, {"&THORN;", '\xDE'},  {"&Uacute;", '\xDA'},
    {"&Ucirc;", '\xDB'},  {"&Ugrave;", '\xD9'}, {"&Uuml;", '\xDC'},   {"&Yacute;", '\xDD'},
    {"&Yuml;", '\x9F'},   {"&aacute;", '\xE1'}, {"&acirc;", '\xE2'},  {"&acute;", '\xB4'},
    {"&aelig;", '\xE6'},  {"&agrave;", '\xE0'}, {"&aring;", '\xE5'},  {"&atilde;", '\xE3'},
    {"&auml;", '\xE4'},   {"&bdquo;", '\x84'},  {"&brkbar;", '\xA6'}, {"&brvbar;", '\xA6'},
    {"&ccedil;", '\xE7'}, {"&cedil;", '\xB8'},  {"&cent;", '\xA2'},   {"&copy;", '\xA9'},
    {"&curren;", '\xA4'}, {"&deg;", '\xB0'},    {"&divide;", '\xF7'}, {"&eacute;", '\xE9'},
    {"&ecirc;", '\xEA'},  {"&egrave;", '\xE8'}, {"&eth;", '\xF0'},    {"&euml;", '\xEB'},
    {"&frac12;", '\xBD'}, {"&frac14;", '\xBC'}, {"&frac34;", '\xBE'}, {"&iacute;", '\xED'},
    {"&icirc;", '\xEE'},  {"&iexcl;", '\xA1'},  {"&igrave;", '\xEC'}, {"&iquest;", '\xBF'},
    {"&iuml;", '\xEF'},   {"&laquo;", '\xAB'},  {"&ldquo;", '\x93'},  {"&lsaquo;", '\x8B'},
    {"&lsquo;", '\x91'},  {"&macr;", '\xAF'},   {"&mdash;", '\x97'},  {"&micro;", '\xB5'},
    {"&middot;", '\xB7'}, {"&nbsp;", '\xA0'},   {"&ndash;", '\x96'},  {"&not;", '\xAC'},
    {"&ntilde;", '\xF1'}, {"&oacute;", '\xF3'}, {"&ocirc;", '\xF4'},  {"&oelig;", '\x9C'},
    {"&ograve;", '\xF2'}, {"&ordf;", '\xAA'},   {"&ordm;", '\xBA'},   {"&oslash;", '\xF8'},
    {"&otilde;", '\xF5'}, {"&ouml;", '\xF6'},   {"&para;", '\xB6'},   {"&permil;", '\x89'},
    {"&plusmn;", '\xB1'}, {"&pound;", '\xA3'},  {"&quot;", '\x22'},   {"&raquo;", '\xBB'},
    {"&rdquo;", '\x94'},  {"&reg;", '\xAE'},    {"&rsaquo;", '\x9B'}, {"&rsquo;", '\x92'},
    {"&sbquo;", '\x82'},  {"&scaron;", '\x9A'}, {"&sect;", '\xA7'},   {"&shy;", '\xAD'},
    {"&sup1;", '\xB9'},   {"&sup2;", '\xB2'},   {"&sup3;", '\xB3'},   {"&szlig;", '\xDF'},
    {"&thorn;", '\xFE'},  {"&times;", '\xD7'},  {"&trade;", '\x99'},  {"&uacute;", '\xFA'},
    {"&ucirc;", '\xFB'},  {"&ugrave;", '\xF9'}, {"&uml;", '\xA8'},    {"&uuml;", '\xFC'},
    {"&yacute;", '\xFD'}, {"&yen;", '\xA5'},    {"&yuml;", '\xFF'},
}};

// Entities of the characters 0xA0 to 0xFF, in character order.
inline constexpr std::array<std::string_view, 96> kLatin1Entities = {
    "&nbsp;",   "&iexcl;",  "&cent;",   "&pound;",  "&curren;", "&yen;",    "&brvbar;", "&sect;",
    "&uml;",    "&copy;",   "&ordf;",   "&laquo;",  "&not;",    "&shy;",    "&reg;",    "&macr;",
    "&deg;",    "&plusmn;", "&sup2;",   "&sup3;",   "&acute;",  "&micro;",  "&para;",   "&middot;",
    "&cedil;",  "&sup1;",   "&ordm;",   "&raquo;",  "&frac14;", "&frac12;", "&frac34;", "&iquest;",
    "&Agrave;", "&Aacute;", "&Acirc;",  "&Atilde;", "&Auml;",   "&Aring;",  "&AElig;",  "&Ccedil;",
    "&Egrave;", "&Eacute;", "&Ecirc;",  "&Euml;",   "&Igrave;", "&Iacute;", "&Icirc;",  "&Iuml;",
    "&ETH;",    "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;",  "&Otilde;", "&Ouml;",   "&times;",
    "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;",  "&Uuml;",   "&Yacute;", "&THORN;",  "&szlig;",
    "&agrave;", "&aacute;", "&acirc;",  "&atilde;", "&auml;",   "&aring;",  "&aelig;",  "&ccedil;",
    "&egrave;", "&eacute;", "&ecirc;",  "&euml;",   "&igrave;", "&iacute;", "&icirc;",  "&iuml;",
    "&eth;",    "&ntilde;", "&ograve;", "&oacute;", "&ocirc;",  "&otilde;", "&ouml;",   "&divide;",
    "&oslash;", "&ugrave;", "&uacute;", "&ucirc;",  "&uuml;",   "&yacute;", "&thorn;",  "&yuml;",
};

struct EntityEncoding {
    unsigned char character;
    std::string_view replacement;
};

// Named entities of the code-page-1252 punctuation (0x80 to 0x9F).
inline constexpr EntityEncoding kNamed1252Entities[] = {
    {0x82, "&sbquo;"},  {0x84, "&bdquo;"},  {0x89, "&permil;"}, {0x8A, "&Scaron;"},
    {0x8B, "&lsaquo;"}, {0x8C, "&OElig;"},  {0x91, "&lsquo;"},  {0x92, "&rsquo;"},
    {0x93, "&ldquo;"},  {0x94, "&rdquo;"},  {0x96, "&ndash;"},  {0x97, "&mdash;"},
    {0x9A, "&scaron;"}, {0x9B, "&rsaquo;"}, {0x9C, "&oelig;"},  {0x9F, "&Yuml;"},
};

// Compatible HTML: the same punctuation as plain characters or basic entities.
inline constexpr EntityEncoding kCompatible1252Entities[] = {
    {0x82, "&#39;"}, {0x84, "&quot;"}, {0x8B, "&lt;"},   {0x8C, "OE"}, {0x91, "&#39;"},
    {0x92, "&#39;"}, {0x93, "&quot;"}, {0x94, "&quot;"}, {0x95, "*"},  {0x96, "-"},
    {0x97, "-"},     {0x9B, "&gt;"},   {0x9C, "oe"},
};

// Markup characters of plain text; "&" is handled before them (see below).
inline constexpr EntityEncoding kAsciiEntities[] = {
    {'\t', "&#09;"},
    {0x22, "&quot;"},
    {'<', "&lt;"},
    {'>', "&gt;"},
};
inline constexpr std::string_view kAmpersandEntity = "&amp;";

}  // namespace tessel::resources
