#include "usage_error.h"

#include <ostream>

#include "exit_codes.h"
#include "tool_texts.h"

namespace tessel::cli {

int usageError(std::ostream& err, std::string_view problem, std::string_view command) {
    err << fill(text::kUsageProblem, {problem}) << fill(text::kTryHelp, {command});
    return kExitUsageError;
}

}  // namespace tessel::cli
