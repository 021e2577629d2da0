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
  std::string error;
  if (!dxf::openFromMemory("fuzzed.dxf", bytes, error))
    return error.empty() ? broken("refused without a message") : Result{Result::Refused, error};
  // Whatever was read must save; the saved file must read back and save
  // to the same bytes.
  const std::string saved = scratchDirectory() + "/saved.dxf";
  if (!dxf::save(saved, error)) return broken("saving what was read failed: " + error);
  std::string first = fileBytes(saved);
  if (!dxf::openFromMemory(saved, first, error)) return broken("the saved drawing does not read: " + error);
  if (!dxf::save(saved, error)) return broken("saving the reread drawing failed: " + error);
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
