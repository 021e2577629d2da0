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
  m_started = dxf::open(drawing);
  if (!m_started.ok()) return;
  acad::console::beginCapture();
  m_started = acad::arx::load(test_support::binPath("vrml.arx"));
  // The module queues its menu loading for the command line; nobody runs it here.
  acad::lisp_functions::takeQueuedExpressions();
}

InProcessHost::~InProcessHost() {
  static_cast<void>(acad::arx::unload("vrml"));  // not loaded when the start failed
  acad::console::endCapture();
}

namespace {

// What `body` printed, with `answers` as its script.
template <typename Body>
std::string transcriptOf(const std::string& answers, Body body) {
  std::string script = answers;
  std::FILE* input = fmemopen(script.data(), script.size(), "r");
  acad::console::useScript(input);
  acad::console::endCapture();
  acad::console::beginCapture();
  body();
  acad::console::useScript(nullptr);
  std::fclose(input);
  std::string transcript = acad::console::endCapture();
  acad::console::beginCapture();  // what the module says at unloading stays off the output
  return transcript;
}

}  // namespace

std::string InProcessHost::run(const std::string& command, const std::string& answers) {
  const acad::commands::Registered* registered = acad::commands::find(command);
  if (!registered) return "no command " + command;
  return transcriptOf(answers, [registered] { acad::commands::run(*registered); });
}

std::string InProcessHost::evaluate(const std::string& expression) {
  return transcriptOf("", [&expression] { lisp::evaluateAndPrint(expression); });
}
