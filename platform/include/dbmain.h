// The drawing database: objects, entities, layers and extended data.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "acadstrc.h"
#include "adesk.h"
#include "adsdef.h"
#include "rxobject.h"

namespace AcDb {
enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };
}

class AcDbDatabase;
class AcDbObject;
namespace db {
struct Record;  // the stored object, private to the database
class RecordTags;
}  // namespace db

// Names one object of one database. Stays valid while the database lives.
class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  explicit AcDbObjectId(db::Record* record) : m_record(record) {}
  static const AcDbObjectId kNull;
  bool isNull() const { return m_record == nullptr; }
  bool operator==(const AcDbObjectId& other) const { return m_record == other.m_record; }
  bool operator!=(const AcDbObjectId& other) const { return m_record != other.m_record; }
  // The object's handle as the drawing file writes it (group code 5), or 0.
  uint64_t handle() const;
  AcDbDatabase* database() const;
  db::Record* record() const { return m_record; }

 private:
  db::Record* m_record = nullptr;
};

class AcCmColor {
 public:
  AcCmColor() = default;
  explicit AcCmColor(Adesk::UInt16 index) : m_index(index) {}
  Adesk::UInt16 colorIndex() const { return m_index; }
  void setColorIndex(Adesk::UInt16 index) { m_index = index; }

 private:
  Adesk::UInt16 m_index = 7;
};

// An object opened through acdbOpenAcDbObject. Closing it ends the opening;
// the object itself stays in the database.
class AcDbObject : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbObject);
  // Made by the acdbOpen calls for an opening they have already counted.
  AcDbObject(db::Record* record, AcDb::OpenMode mode);
  ~AcDbObject() override;
  AcDbObject(const AcDbObject&) = delete;
  AcDbObject& operator=(const AcDbObject&) = delete;
  // Objects are opened and closed by the thousand: a command reuses the
  // storage of those it closed.
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size) noexcept;

  AcDbObjectId objectId() const;
  AcDbDatabase* database() const;
  bool isErased() const;
  bool isReadEnabled() const;
  bool isWriteEnabled() const;
  bool isNotifyEnabled() const;
  // Marks the object erased (or unerases it); it must be open for write.
  Acad::ErrorStatus erase(bool erasing = true);
  // Ends the opening and releases this object: do not use it afterwards.
  Acad::ErrorStatus close();

  // The object's extended data of one registered application (all of it when
  // the name is null) as a new list the caller releases with ads_relrb; null
  // when there is none.
  resbuf* xData(const char* regappName = nullptr) const;
  // The same, telling a shortage apart from no data: `status` is
  // eOutOfMemory when the list could not be made, else eOk.
  resbuf* xData(const char* regappName, Acad::ErrorStatus& status) const;
  // Replaces the data of every application named by a 1001 item of the list;
  // a name with no items after it removes that application's data. The
  // applications must be registered. Other applications' data stays.
  Acad::ErrorStatus setXData(const resbuf* xdata);

  db::Record* record() const { return m_record; }
  // The record's tags. An object open for read reads them once, however
  // many of its properties are asked for.
  const db::RecordTags& tags() const;

 private:
  void endOpen();
  db::Record* m_record;
  AcDb::OpenMode m_mode;
  bool m_open = true;
  mutable std::unique_ptr<db::RecordTags> m_tags;
};

class AcDbEntity : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbEntity);
  using AcDbObject::AcDbObject;

  Adesk::UInt16 colorIndex() const;  // 0 ByBlock, 256 ByLayer
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index);
  // A copy of the layer name from the host allocator; the caller frees it.
  char* layer() const;
  // The layer must exist in the drawing's layer table.
  Acad::ErrorStatus setLayer(const char* name);
};

class AcDbLayerTableRecord : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord);
  using AcDbObject::AcDbObject;
  AcCmColor color() const;  // the layer's colour index, also when the layer is off
  bool isOff() const;
  bool isFrozen() const;
};

class AcDbLayerTable : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayerTable);
  using AcDbObject::AcDbObject;
  Acad::ErrorStatus getAt(const char* name, AcDbLayerTableRecord*& record, AcDb::OpenMode mode,
                          bool openErased = false) const;
};

class AcDbDatabase {
 public:
  AcDbDatabase() = default;
  AcDbDatabase(const AcDbDatabase&) = delete;
  AcDbDatabase& operator=(const AcDbDatabase&) = delete;
  virtual ~AcDbDatabase();
  Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode);
};

// The drawing currently open in the host.
AcDbDatabase* acdbCurDwg();

// An ads_name names an entity of the current drawing: eInvalidAdsName for
// anything else (a selection set, a name from a drawing closed since).
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name);
Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id);
// Refusals: eNullObjectId, eWasErased (unless openErased), eWasOpenForWrite
// (already open for write), eWasOpenForRead (write asked while readers hold
// it), eAtMaxReaders; acdbOpenAcDbEntity also eNotThatKindOfClass.
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);

// World to current user coordinates; a displacement when `vector` is true.
Adesk::Boolean acdbWcs2Ucs(const ads_point from, ads_point to, Adesk::Boolean vector);

// Stops the host with a message (an internal error it cannot go on from).
[[noreturn]] void acrx_abort(const char* format, ...);
