// Whether the program runs on a terminal, for prompts that only make sense
// when someone can answer them.
#pragma once

namespace tessel::platform {

// True when standard input is a terminal.
bool standardInputIsTerminal();

// True when standard error is a terminal.
bool standardErrorIsTerminal();

// True when standard input and standard error are both terminals.
bool promptTerminalAvailable();

}  // namespace tessel::platform
