// AutoLISP text evaluated with a drawing open and scripted answers.
#include <cstdio>
#include <memory>

#include "acad/console.h"
#include "dbbuild.h"
#include "entries/fuzz_entries.h"
#include "lisp/lisp.h"

// Tag tables stay one entity a line: the formatter would give every tag a line of its own.
// clang-format off

namespace fuzz_entry {
namespace {

// A small drawing for the entity and selection functions to find.
void openSmallDrawing() {
  db::build::newDrawing();
  db::build::addLayer("walls", 1);
  db::build::addEntity("LINE", {{8, "walls"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "2"}, {31, "0"}});
  db::build::addEntity("3DFACE", {{8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "0"}, {31, "0"},
                                   {12, "1"}, {22, "1"}, {32, "0"}, {13, "0"}, {23, "1"}, {33, "0"}});
  db::build::addEntity("CIRCLE", {{8, "walls"}, {10, "5"}, {20, "5"}, {30, "0"}, {40, "2"}, {39, "1"}});
}

// Answers for the prompts: the given bytes, or none at all.
std::FILE* answersFile(std::string& answers) {
  if (answers.empty()) return std::fopen("/dev/null", "rb");
  return fmemopen(answers.data(), answers.size(), "rb");
}

}  // namespace

Result lisp(std::string_view bytes) {
  size_t split = bytes.find('\0');
  std::string text(bytes.substr(0, split));
  std::string answers(split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1));
  openSmallDrawing();
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> script(answersFile(answers), std::fclose);
  if (!script) return {Result::Broken, "no file for the answers"};
  acad::console::useScript(script.get());
  acad::console::beginCapture();
  bool ok = lisp::evaluateAndPrint(text);
  std::string transcript = acad::console::endCapture();
  acad::console::useScript(nullptr);
  if (ok) return {};
  if (transcript.find("; error: ") == std::string::npos)
    return {Result::Broken, "failed without an error message: " + transcript};
  return {Result::Refused, transcript};
}

}  // namespace fuzz_entry
// clang-format on
