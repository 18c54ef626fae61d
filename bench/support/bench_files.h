// Scratch files for the benchmarks and the plain copy they are measured
// against.
#pragma once

#include <string>
#include <string_view>

namespace tessel::bench {

// A scratch folder under the system's temporary folder, made once per run.
std::string scratchPath(std::string_view name);

void writeBytes(const std::string& path, std::string_view bytes);

// Reads `from` and writes it to `to` with plain buffered streams: the
// baseline every conversion is compared with.
void plainCopy(const std::string& from, const std::string& to);

void removeIfPresent(const std::string& path);

}  // namespace tessel::bench
