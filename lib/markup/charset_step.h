// The charset step of multilingual HTML: after the RTF-back job has written
// an HTML file whose text keeps the bytes of a chosen code page, the file's
// META tags must declare that code page's charset. The step sets every
// "charset=" value of a META tag that differs from the charset name, or,
// when there is none, inserts a META line just after the HEAD start tag (at
// the very start of a file without one). The file is rewritten beside
// itself and replaced in one step, so that a failure leaves it as it was.
//
// Usage, at the end of the RTF-back job for function code 515 (the job's log
// open, its job state counting messages):
//   int step = markup::runCharsetStep(job.output, codePage, charsetName, log);
//   // step < 0: the log holds why; the job ends with -113.
#pragma once

#include <string>
#include <string_view>

#include "frame/error_log.h"

namespace tessel::markup {

// Results besides 0 and frame::kErrorsInLog (-113: the parser wrote messages,
// the file is rewritten as far as the parse found its declarations).
inline constexpr int kCharsetParserFailed = -1;      // the parser could not be built
inline constexpr int kCharsetNotApplied = -2;        // the file could not be rewritten
inline constexpr int kInvalidCodePageValue = -2208;  // no usable charset name

// Runs the step on `htmlPath`. `charsetName` empty: the name of `codePage`
// from the library's table. Messages go to `log`, numbered on from the job's
// next message number, which the step advances; every negative result has
// written to the log and set the job's messages-written flag.
int runCharsetStep(const std::string& htmlPath, unsigned codePage, std::string_view charsetName,
                   frame::ErrorLog& log);

}  // namespace tessel::markup
