// The drawing database behind AcDbDatabase: every record of the drawing in
// file order, with indexes for what the host and the module look things up by.
#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "adsdef.h"
#include "db/drawing_text.h"
#include "db/record.h"
#include "db/record_store.h"
#include "dbmain.h"

namespace db {

class ModelerDataIndex;
class Database;

namespace database_detail {
// The databases alive, by the slot their records name; slot 0 is none. Read
// inline: every exported entity looks up its database several times.
inline constinit std::vector<Database*>* g_slots = nullptr;
}  // namespace database_detail

// The current user coordinate system: origin and unit axes in world coordinates.
struct Ucs {
  double origin[3] = {0, 0, 0};
  double xAxis[3] = {1, 0, 0};
  double yAxis[3] = {0, 1, 0};
  double zAxis[3] = {0, 0, 1};
};

// A block definition: its BLOCK record (name, base point), the entities up to
// its ENDBLK, and that ENDBLK.
struct Block {
  Record* header = nullptr;
  std::vector<Record*> entities;
  Record* end = nullptr;
};

// How the drawing's file was written, and so how it is saved again.
enum class FileFormat {
  Ascii,
  BinaryByteCodes,  // binary, group codes in one byte (255 escapes a two-byte code)
  BinaryWordCodes,  // binary, group codes in two bytes
};

// Sees every record of a drawing as it is loaded, with the tags the reader
// hands over: all of them for records kept in memory; for records left in the
// file's text, those the database indexes and those asked for here.
class LoadWatcher {
 public:
  virtual ~LoadWatcher() = default;
  virtual bool wantsAllTags(std::string_view section) const = 0;
  // The codes it wants of a record that stays in the text.
  virtual std::span<const int16_t> wantedCodes() const = 0;
  virtual void take(Record& record, std::span<const TagView> tags) = 0;
};

class Database : public AcDbDatabase {
 public:
  Database();
  ~Database() override;

  // Takes the records of a whole drawing in file order and indexes them.
  void adopt(std::vector<Record> records);
  // The same one record at a time, as a reader finds them: `tags` are the
  // record's tags, wherever the record keeps them. finishLoading() ends it.
  void append(Record&& record, std::span<const TagView> tags);
  // The only codes append() looks at in a record's tags (62 and 1001 for
  // the notes setIdentity() makes).
  static constexpr int16_t kIndexedCodes[] = {0, 2, 5, 62, 66, 67, 105, 1001};
  void finishLoading();
  // Shows the records to `watcher` while loading (until finishLoading()).
  void watchLoading(LoadWatcher* watcher) { m_watcher = watcher; }
  // What append() takes of a record left in the file's text in `section`:
  // every tag, or the tags of kIndexedCodes and the watcher's wantedCodes().
  bool wantsAllTags(std::string_view section) const { return m_watcher && m_watcher->wantsAllTags(section); }
  std::span<const int16_t> watcherCodes() const {
    return m_watcher ? m_watcher->wantedCodes() : std::span<const int16_t>();
  }

  // The drawing file that records read from text keep their tags in.
  void setText(std::unique_ptr<DrawingText> text) { m_text = std::move(text); }
  const DrawingText* text() const { return m_text.get(); }
  // The same, kept alive for whoever reads it aside (another thread).
  std::shared_ptr<const DrawingText> sharedText() const { return m_text; }
  bool readText(uint64_t offset, size_t length, std::string& out) const {
    return m_text && m_text->read(offset, length, out);
  }
  // Moves a record's tags out of the file into the record, for changing them;
  // false when they cannot be read back.
  bool edit(Record& record);
  // How many records have had their tags moved out of the file: while it
  // stays the same, what was read from the text is what the records hold.
  uint64_t textEdits() const { return m_textEdits; }
  // The colour tag of `layer` as `read` gives it, remembered for the layer
  // last asked: an export asks every entity's layer colour, mostly of one
  // layer. Every change of a layer's tags goes through edit(), which
  // forgets it; a record never moves nor is reused while its database lives.
  template <typename Read>
  int64_t layerColorTag(const Record& layer, Read read) const {
    if (m_layerColor.layer != &layer || m_layerColor.edits != m_tagEdits) m_layerColor = {&layer, m_tagEdits, read()};
    return m_layerColor.value;
  }

  // Every record in file order.
  const std::vector<Record*>& records() const;
  // Where the drawing keeps its entities' modeller data, indexed on the
  // first call.
  const ModelerDataIndex& modelerData() const;
  // Distinguishes this database from every other one made in the process.
  long serial() const { return m_serial; }
  // The database alive in `slot` (Record::databaseSlot), or null.
  static Database* of(uint16_t slot) {
    const std::vector<Database*>* slots = database_detail::g_slots;
    return slots && slot < slots->size() ? (*slots)[slot] : nullptr;
  }
  // The record numbered `serial` (Record::serial), or null. Inline: every
  // entity name is looked up by it.
  Record* bySerial(long serial) const {
    if (serial < 1 || static_cast<size_t>(serial) > m_storage.size()) return nullptr;
    return const_cast<Record*>(&m_storage[static_cast<size_t>(serial - 1)]);
  }

  // The VERTEX/ATTRIB records and SEQEND that belong to a POLYLINE or INSERT
  // of this database: the ones stored right after it.
  struct Followers {
    const RecordStore* store = nullptr;
    size_t first = 0, count = 0;
    RecordStore::Cursor begin() const { return {store, first}; }
    RecordStore::Cursor end() const { return {store, first + count}; }
    size_t size() const { return count; }
    const Record& operator[](size_t i) const { return (*store)[first + i]; }
  };
  Followers followers(const Record& record) const { return {&m_storage, record.serial, record.followerCount}; }

  // The record with this handle, or null.
  Record* byHandle(uint64_t handle) const;

  // Top-level entities of the ENTITIES section in file order, erased ones included.
  const std::vector<Record*>& entities() const { return m_entities; }
  const Block* block(std::string_view name) const;
  Record* layer(std::string_view name) const;
  // The same for a name ending in a NUL, not measured when it is the layer
  // found last: a module asks every entity's layer by such a name.
  Record* layer(const char* name) const;
  // The layer TABLE record (a detached one when the file has no layer table).
  Record* layerTable() const { return m_layerTable; }

  bool isRegisteredApp(std::string_view name) const;
  // Adds an APPID entry; false when the name is taken or not a valid name.
  bool registerApp(std::string_view name);

  const Ucs& ucs() const { return m_ucs; }
  // The UCS is the world's own, bit for bit (Ucs{}): set with every change of it.
  bool ucsIsWorld() const { return m_ucsIsWorld; }
  // Sets the current UCS (axes need not be unit length); false for degenerate axes.
  bool setUcs(const double origin[3], const double xAxis[3], const double yAxis[3]);

  const std::string& version() const { return m_version; }  // $ACADVER, "" when absent
  int units() const { return m_units; }                     // $INSUNITS, 0 when absent
  // $TILEMODE: true (the default) while model space is the current space,
  // false while the active layout's paper space is.
  bool tileMode() const { return m_tileMode; }
  // Switches the current space; the header's $TILEMODE follows when it has one.
  void setTileMode(bool modelSpace);
  const std::string& codepage() const { return m_codepage; }  // $DWGCODEPAGE
  // The file the drawing was opened from or last saved to; "" when made in code.
  const std::string& path() const { return m_path; }
  void setPath(std::string path) { m_path = std::move(path); }
  FileFormat format() const { return m_format; }
  void setFormat(FileFormat format) { m_format = format; }
  bool crlf() const { return m_crlf; }  // lines end in CR LF
  void setCrlf(bool crlf) { m_crlf = crlf; }
  // Changes since the drawing was opened or last saved: an object opened for
  // writing, a new UCS. The host asks before it drops them.
  void noteChange() { ++m_changes; }
  bool modified() const { return m_changes != m_savedChanges; }
  void markSaved() { m_savedChanges = m_changes; }

  // Additions for the host and tests. Each returns the new record, or null
  // when the drawing has no place for it (no such section, table or block).
  Record* addEntity(std::string_view type, std::vector<Tag> tags);
  Record* addLayer(std::string_view name, int colorIndex, bool off, bool frozen);
  Record* addBlock(std::string_view name, const double base[3]);
  Record* addBlockEntity(std::string_view blockName, std::string_view type, std::vector<Tag> tags);
  // For repairs after loading, before `marker` in file order and not indexed:
  // a record of `type` with a new handle (and from R13 on `owner`) then `tags`;
  // or one whose tags, from its group 0 on, the caller gives whole.
  Record* addRecord(Record* marker, std::string_view type, std::vector<Tag> tags, Record* owner);
  Record* insertRecord(Record* marker, std::vector<Tag> tags);

 private:
  struct HeaderTag {
    Record* record = nullptr;
    size_t index = 0;
  };
  void index(Record& record, std::span<const TagView> tags);
  void readHeader(Record& section);
  void setHeaderPoint(const char* name, const double value[3]);
  void takeUcs(const Ucs& ucs);
  Record* store(Record&& record);
  void sortStrays() const;
  Record* insertBefore(Record* marker, Record record);
  Record makeRecord(std::string_view type, std::vector<Tag> tags, Record* owner);
  bool usesHandles() const;
  uint64_t newHandle();
  void writeHandseed();

  std::shared_ptr<DrawingText> m_text;
  mutable std::unique_ptr<ModelerDataIndex> m_modelerData;
  RecordStore m_storage;  // in serial order
  // In file order: listed when first asked for (saving, AutoLISP's walk) or
  // when a record is inserted; until then file order is serial order, and
  // an export of a million records does not hold a list of them.
  mutable std::vector<Record*> m_records;
  mutable bool m_listed = false;
  std::deque<Record> m_detached;
  // Handle to record: the serials of the records stored in ascending order
  // of handles (a serial, not a handle and a pointer: a large drawing holds
  // millions), and the others (few in most files; nearly all of a drawing
  // whose first records hold its highest handles, as ezdxf writes them),
  // sorted on the first lookup after they came; the first record wins a
  // duplicate.
  std::vector<uint32_t> m_byHandle;
  // Those stored out of m_byHandle's order, by handle and serial: kept with
  // their handles, which sorting and looking up would otherwise fetch from
  // the records again and again.
  mutable std::vector<std::pair<uint64_t, uint32_t>> m_strays;
  mutable size_t m_sortedStrays = 0;  // the strays sorted so far
  std::vector<Record*> m_entities;
  // Names by their upper case; looked up without making a string of them.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
  };
  template <typename Value>
  using NameMap = std::unordered_map<std::string, Value, NameHash, std::equal_to<>>;
  template <typename Value>
  static auto findName(const NameMap<Value>& map, std::string_view name);
  NameMap<Block> m_blocks;
  NameMap<Record*> m_layers;
  // The entry of the layer last found. Entries are never removed nor their
  // records changed, so it cannot go stale; an export asks for each
  // entity's layer, mostly the one the entity before had.
  mutable const std::pair<const std::string, Record*>* m_lastLayer = nullptr;
  NameMap<Record*> m_apps;
  Record* m_layerTable = nullptr;
  Record* m_layerTableEnd = nullptr;
  Record* m_appTable = nullptr;
  Record* m_appTableEnd = nullptr;
  Record* m_blocksEnd = nullptr;
  Record* m_entitiesEnd = nullptr;
  std::unordered_map<std::string, HeaderTag> m_headerVars;  // first value tag of each variable
  uint64_t m_handseed = 0;
  uint64_t m_textEdits = 0;
  uint64_t m_tagEdits = 0;  // calls of edit(): one before every change of a record's tags
  struct LayerColor {
    const Record* layer = nullptr;
    uint64_t edits = 0;
    int64_t value = 0;
  };
  mutable LayerColor m_layerColor;
  bool m_handling = false;
  std::string m_version;
  std::string m_codepage;
  int m_units = 0;
  bool m_tileMode = true;
  Ucs m_ucs;
  bool m_ucsIsWorld = true;
  FileFormat m_format = FileFormat::Ascii;
  std::string m_path;
  bool m_crlf = false;
  uint64_t m_changes = 0, m_savedChanges = 0;
  long m_serial;
  uint16_t m_slot;

  // Where indexing stands while records come in.
  std::string m_section;
  std::string m_table;
  Block* m_block = nullptr;
  Record* m_complex = nullptr;
  LoadWatcher* m_watcher = nullptr;
};

// Names are compared without regard to case, as the drawing editor does.
std::string upperName(std::string_view name);

// The current drawing, or null before one is made or opened.
Database* currentDatabase();
// Makes `database` the current drawing, discarding the previous one.
void setCurrentDatabase(std::unique_ptr<Database> database);

// The record behind an object id or an entity name of the current drawing, or null.
Record* recordOf(AcDbObjectId id);
Record* recordOf(const ads_name name);
// The database that holds a record.
inline Database* databaseOf(const Record& record) { return Database::of(record.databaseSlot); }

}  // namespace db
