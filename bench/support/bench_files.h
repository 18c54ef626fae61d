// Scratch files for the benchmarks.
#pragma once

#include <string>
#include <string_view>

namespace tessel::bench {

// A path in a scratch folder under the system's temporary folder, made once
// per run and removed with everything in it when the program ends.
std::string scratchPath(std::string_view name);

void writeBytes(const std::string& path, std::string_view bytes);

void removeIfPresent(const std::string& path);

}  // namespace tessel::bench
