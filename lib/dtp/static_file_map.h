// The process-wide map between source file names and the numbers that pieces
// carry as their file reference.
#pragma once

#include <cstdint>
#include <string>

namespace tessel::dtp {

// The number of `name`: the next free number (from 1) at its first
// registration, the same number afterwards.
std::int32_t registerSourceFile(const std::string& name);

// The name registered under `number`; empty for a number never given out.
std::string sourceFileName(std::int32_t number);

// True when `number` names a file with a non-empty name.
bool namesSourceFile(std::int32_t number);

}  // namespace tessel::dtp
