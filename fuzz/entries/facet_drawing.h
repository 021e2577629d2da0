// Fuzzed bytes to a small drawing of the kinds of entity the facetter cuts.
#pragma once
#include <string>
#include <string_view>

namespace fuzz_entry {

// Decodes `bytes` into a DXF file in text form: up to three blocks (named
// B0, B1, B2; inserts may name any of them, their own included) and one to
// three entities, each one of 3DFACE, SOLID, TRACE, LINE, ARC, CIRCLE,
// LWPOLYLINE, POLYLINE with its vertices, MESH or INSERT. The bytes choose
// the types, the counts and every value (numbers from a palette of awkward
// ones or raw doubles, always finite so the reader takes them) and add a few
// stray tags. Bytes that run out read as zeros, so any input decodes.
std::string facetDrawing(std::string_view bytes);

}  // namespace fuzz_entry
