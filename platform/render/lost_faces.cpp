#include "lost_faces.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "support/command_line.h"

namespace render {

namespace {
// The facetter runs on the host's command thread only.
LostFaces& pending() {
  static LostFaces lost;
  return lost;
}
}  // namespace

void noteLostFaces(int count, const std::vector<std::string>& reasons) {
  LostFaces& lost = pending();
  lost.count += count;
  for (const std::string& reason : reasons)
    if (std::find(lost.reasons.begin(), lost.reasons.end(), reason) == lost.reasons.end())
      lost.reasons.push_back(reason);
}

LostFaces takeLostFaces() {
  LostFaces taken;
  std::swap(taken, pending());
  return taken;
}

std::string lostFacesLine(std::string_view type, uint64_t handle, const LostFaces& lost) {
  char head[64];
  // A body that could not be read at all has lost no faces one by one.
  if (lost.count > 0) std::snprintf(head, sizeof head, " %" PRIX64 ": %d face(s) lost", handle, lost.count);
  else std::snprintf(head, sizeof head, " %" PRIX64 ": not read", handle);
  std::string line = std::string(type) + head;
  for (size_t i = 0; i < lost.reasons.size(); ++i) line += (i == 0 ? ": " : "; ") + lost.reasons[i];
  return line;
}

void reportLostFaces(std::string_view type, uint64_t handle) {
  // Asked after every entity, and almost always with nothing lost: looked
  // at in place before anything is moved.
  const LostFaces& noted = pending();
  if (noted.count == 0 && noted.reasons.empty()) return;
  LostFaces lost = takeLostFaces();
  const char* notes = std::getenv("ARXHOST_FACET_NOTES");
  if (notes && std::string_view(notes) == "1") support::commandLine->write("\n" + lostFacesLine(type, handle, lost));
}

}  // namespace render
