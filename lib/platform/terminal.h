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

// Standard input and output carry bytes as they are (on Windows they would
// otherwise turn line ends into CR LF and stop at a Ctrl-Z).
void useBinaryStandardStreams();

}  // namespace tessel::platform
