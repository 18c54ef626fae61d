// The HTML-to-RTF job: reads an HTML file line by line, marks up each line,
// joins the lines into paragraphs and writes the RTF file and the error log.
#pragma once

#include <string>

namespace tessel::markup {

// Converts `input` to the RTF file of the same name with extension "rtf",
// logging to the extension "ERR". `tagFile` names the user's tag definition
// file, empty for none. Returns the change count, -113 when the log holds
// messages, or a failure code (the output is then removed).
int runHtmlToRtf(const std::string& input, const std::string& tagFile);

}  // namespace tessel::markup
