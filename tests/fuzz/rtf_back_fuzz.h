// Shared body of the back-conversion fuzz targets: arbitrary bytes as the
// translated RTF of one back-conversion, run through its export.
#pragma once

#include <functional>

#include "job_fuzz.h"

namespace tessel::fuzz {

// The failures of every back-conversion; RTF that cannot be read (-401 to
// -405) keeps the text written up to the fault.
inline JobOutcome backOutcome(const char* output) {
    return {output,
            "back.ERR",
            {-401, -402, -404, -405},
            {-101, -102, -103, -106, -107, -108, -110, -114, -115, -401, -402, -403, -404, -405,
             -406, -407, -904}};
}

// Writes the input as "back.rtf" and runs `job` on it.
inline void runBack(const JobFolder& folder, std::string_view bytes, const char* output,
                    const char* job, const std::function<int(const char*)>& run) {
    folder.clear();
    std::string input = folder.write("back.rtf", bytes);
    int result = run(input.c_str());
    checkJob(folder, {{"back.rtf", std::string(bytes)}}, result, backOutcome(output), job);
}

}  // namespace tessel::fuzz
