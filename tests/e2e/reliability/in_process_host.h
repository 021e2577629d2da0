// The host inside the test process: a drawing opened, the module loaded and
// its commands run from answer lines, so that the host allocator, the
// drawing and the transcript can be looked at between and around commands.
#pragma once
#include <string>

#include "support/status.h"

class InProcessHost {
 public:
  // Opens `drawing` and loads vrml.arx; `registry` is the file that stands in
  // for the system registry. ready() tells whether both worked.
  InProcessHost(const std::string& drawing, const std::string& registry);
  ~InProcessHost();
  InProcessHost(const InProcessHost&) = delete;
  InProcessHost& operator=(const InProcessHost&) = delete;

  bool ready() const { return m_started.ok(); }
  const std::string& error() const { return m_started.message(); }

  // Runs a registered command with `answers` as its script (one answer or
  // dialog action a line); the command's transcript.
  std::string run(const std::string& command, const std::string& answers);
  // Evaluates an AutoLISP expression as the command line does; its transcript
  // (what was printed, then the answer).
  std::string evaluate(const std::string& expression);

 private:
  support::Status m_started;
};
