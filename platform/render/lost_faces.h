// Faces the facetter had to leave out of an entity, and why: the export
// goes on with the faces it has, and a verbose run says what was lost.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace render {

struct LostFaces {
  int count = 0;
  std::vector<std::string> reasons;  // each once
};

// Adds to the losses of the entity being faceted.
void noteLostFaces(int count, const std::vector<std::string>& reasons);
// The losses noted since the last call, which starts them afresh.
LostFaces takeLostFaces();

// "3DSOLID 2F: 2 face(s) lost: <reason>; <reason>" ("3DSOLID 2F: not read:
// <reason>" when nothing was read), without a line end.
std::string lostFacesLine(std::string_view type, uint64_t handle, const LostFaces& lost);

// Writes that line to the host's transcript when the environment asks for
// facet notes (ARXHOST_FACET_NOTES=1, which a verbose batch export sets).
void reportLostFaces(std::string_view type, uint64_t handle);

}  // namespace render
