// The command line as the folders below the host's services see it: the
// transcript they write to and the answers they read. The console in acad/
// owns the command line and sits above them, so the host connects it here at
// load time and they never include it.
#pragma once
#include <string>

#include "support/port.h"

namespace support {

class CommandLine {
 public:
  // Appends text to the transcript.
  virtual void write(const std::string& text) = 0;
  // Shows a prompt and takes one answer; false when the input has run out or
  // the person cancelled.
  virtual bool readLine(const std::string& prompt, std::string& answer) = 0;
  // Shows the next line of the input without taking it; false at its end.
  virtual bool peekLine(std::string& line) = 0;
  // True when a person answers at a terminal.
  virtual bool interactive() = 0;
  // The file a person named at a prompt for a file to create since the
  // current command started ("" when none).
  virtual const std::string& fileToCreate() = 0;

 protected:
  ~CommandLine() = default;
};

extern Port<CommandLine> commandLine;

}  // namespace support
