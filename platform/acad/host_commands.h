// Commands of the host itself (ARX, OPEN, MENULOAD ...), reached from the
// command line and from ads_command. Each command asks for its answers through
// `Answers`, so the same code serves a person, a script and ads_command.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace acad::host_commands {

class Answers {
 public:
  virtual ~Answers() = default;
  // Shows `prompt` and takes the next answer. False when none is left; the
  // command then ends as on Cancel.
  virtual bool next(const std::string& prompt, std::string& answer) = 0;
};

// Runs the command with its answers; false when it failed or was cancelled.
using Command = std::function<bool(Answers& answers)>;

// Registers a host command under its English name (e.g. "MENULOAD") with a
// one-line summary for HELP. Names are matched without regard to case; a
// leading "_" (English name) and "." (the built-in command) are accepted in
// front of a name when it is looked up.
void add(const std::string& name, Command command, const std::string& summary = "");

struct Listed {
  std::string name;
  std::string summary;
};
// Every host command with its summary, by name.
std::vector<Listed> listed();

// Strips the "_" and "." prefixes; e.g. "_.menuload" -> "menuload".
std::string baseName(const std::string& typed);

// True when `answer` is a prefix (any case, at least one letter) of `keyword`.
bool picks(const std::string& answer, const std::string& keyword);

// True when `typed` names a host command.
bool exists(const std::string& typed);

// Runs the host command named `typed`; false when there is none or it failed.
bool run(const std::string& typed, Answers& answers);

// Answers taken from the command line (the script or the terminal).
class ConsoleAnswers : public Answers {
 public:
  bool next(const std::string& prompt, std::string& answer) override;
};

}  // namespace acad::host_commands
