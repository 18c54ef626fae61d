// Expected bytes of the mark-up jobs' files: what a text-mode stream writes,
// the RTF document around a body, the openings of the tag runs and the parts
// of an error log.
#pragma once

#include <string>

#include "resources/rtf_texts.h"

namespace tessel::test {

inline const std::string kInternalRun = "{\\cs6\\cf6\\f1\\lang1024 ";
inline const std::string kExternalRun = "{\\cs5\\cf15\\f1\\lang1024 ";
inline const std::string kLogSeparator(58, '-');
inline const std::string kLogRule(115, '-');

// What a text-mode stream writes for `text`: every line feed as CR LF.
inline std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// A marked-up document: the fixed header, the body and the closing brace.
inline std::string rtfDocument(const std::string& body) {
    return crlf(std::string(tessel::resources::kRtfHeader) + body + "}");
}

// A quoted text segment of a log message.
inline std::string quotedSegment(const std::string& text) {
    return kLogSeparator + "\n" + text + "\n" + kLogSeparator + "\n";
}

// The log header with the date replaced as withoutDate() does.
inline std::string logHeader(const std::string& parserTitle, const std::string& path,
                             const std::string& functionTitle) {
    return "\t\tError Log File from Tessel CAT Tools " + parserTitle +
           "\n\nDLL Version:\tVersion 1.09\nDate:\t<date>\nFile:\t" + path + "\nFunction:\t" +
           functionTitle + "\n" + kLogRule + "\n";
}

}  // namespace tessel::test
