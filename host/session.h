// The host's command line: reads command lines, runs host commands, the
// commands of loaded modules and AutoLISP, and evaluates what modules queue.
#pragma once
#include <string>

namespace host_session {

// Runs one command line: AutoLISP when it starts with "(" or "!", else a
// command name (any case). False when the command is unknown or failed.
bool execute(const std::string& line);

// Evaluates the AutoLISP expressions modules queued, as if typed; false when
// one of them failed.
bool evaluateQueue();

// Reads and runs command lines until the input ends or QUIT. Answers true
// when every command succeeded.
bool run();

// Ends run() after the current command (the QUIT command).
void requestQuit();
bool quitRequested();

}  // namespace host_session
