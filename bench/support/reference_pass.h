// The reference pass the jobs' throughput is compared with: the shared byte
// loop program (read in 64 KB blocks, map every byte through a table, write),
// run on the same input in the same benchmark run.
#pragma once

#include <string>

namespace tessel::bench {

// True when the benchmarks were built with the reference program.
bool referencePassAvailable();

// Runs the reference program on `from`, writing `to`; false when it is not
// available or fails. Each run includes starting the program (about a
// millisecond), which is small next to a 10 MB pass.
bool runReferencePass(const std::string& from, const std::string& to);

}  // namespace tessel::bench
