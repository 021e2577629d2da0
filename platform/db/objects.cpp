// The object classes the module sees: an opening of one stored record.
#include <cstring>

#include "acadmem.h"
#include "db/database.h"
#include "db/number_text.h"
#include "db/open_object.h"
#include "db/opening_spares.h"
#include "db/record_tags.h"

using db::Record;

ACRX_DEFINE_MEMBERS(AcDbObject, AcRxObject)
ACRX_DEFINE_MEMBERS(AcDbEntity, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbLayerTable, AcDbObject)

const AcDbObjectId AcDbObjectId::kNull;

uint64_t AcDbObjectId::handle() const { return m_record ? m_record->handle : 0; }
AcDbDatabase* AcDbObjectId::database() const { return m_record ? m_record->database() : nullptr; }

AcDbObject::AcDbObject(Record* record, AcDb::OpenMode mode) : m_record(record), m_mode(mode) {}

AcDbObject::~AcDbObject() {
  if (m_open) endOpen();
  if (m_tags) db::giveSnapshot(std::move(m_tags));
}

void* AcDbObject::operator new(std::size_t size) { return db::takeObjectBlock(size); }

void AcDbObject::operator delete(void* block, std::size_t size) noexcept { db::giveObjectBlock(block, size); }

const db::RecordTags& AcDbObject::tags() const {
  // Only readers exclude writers: any other opening may see the record change
  // between two looks.
  if (!m_tags) m_tags = db::snapshotOf(*m_record);
  else if (m_mode != AcDb::kForRead) m_tags->read(*m_record);
  return *m_tags;
}

void AcDbObject::endOpen() {
  db::endOpen(*m_record, m_mode);
  m_open = false;
}

AcDbObjectId AcDbObject::objectId() const { return AcDbObjectId(m_record); }
AcDbDatabase* AcDbObject::database() const { return m_record->database(); }
bool AcDbObject::isErased() const { return m_record->erased; }
bool AcDbObject::isReadEnabled() const { return m_open; }
bool AcDbObject::isWriteEnabled() const { return m_open && m_mode == AcDb::kForWrite; }
bool AcDbObject::isNotifyEnabled() const { return m_open && m_mode == AcDb::kForNotify; }

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_record->erased = erasing;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::close() {
  delete this;
  return Acad::eOk;
}

namespace {

// The first ordinary value of `code`, as tags().find(code) gives it, handed
// to `use`. A record held in memory (tables, layers) is read in place, and
// one kept in the drawing file is walked up to the tag where the file's text
// lies: every exported entity looks up its layer, and a snapshot of all its
// tags costs far more than the lookup. A record too long for that (or one
// the file no longer holds) takes the snapshot.
template <typename Use>
auto withOrdinaryValue(const AcDbObject& object, int code, Use use) {
  const Record& record = *object.record();
  if (record.inText()) {
    const db::Database* database = db::databaseOf(record);
    const db::DrawingText* source = database && code < 1000 ? database->text() : nullptr;
    std::optional<std::string_view> text = source ? source->view(record.textOffset, record.textLength) : std::nullopt;
    return use(text ? db::findTagInText(*text, code) : object.tags().find(code));
  }
  for (const db::Tag& tag : record.stored->tags)
    if (tag.code == code) return use(std::string_view(tag.value));
  return use(std::nullopt);
}

int64_t integerTag(const AcDbObject& object, int code, int64_t absent) {
  return withOrdinaryValue(object, code, [absent](std::optional<std::string_view> text) {
    int64_t value = absent;
    if (text && !db::parsePlainInteger(*text, value) && !db::parseInteger(*text, value)) value = absent;
    return value;
  });
}

// Sets the value of the first tag with `code`, or adds one after the tag
// with `after` (or after the type when there is none).
Acad::ErrorStatus setTag(Record& record, int code, std::string value, int after) {
  if (!db::databaseOf(record)->edit(record)) return Acad::eInvalidInput;
  auto& tags = record.stored->tags;
  for (auto& tag : tags)
    if (tag.code == code) {
      tag.value = std::move(value);
      return Acad::eOk;
    }
  size_t at = tags.empty() ? 0 : 1;
  for (size_t i = 0; i < tags.size(); ++i)
    if (tags[i].code == after) at = i + 1;
  tags.insert(tags.begin() + static_cast<std::ptrdiff_t>(at), {static_cast<int16_t>(code), std::move(value)});
  return Acad::eOk;
}

}  // namespace

Adesk::UInt16 AcDbEntity::colorIndex() const {
  if (record()->inText() && !record()->colorAsRead) return 256;
  int64_t index = integerTag(*this, 62, 256);
  return static_cast<Adesk::UInt16>(index < 0 ? -index : index);
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 index) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index > 256) return Acad::eInvalidInput;
  return setTag(*record(), 62, db::formatInteger(index), 8);
}

char* AcDbEntity::layer() const {
  return withOrdinaryValue(*this, 8, [](std::optional<std::string_view> name) {
    std::string_view text = name.value_or("0");
    char* copy = static_cast<char*>(acad_malloc(text.size() + 1));
    if (!copy) return copy;
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
  });
}

Acad::ErrorStatus AcDbEntity::setLayer(const char* name) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!name) return Acad::eInvalidInput;
  auto* database = db::databaseOf(*record());
  if (!database->layer(name)) return Acad::eKeyNotFound;
  return setTag(*record(), 8, name, 0);
}

namespace {

// Negative while the layer is off.
int64_t layerColorTag(const AcDbLayerTableRecord& layer) {
  auto read = [&layer] { return integerTag(layer, 62, 7); };
  const db::Database* database = db::databaseOf(*layer.record());
  return database ? database->layerColorTag(*layer.record(), read) : read();
}

}  // namespace

AcCmColor AcDbLayerTableRecord::color() const {
  int64_t index = layerColorTag(*this);
  return AcCmColor(static_cast<Adesk::UInt16>(index < 0 ? -index : index));
}

bool AcDbLayerTableRecord::isOff() const { return layerColorTag(*this) < 0; }
bool AcDbLayerTableRecord::isFrozen() const { return (integerTag(*this, 70, 0) & 1) != 0; }

// Beside the object's storage and construction, which it then takes in:
// an export opens every entity.
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  entity = nullptr;
  db::Record* record = id.record();
  if (record && !record->entity) return Acad::eNotThatKindOfClass;
  return db::openAs(record, mode, openErased, entity);
}

Acad::ErrorStatus AcDbLayerTable::getAt(const char* name, AcDbLayerTableRecord*& result, AcDb::OpenMode mode,
                                        bool openErased) const {
  result = nullptr;
  if (!name) return Acad::eInvalidInput;
  Record* layer = db::databaseOf(*record())->layer(name);
  if (!layer) return Acad::eKeyNotFound;
  return db::openAs(layer, mode, openErased, result);
}

AcDbDatabase::~AcDbDatabase() = default;

Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode) {
  return db::openAs(static_cast<db::Database*>(this)->layerTable(), mode, false, table);
}
