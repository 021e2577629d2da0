// The frame of a generated drawing: sections, tables and the entity
// preamble for release 12 (no handles) or 2000 (handles, owners, subclass
// markers).
#pragma once
#include <cstdint>

#include "dxf_text_out.h"

enum class DxfRelease { R12, R2000 };

class DrawingWriter {
 public:
  DrawingWriter(DxfTextOut& out, DxfRelease release) : m_out(out), m_release(release) {}

  // Header, tables and blocks, then opens the ENTITIES section.
  void begin();
  // Closes ENTITIES, writes the objects (2000) and the end of file.
  void end();

  // Type, handle, owner, layer and the subclass markers that follow the
  // common entity marker. Returns the entity's handle (0 in release 12).
  uint64_t entity(const char* type, const char* subclass, const char* secondSubclass = nullptr, uint64_t owner = 0);

  bool handles() const { return m_release == DxfRelease::R2000; }
  DxfTextOut& out() { return m_out; }

 private:
  void header();
  void tables();
  void table(const char* name, uint64_t handle, int entries);
  void blocks();
  // A block's BLOCK or ENDBLK up to its subclass marker; paper space is flagged.
  void blockPart(const char* type, uint64_t handle, uint64_t recordHandle, const char* subclass);
  void block(const char* name, uint64_t recordHandle, uint64_t blockHandle, uint64_t endHandle);
  void objects();
  uint64_t next() { return m_nextHandle++; }

  DxfTextOut& m_out;
  DxfRelease m_release;
  // Handles below this are the fixed ones of the frame.
  uint64_t m_nextHandle = 0x100;
};
