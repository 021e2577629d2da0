// The host's command line: the transcript it writes and the answers it reads,
// from a person at a terminal or from the lines of a script.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace acad::console {

// Appends text to the command-line transcript (standard output, or the
// capture while one is active). Prompts begin with "\n" as the host's do; the
// line end of an answer typed at a terminal stands for it, so no blank lines
// appear.
void write(const std::string& text);

// True when the transcript written so far ends with `text` (up to 64 characters).
bool transcriptEndsWith(std::string_view text);
// True when the next text written starts a line (nothing written yet, or a line end last).
bool atLineStart();
// A module's message (ads_printf): written as text is, and counted, so that
// what follows it can start a line of its own.
void writeMessage(const std::string& text);
uint64_t messageCount();

// Shows a prompt and takes one answer: the next line of the script, or a line
// typed at the terminal. False when the input has run out or the person
// cancelled (Esc, Ctrl+C, Ctrl+D); the caller then ends what it was doing as
// on Cancel. A script's answer is echoed after its prompt as if typed.
bool readLine(const std::string& prompt, std::string& answer);

// The same for the command prompt itself: input running out there (or
// Ctrl+D) is the normal end of a session, not an unanswered prompt; a
// cancelled line reads as an empty one.
bool readCommand(const std::string& prompt, std::string& line);

// Shows the next line of the input without taking it; false at its end.
bool peekLine(std::string& line);

// True when a person answers at a terminal (dialogs then draw themselves).
bool interactive();

// True when the last read found the input ended for good (not cancelled).
bool inputClosed();

// Set by the host: where answers come from. A null script means the terminal
// (or standard input when it is not one).
void useScript(std::FILE* script);
void setInteractive(bool interactive);

// Counts the prompts left unanswered since start-up; the batch mode reports them.
int exhaustedCount();

// Collects the transcript in memory instead of writing it (for tests);
// endCapture() hands it over and writes to standard output again.
void beginCapture();
std::string endCapture();

}  // namespace acad::console
