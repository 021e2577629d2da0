// Drawing files: read, save, read back, save again.
#include <fstream>
#include <iterator>

#include "drawing_file.h"
#include "entries/fuzz_entries.h"

namespace fuzz_entry {
namespace {

// What a binary drawing file starts with.
constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Result broken(const std::string& what) { return {Result::Broken, what}; }

Result readAndRoundTrip(std::string_view bytes) {
  support::Status step = dxf::openFromMemory("fuzzed.dxf", bytes);
  if (!step.ok())
    return step.message().empty() ? broken("refused without a message") : Result{Result::Refused, step.message()};
  // Whatever was read must save; the saved file must read back and save
  // to the same bytes.
  const std::string saved = scratchDirectory() + "/saved.dxf";
  if (!(step = dxf::save(saved)).ok()) return broken("saving what was read failed: " + step.message());
  std::string first = fileBytes(saved);
  if (!(step = dxf::openFromMemory(saved, first)).ok())
    return broken("the saved drawing does not read: " + step.message());
  if (!(step = dxf::save(saved)).ok()) return broken("saving the reread drawing failed: " + step.message());
  if (fileBytes(saved) != first) return broken("saving the reread drawing changed the file");
  return {};
}

Result roundTripAndRelease(std::string_view bytes) {
  Result result = readAndRoundTrip(bytes);
  releaseDrawing();
  return result;
}

}  // namespace

Result dxfText(std::string_view bytes) { return roundTripAndRelease(bytes); }

Result dxfBinary(std::string_view bytes) {
  std::string file(kBinarySentinel);
  file.append(bytes);
  return roundTripAndRelease(file);
}

}  // namespace fuzz_entry
