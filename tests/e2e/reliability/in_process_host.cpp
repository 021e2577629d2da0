#include "in_process_host.h"

#include <cstdio>
#include <cstdlib>

#include "acad/arx_loader.h"
#include "acad/command_stack.h"
#include "acad/console.h"
#include "acad/lisp_functions.h"
#include "drawing_file.h"
#include "lisp/lisp.h"
#include "support/run_host.h"

InProcessHost::InProcessHost(const std::string& drawing, const std::string& registry) {
  setenv("ARXHOST_REGISTRY", registry.c_str(), 1);
  if (!drawing_file::open(drawing, m_error)) return;
  acad_console::beginCapture();
  m_ready = acad_arx::load(test_support::binPath("vrml.arx"), &m_error);
  // The module queues its menu loading for the command line; nobody runs it here.
  acad_lisp_functions::takeQueuedExpressions();
}

InProcessHost::~InProcessHost() {
  acad_arx::unload("vrml");
  acad_console::endCapture();
}

namespace {

// What `body` printed, with `answers` as its script.
template <typename Body>
std::string transcriptOf(const std::string& answers, Body body) {
  std::string script = answers;
  std::FILE* input = fmemopen(script.data(), script.size(), "r");
  acad_console::useScript(input);
  acad_console::endCapture();
  acad_console::beginCapture();
  body();
  acad_console::useScript(nullptr);
  std::fclose(input);
  std::string transcript = acad_console::endCapture();
  acad_console::beginCapture();  // what the module says at unloading stays off the output
  return transcript;
}

}  // namespace

std::string InProcessHost::run(const std::string& command, const std::string& answers) {
  const acad_commands::Registered* registered = acad_commands::find(command);
  if (!registered) return "no command " + command;
  return transcriptOf(answers, [registered] { acad_commands::run(*registered); });
}

std::string InProcessHost::evaluate(const std::string& expression) {
  return transcriptOf("", [&expression] { acad_lisp::evaluateAndPrint(expression); });
}
