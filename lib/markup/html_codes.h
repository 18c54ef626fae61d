// Codes of the HTML and SGML mark-up: message codes that the log turns into
// numbered messages, and the failures of the tag files.
#pragma once

namespace tessel::markup {

enum HtmlCode : int {
    kTagWithNoEnd = -1201,               // a tag or block still open at end of input
    kTagWithNoStart = -1202,             // SGML: ">" without a "<" before it
    kUnplacedTagStart = -1203,           // SGML: a "<" that begins no markup, kept as text
    kMissingNullEndTag = -1204,          // SGML: "<tt/" whose "/" does not come on its line
    kTagFileWithoutTags = -1301,         // SGML: the tag file exists but holds no tags
    kNoTagFile = -1302,                  // SGML: no tag file where the job needs one
    kAmpersandWithoutSemicolon = -1305,  // "&" without ";" outside a tag
    kBytesNotInEncoding = -1503,         // bytes the source's encoding has no character for
    kUnreadEncodingDeclared = -1504,     // the source declares an encoding not read here
    kUnpairedUtf16Units = -1505,         // UTF-16 surrogates without their other half
    kInvalidTagClass = -2201,            // class letters without meaning (ends the job)
    kUnknownHtmlTag = -2202,
    kScriptEndWithoutBracket = -2203,  // "</SCRIPT" with no ">" on the line
    kMissingEndQuote = -2204,          // translatable attribute value not closed
    kNestedHtmlTag = -2205,
    kBadTagFileLine = -2206,       // tag definition file line breaks the rules
    kTagSortsBeforeEntry = -2207,  // lookup: the tag sorts before the entry
};

}  // namespace tessel::markup
