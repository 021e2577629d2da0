// Indexing of a drawing's records and the additions the host makes to it.
#include "db/database.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "db/modeler_data.h"
#include "db/number_text.h"
#include "db/record_build.h"
#include "db/record_tags.h"
#include "db/stable_run_sort.h"

namespace db {
namespace {

long g_nextSerial = 1;

// Never freed: a database may go after the others at exit. Made with the
// first database, before any record names a slot.
std::vector<Database*>& databaseSlots() {
  std::vector<Database*>*& slots = database_detail::g_slots;
  if (!slots) slots = new std::vector<Database*>{nullptr};
  return *slots;
}

uint16_t takeSlot(Database* database) {
  std::vector<Database*>& slots = databaseSlots();
  for (size_t slot = 1; slot < slots.size(); ++slot)
    if (!slots[slot]) {
      slots[slot] = database;
      return static_cast<uint16_t>(slot);
    }
  if (slots.size() > UINT16_MAX) throw std::length_error("too many drawings open at once");
  slots.push_back(database);
  return static_cast<uint16_t>(slots.size() - 1);
}

bool isComplexFollower(std::string_view type) { return type == "VERTEX" || type == "ATTRIB" || type == "SEQEND"; }

double length(const double v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

void cross(const double a[3], const double b[3], double out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

bool normalize(double v[3]) {
  double len = length(v);
  if (!(len > 1e-12) || !std::isfinite(len)) return false;
  for (int i = 0; i < 3; ++i) v[i] /= len;
  return true;
}

bool validAppName(std::string_view name) {
  if (name.empty() || name.size() > 255) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '$';
  });
}

// Orthonormal axes from an X direction and a direction in the XY plane;
// false when they are degenerate or not finite.
bool makeUcs(const double origin[3], const double xAxis[3], const double yAxis[3], Ucs& ucs) {
  for (int i = 0; i < 3; ++i) {
    ucs.origin[i] = origin[i];
    ucs.xAxis[i] = xAxis[i];
  }
  if (!normalize(ucs.xAxis)) return false;
  cross(ucs.xAxis, yAxis, ucs.zAxis);
  if (!normalize(ucs.zAxis)) return false;
  cross(ucs.zAxis, ucs.xAxis, ucs.yAxis);
  for (int i = 0; i < 3; ++i)
    if (!std::isfinite(ucs.origin[i])) return false;
  return true;
}

char upperOf(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

void copyUpper(std::string_view name, char* out) {
  for (size_t i = 0; i < name.size(); ++i) out[i] = upperOf(name[i]);
}

// Whether `name` in upper case is `upper`.
bool sameUpper(std::string_view name, std::string_view upper) {
  if (name.size() != upper.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (upperOf(name[i]) != upper[i]) return false;
  return true;
}

// The same for `name` ending in a NUL.
bool sameUpper(const char* name, std::string_view upper) {
  for (char wanted : upper) {
    if (*name == '\0' || upperOf(*name) != wanted) return false;
    ++name;
  }
  return *name == '\0';
}

}  // namespace

std::string upperName(std::string_view name) {
  std::string upper(name.size(), '\0');
  copyUpper(name, upper.data());
  return upper;
}

Database::Database() : m_serial(g_nextSerial++), m_slot(takeSlot(this)) {
  Record& table = m_detached.emplace_back(buildRecord({{0, "TABLE"}, {2, "LAYER"}}));
  table.databaseSlot = m_slot;
  m_layerTable = &table;
}

Database::~Database() { databaseSlots()[m_slot] = nullptr; }

AcDbDatabase* Record::database() const { return Database::of(databaseSlot); }

const ModelerDataIndex& Database::modelerData() const {
  if (!m_modelerData) m_modelerData = std::make_unique<ModelerDataIndex>(*this);
  return *m_modelerData;
}

void Database::adopt(std::vector<Record> records) {
  std::vector<TagView> views;
  for (Record& record : records) {
    views.clear();
    appendViews(*record.stored, views);
    append(std::move(record), views);
  }
  finishLoading();
}

Record* Database::store(Record&& record) {
  Record& stored = m_storage.push(std::move(record));
  stored.databaseSlot = m_slot;
  stored.serial = static_cast<uint32_t>(m_storage.size());
  if (stored.handle) {
    m_handseed = std::max(m_handseed, stored.handle + 1);
    if (!m_byHandle.empty() && m_storage[m_byHandle.back() - 1].handle > stored.handle)
      m_strays.emplace_back(stored.handle, stored.serial);
    else m_byHandle.push_back(stored.serial);
  }
  return &stored;
}

void Database::append(Record&& record, std::span<const TagView> tags) {
  Record* stored = store(std::move(record));
  if (m_listed) m_records.push_back(stored);
  index(*stored, tags);
  if (m_watcher) m_watcher->take(*stored, tags);
}

void Database::finishLoading() {
  m_watcher = nullptr;
  m_section.clear();
  m_table.clear();
  m_block = nullptr;
  m_complex = nullptr;
}

bool Database::edit(Record& record) {
  ++m_tagEdits;
  if (!record.inText()) return true;
  RecordTags text(record);
  if (!text.ok()) return false;
  record.stored = std::move(buildRecord(ownedTags(text.all())).stored);
  ++m_textEdits;
  return true;
}

void Database::index(Record& record, std::span<const TagView> tags) {
  // Views compare by length first: this runs for every record of a drawing.
  const std::string_view type = record.type;
  const std::string_view section = m_section;

  if (type == "SECTION") {
    m_section = findTag(tags, 2).value_or(std::string_view());
    if (m_section == std::string_view("HEADER")) readHeader(record);
    return;
  }
  if (type == "ENDSEC") {
    if (section == "ENTITIES") m_entitiesEnd = &record;
    if (section == "BLOCKS") m_blocksEnd = &record;
    m_section.clear();
    m_block = nullptr;
    m_complex = nullptr;
    return;
  }
  if (section == "TABLES") {
    if (type == "TABLE") {
      m_table = findTag(tags, 2).value_or(std::string_view());
      if (m_table == "LAYER") m_layerTable = &record;
      if (m_table == "APPID") m_appTable = &record;
    } else if (type == "ENDTAB") {
      if (m_table == "LAYER") m_layerTableEnd = &record;
      if (m_table == "APPID") m_appTableEnd = &record;
      m_table.clear();
    } else if (auto name = findTag(tags, 2)) {
      if (type == "LAYER") m_layers.emplace(upperName(*name), &record);
      if (type == "APPID") m_apps.emplace(upperName(*name), &record);
    }
    return;
  }
  if (section != "ENTITIES" && section != "BLOCKS") return;
  if (type == "BLOCK") {
    m_block = &m_blocks[upperName(findTag(tags, 2).value_or(std::string_view()))];
    m_block->header = &record;
    return;
  }
  if (type == "ENDBLK") {
    if (m_block) m_block->end = &record;
    m_block = nullptr;
    return;
  }
  record.entity = true;
  if (m_complex && isComplexFollower(type)) {
    ++m_complex->followerCount;
    if (type == "SEQEND") m_complex = nullptr;
    return;
  }
  m_complex = nullptr;
  if (type == "POLYLINE") m_complex = &record;
  if (type == "INSERT") {
    auto more = findTag(tags, 66);
    int64_t flag = 0;
    if (more && parseInteger(*more, flag) && flag == 1) m_complex = &record;
  }
  if (section == "ENTITIES") {
    m_entities.push_back(&record);
    int64_t space = 0;
    auto flag = findTag(tags, 67);
    record.paperSpaceAsRead = flag && parseInteger(*flag, space) && space != 0;
  } else if (m_block) m_block->entities.push_back(&record);
}

void Database::readHeader(Record& section) {
  std::string name;
  const std::vector<Tag>& tags = section.stored->tags;
  for (size_t i = 0; i < tags.size(); ++i) {
    const Tag& tag = tags[i];
    if (tag.code == 9) {
      name = tag.value;
      m_headerVars.emplace(name, HeaderTag{&section, i + 1});
      continue;
    }
    int64_t number = 0;
    if (name == "$ACADVER" && tag.code == 1) m_version = tag.value;
    if (name == "$DWGCODEPAGE" && tag.code == 3) m_codepage = tag.value;
    if (name == "$INSUNITS" && tag.code == 70 && parseInteger(tag.value, number)) m_units = static_cast<int>(number);
    if (name == "$HANDLING" && tag.code == 70 && parseInteger(tag.value, number)) m_handling = number != 0;
    if (name == "$TILEMODE" && tag.code == 70 && parseInteger(tag.value, number)) m_tileMode = number != 0;
    if (name == "$HANDSEED" && tag.code == 5) m_handseed = std::max(m_handseed, parseHandle(tag.value));
  }
  double origin[3] = {0, 0, 0}, xAxis[3] = {1, 0, 0}, yAxis[3] = {0, 1, 0};
  auto point = [&](const char* var, double out[3]) {
    auto found = m_headerVars.find(var);
    if (found == m_headerVars.end()) return;
    for (size_t i = found->second.index; i < tags.size() && tags[i].code != 9; ++i) {
      int code = tags[i].code;
      if (code == 10 || code == 20 || code == 30) parseReal(tags[i].value, out[code / 10 - 1]);
    }
  };
  point("$UCSORG", origin);
  point("$UCSXDIR", xAxis);
  point("$UCSYDIR", yAxis);
  // The header stays as read: normalizing the axes is for use, and written
  // back it would change the file on every save.
  Ucs ucs;
  if (makeUcs(origin, xAxis, yAxis, ucs)) takeUcs(ucs);
}

void Database::takeUcs(const Ucs& ucs) {
  static constexpr Ucs kWorld;
  m_ucs = ucs;
  m_ucsIsWorld = std::memcmp(&m_ucs, &kWorld, sizeof kWorld) == 0;
}

bool Database::setUcs(const double origin[3], const double xAxis[3], const double yAxis[3]) {
  Ucs ucs;
  if (!makeUcs(origin, xAxis, yAxis, ucs)) return false;
  takeUcs(ucs);
  noteChange();
  setHeaderPoint("$UCSORG", m_ucs.origin);
  setHeaderPoint("$UCSXDIR", m_ucs.xAxis);
  setHeaderPoint("$UCSYDIR", m_ucs.yAxis);
  return true;
}

// Rewrites a point variable the header already holds; a header without it
// stays as it was read.
void Database::setHeaderPoint(const char* name, const double value[3]) {
  auto found = m_headerVars.find(name);
  if (found == m_headerVars.end()) return;
  std::vector<Tag>& tags = found->second.record->stored->tags;
  for (size_t i = found->second.index; i < tags.size() && tags[i].code != 9; ++i) {
    int code = tags[i].code;
    if (code != 10 && code != 20 && code != 30) continue;
    double old = 0;
    double now = value[code / 10 - 1];
    if (!parseReal(tags[i].value, old) || old != now) tags[i].value = formatReal(now);
  }
}

void Database::setTileMode(bool modelSpace) {
  m_tileMode = modelSpace;
  auto found = m_headerVars.find("$TILEMODE");
  if (found == m_headerVars.end()) return;
  std::vector<Tag>& tags = found->second.record->stored->tags;
  for (size_t i = found->second.index; i < tags.size() && tags[i].code != 9; ++i) {
    int64_t old = 0;
    if (tags[i].code == 70 && (!parseInteger(tags[i].value, old) || (old != 0) != modelSpace))
      tags[i].value = modelSpace ? "1" : "0";
  }
}

Record* Database::byHandle(uint64_t handle) const {
  auto handleOf = [&](uint32_t serial) { return m_storage[serial - 1].handle; };
  auto inRun = std::lower_bound(m_byHandle.begin(), m_byHandle.end(), handle,
                                [&](uint32_t serial, uint64_t wanted) { return handleOf(serial) < wanted; });
  // A record of the run was stored before any stray of the same handle, so
  // the first record of a handle stays first.
  if (inRun != m_byHandle.end() && handleOf(*inRun) == handle) return const_cast<Record*>(&m_storage[*inRun - 1]);
  if (m_sortedStrays < m_strays.size()) sortStrays();
  auto stray = std::lower_bound(m_strays.begin(), m_strays.end(), handle,
                                [](const std::pair<uint64_t, uint32_t>& a, uint64_t wanted) { return a.first < wanted; });
  return stray != m_strays.end() && stray->first == handle ? const_cast<Record*>(&m_storage[stray->second - 1]) : nullptr;
}

void Database::sortStrays() const {
  // The strays stay apart from the run: merged into it, the run would be
  // copied whole, as large as the drawing's index. Equal handles keep the
  // order they were stored in.
  auto byHandleOnly = [](const auto& a, const auto& b) { return a.first < b.first; };
  auto newer = m_strays.begin() + static_cast<std::ptrdiff_t>(m_sortedStrays);
  stableRunSort(newer, m_strays.end(), byHandleOnly);
  std::inplace_merge(m_strays.begin(), newer, m_strays.end(), byHandleOnly);
  m_sortedStrays = m_strays.size();
}

// Every exported entity looks up its layer: a name of common length is put
// in upper case on the stack, so that the lookup allocates nothing.
template <typename Value>
auto Database::findName(const NameMap<Value>& map, std::string_view name) {
  char upper[128];
  if (name.size() > sizeof upper) return map.find(upperName(name));
  copyUpper(name, upper);
  return map.find(std::string_view(upper, name.size()));
}

const Block* Database::block(std::string_view name) const {
  auto found = findName(m_blocks, name);
  return found == m_blocks.end() ? nullptr : &found->second;
}

Record* Database::layer(const char* name) const {
  if (m_lastLayer && sameUpper(name, m_lastLayer->first)) return m_lastLayer->second;
  return layer(std::string_view(name));
}

Record* Database::layer(std::string_view name) const {
  if (m_lastLayer && sameUpper(name, m_lastLayer->first)) return m_lastLayer->second;
  auto found = findName(m_layers, name);
  if (found == m_layers.end()) return nullptr;
  m_lastLayer = &*found;
  return found->second;
}

bool Database::isRegisteredApp(std::string_view name) const { return findName(m_apps, name) != m_apps.end(); }

bool Database::usesHandles() const { return m_handling || m_version >= "AC1012"; }

uint64_t Database::newHandle() {
  if (m_handseed == 0) m_handseed = 1;
  uint64_t handle = m_handseed++;
  writeHandseed();
  return handle;
}

// Raises the header's $HANDSEED, when there is one, to the next handle to give.
void Database::writeHandseed() {
  auto found = m_headerVars.find("$HANDSEED");
  if (found == m_headerVars.end()) return;
  // A header may end on the variable's name, with no value after it.
  std::vector<Tag>& tags = found->second.record->stored->tags;
  if (found->second.index >= tags.size()) return;
  Tag& tag = tags[found->second.index];
  if (tag.code == 5 && parseHandle(tag.value) < m_handseed) tag.value = formatHandle(m_handseed);
}

Record Database::makeRecord(std::string_view type, std::vector<Tag> tags, Record* owner) {
  Record record;
  record.type = type;
  record.stored = std::make_unique<StoredTags>();
  std::vector<Tag>& stored = record.stored->tags;
  stored.reserve(tags.size() + 3);
  stored.push_back({0, std::string(type)});
  if (usesHandles()) {
    record.handle = newHandle();
    stored.push_back({5, formatHandle(record.handle)});
    if (owner && owner->handle && m_version >= "AC1012") stored.push_back({330, formatHandle(owner->handle)});
  }
  for (Tag& tag : tags) stored.push_back(std::move(tag));
  return record;
}

const std::vector<Record*>& Database::records() const {
  if (!m_listed) {
    m_records.reserve(m_storage.size());
    for (const Record& record : m_storage) m_records.push_back(const_cast<Record*>(&record));
    m_listed = true;
  }
  return m_records;
}

Record* Database::insertBefore(Record* marker, Record record) {
  records();
  // Markers sit near the end of the drawing (ENDTAB, ENDSEC): look from there.
  auto found = std::find(m_records.rbegin(), m_records.rend(), marker);
  auto at = found.base() - 1;
  Record* added = store(std::move(record));
  m_records.insert(at, added);
  return added;
}

bool Database::registerApp(std::string_view name) {
  if (!validAppName(name) || isRegisteredApp(name)) return false;
  if (!m_appTableEnd) {
    m_apps.emplace(upperName(name), nullptr);
    return true;
  }
  std::vector<Tag> tags;
  if (m_version >= "AC1012") {
    tags.push_back({100, "AcDbSymbolTableRecord"});
    tags.push_back({100, "AcDbRegAppTableRecord"});
  }
  tags.push_back({2, std::string(name)});
  tags.push_back({70, "0"});
  Record* added = insertBefore(m_appTableEnd, makeRecord("APPID", std::move(tags), m_appTable));
  m_apps.emplace(upperName(name), added);
  return true;
}

Record* Database::addLayer(std::string_view name, int colorIndex, bool off, bool frozen) {
  if (!m_layerTableEnd || name.empty() || layer(name)) return nullptr;
  std::vector<Tag> tags;
  if (m_version >= "AC1012") {
    tags.push_back({100, "AcDbSymbolTableRecord"});
    tags.push_back({100, "AcDbLayerTableRecord"});
  }
  tags.push_back({2, std::string(name)});
  tags.push_back({70, frozen ? "1" : "0"});
  tags.push_back({62, formatInteger(off ? -colorIndex : colorIndex)});
  tags.push_back({6, "CONTINUOUS"});
  Record* added = insertBefore(m_layerTableEnd, makeRecord("LAYER", std::move(tags), m_layerTable));
  m_layers.emplace(upperName(name), added);
  return added;
}

Record* Database::addEntity(std::string_view type, std::vector<Tag> tags) {
  if (!m_entitiesEnd) return nullptr;
  Record* added = insertBefore(m_entitiesEnd, makeRecord(type, std::move(tags), nullptr));
  added->entity = true;
  m_entities.push_back(added);
  return added;
}

Record* Database::addBlock(std::string_view name, const double base[3]) {
  if (!m_blocksEnd || name.empty() || block(name)) return nullptr;
  std::vector<Tag> tags = {{8, "0"},
                           {2, std::string(name)},
                           {70, "0"},
                           {10, formatReal(base[0])},
                           {20, formatReal(base[1])},
                           {30, formatReal(base[2])},
                           {3, std::string(name)}};
  Block& entry = m_blocks[upperName(name)];
  entry.header = insertBefore(m_blocksEnd, makeRecord("BLOCK", std::move(tags), nullptr));
  entry.end = insertBefore(m_blocksEnd, makeRecord("ENDBLK", {{8, "0"}}, nullptr));
  return entry.header;
}

Record* Database::addBlockEntity(std::string_view blockName, std::string_view type, std::vector<Tag> tags) {
  auto found = m_blocks.find(upperName(blockName));
  if (found == m_blocks.end() || !found->second.end) return nullptr;
  Record* added = insertBefore(found->second.end, makeRecord(type, std::move(tags), nullptr));
  added->entity = true;
  found->second.entities.push_back(added);
  return added;
}

Record* Database::addRecord(Record* marker, std::string_view type, std::vector<Tag> tags, Record* owner) {
  return insertBefore(marker, makeRecord(type, std::move(tags), owner));
}

Record* Database::insertRecord(Record* marker, std::vector<Tag> tags) {
  Record* inserted = insertBefore(marker, buildRecord(std::move(tags)));
  writeHandseed();
  return inserted;
}

}  // namespace db
