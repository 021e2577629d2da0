#include "drawing_writer.h"

namespace {

// Fixed handles of the frame; entities start above them.
enum : uint64_t {
  kBlockRecordTable = 0x1,
  kLayerTable = 0x2,
  kStyleTable = 0x3,
  kLinetypeTable = 0x5,
  kAppidTable = 0x9,
  kRootDictionary = 0xC,
  kGroupDictionary = 0xD,
  kLayerZero = 0x10,
  kStyleStandard = 0x11,
  kAppidAcad = 0x12,
  kLinetypeContinuous = 0x16,
  kPaperSpaceRecord = 0x1B,
  kPaperSpaceBlock = 0x1C,
  kPaperSpaceEnd = 0x1D,
  kModelSpaceRecord = 0x1F,
  kModelSpaceBlock = 0x20,
  kModelSpaceEnd = 0x21,
};

}  // namespace

void DrawingWriter::begin() {
  header();
  tables();
  blocks();
  m_out.text(0, "SECTION");
  m_out.text(2, "ENTITIES");
}

void DrawingWriter::end() {
  m_out.text(0, "ENDSEC");
  if (handles()) objects();
  m_out.text(0, "EOF");
}

uint64_t DrawingWriter::entity(const char* type, const char* subclass, const char* secondSubclass, uint64_t owner) {
  m_out.text(0, type);
  if (!handles()) {
    m_out.text(8, "0");
    return 0;
  }
  const uint64_t handle = next();
  m_out.hex(5, handle);
  m_out.hex(330, owner ? owner : kModelSpaceRecord);
  m_out.text(100, "AcDbEntity");
  m_out.text(8, "0");
  if (subclass) m_out.text(100, subclass);
  if (secondSubclass) m_out.text(100, secondSubclass);
  return handle;
}

void DrawingWriter::header() {
  m_out.text(0, "SECTION");
  m_out.text(2, "HEADER");
  m_out.text(9, "$ACADVER");
  m_out.text(1, handles() ? "AC1015" : "AC1009");
  if (handles()) {
    // Above any handle a generated drawing can use.
    m_out.text(9, "$HANDSEED");
    m_out.hex(5, 0xFFFFFFFFFull);
  }
  m_out.text(0, "ENDSEC");
}

void DrawingWriter::table(const char* name, uint64_t handle, int entries) {
  m_out.text(0, "TABLE");
  m_out.text(2, name);
  if (handles()) {
    m_out.hex(5, handle);
    m_out.hex(330, 0);
    m_out.text(100, "AcDbSymbolTable");
  }
  m_out.integer(70, entries);
}

void DrawingWriter::tables() {
  struct Entry {
    const char* table;
    uint64_t tableHandle;
    const char* subclass;
    const char* name;
    uint64_t handle;
  };
  const Entry entries[] = {
      {"LTYPE", kLinetypeTable, "AcDbLinetypeTableRecord", "CONTINUOUS", kLinetypeContinuous},
      {"LAYER", kLayerTable, "AcDbLayerTableRecord", "0", kLayerZero},
      {"STYLE", kStyleTable, "AcDbTextStyleTableRecord", "STANDARD", kStyleStandard},
      {"APPID", kAppidTable, "AcDbRegAppTableRecord", "ACAD", kAppidAcad},
  };
  m_out.text(0, "SECTION");
  m_out.text(2, "TABLES");
  for (const Entry& entry : entries) {
    table(entry.table, entry.tableHandle, 1);
    m_out.text(0, entry.table);
    if (handles()) {
      m_out.hex(5, entry.handle);
      m_out.hex(330, entry.tableHandle);
      m_out.text(100, "AcDbSymbolTableRecord");
      m_out.text(100, entry.subclass);
    }
    m_out.text(2, entry.name);
    m_out.integer(70, 0);
    if (entry.tableHandle == kLinetypeTable) {
      m_out.text(3, "Solid line");
      m_out.integer(72, 65);
      m_out.integer(73, 0);
      m_out.real(40, 0.0);
    } else if (entry.tableHandle == kLayerTable) {
      m_out.integer(62, 7);
      m_out.text(6, "CONTINUOUS");
    } else if (entry.tableHandle == kStyleTable) {
      m_out.real(40, 0.0);
      m_out.real(41, 1.0);
      m_out.real(50, 0.0);
      m_out.integer(71, 0);
      m_out.real(42, 2.5);
      m_out.text(3, "txt");
      m_out.text(4, "");
    }
    m_out.text(0, "ENDTAB");
  }
  if (handles()) {
    table("BLOCK_RECORD", kBlockRecordTable, 2);
    for (const auto& [name, handle] :
         {std::pair{"*Model_Space", kModelSpaceRecord}, std::pair{"*Paper_Space", kPaperSpaceRecord}}) {
      m_out.text(0, "BLOCK_RECORD");
      m_out.hex(5, handle);
      m_out.hex(330, kBlockRecordTable);
      m_out.text(100, "AcDbSymbolTableRecord");
      m_out.text(100, "AcDbBlockTableRecord");
      m_out.text(2, name);
    }
    m_out.text(0, "ENDTAB");
  }
  m_out.text(0, "ENDSEC");
}

void DrawingWriter::blockPart(const char* type, uint64_t handle, uint64_t recordHandle, const char* subclass) {
  m_out.text(0, type);
  m_out.hex(5, handle);
  m_out.hex(330, recordHandle);
  m_out.text(100, "AcDbEntity");
  if (recordHandle == kPaperSpaceRecord) m_out.integer(67, 1);
  m_out.text(8, "0");
  m_out.text(100, subclass);
}

void DrawingWriter::block(const char* name, uint64_t recordHandle, uint64_t blockHandle, uint64_t endHandle) {
  blockPart("BLOCK", blockHandle, recordHandle, "AcDbBlockBegin");
  m_out.text(2, name);
  m_out.integer(70, 0);
  m_out.point(10, 0, 0, 0);
  m_out.text(3, name);
  m_out.text(1, "");
  blockPart("ENDBLK", endHandle, recordHandle, "AcDbBlockEnd");
}

void DrawingWriter::blocks() {
  m_out.text(0, "SECTION");
  m_out.text(2, "BLOCKS");
  if (handles()) {
    block("*Model_Space", kModelSpaceRecord, kModelSpaceBlock, kModelSpaceEnd);
    block("*Paper_Space", kPaperSpaceRecord, kPaperSpaceBlock, kPaperSpaceEnd);
  }
  m_out.text(0, "ENDSEC");
}

void DrawingWriter::objects() {
  m_out.text(0, "SECTION");
  m_out.text(2, "OBJECTS");
  m_out.text(0, "DICTIONARY");
  m_out.hex(5, kRootDictionary);
  m_out.hex(330, 0);
  m_out.text(100, "AcDbDictionary");
  m_out.integer(281, 1);
  m_out.text(3, "ACAD_GROUP");
  m_out.hex(350, kGroupDictionary);
  m_out.text(0, "DICTIONARY");
  m_out.hex(5, kGroupDictionary);
  m_out.hex(330, kRootDictionary);
  m_out.text(100, "AcDbDictionary");
  m_out.integer(281, 1);
  m_out.text(0, "ENDSEC");
}
