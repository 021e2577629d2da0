// One walk over the drawing notes what it lacks; the repairs then add it.
#include "db/drawing_repair.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "db/drawing_repair_dimensions.h"
#include "db/number_text.h"
#include "db/record_tags.h"

namespace db {
namespace {

// A symbol table the repairs may add entries to.
struct Table {
  Record* head = nullptr;  // TABLE
  Record* end = nullptr;   // ENDTAB
  size_t entries = 0;
  std::unordered_set<std::string> names;  // upper case
};

// Names in use, in order of first use, each once.
class UsedNames {
 public:
  void note(std::string_view name) {
    // Records in a row mostly share their names; a spelling seen before
    // needs no upper-casing.
    if (name.empty() || name == m_last) return;
    m_last = name;
    if (m_spellings.find(name) != m_spellings.end()) return;
    m_spellings.emplace(name);
    if (m_seen.insert(upperName(name)).second) m_names.emplace_back(name);
  }
  const std::vector<std::string>& names() const { return m_names; }

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  std::vector<std::string> m_names;
  std::unordered_set<std::string> m_seen;
  std::unordered_set<std::string, Hash, std::equal_to<>> m_spellings;
  std::string m_last;
};

// An object without an owner: where its 330 belongs (or stands, giving
// none) and the objects it reports to.
struct Ownerless {
  Record* record = nullptr;
  size_t at = 0;
  bool replace = false;
  std::vector<uint64_t> reactors;
};

struct DictionaryEntry {
  Record* dictionary = nullptr;
  uint64_t handle = 0;
};

bool isTextEntity(std::string_view type) {
  return type == "TEXT" || type == "MTEXT" || type == "ATTDEF" || type == "ATTRIB";
}

bool isDictionary(std::string_view type) { return type == "DICTIONARY" || type == "ACDBDICTIONARYWDFLT"; }

bool isByName(std::string_view linetype) {
  std::string upper = upperName(linetype);
  return upper == "BYLAYER" || upper == "BYBLOCK";
}

}  // namespace

// What the drawing has and what it refers to, seen once in file order.
class Survey {
 public:
  explicit Survey(const Database& database) : m_database(database) {}

  // Beyond its common data, an entity other than a text holds nothing the
  // repairs look for but (rarely) hard-owner pointers; of an entity the
  // survey needs no other tags. Owners (330) are looked for only in tables
  // and objects, which keep all their tags.
  static bool wantsAllTags(std::string_view section) { return section == "OBJECTS"; }
  static constexpr int16_t kWantedCodes[] = {6, 7, 8, 100, 360};

  void take(Record& record, std::span<const TagView> all) {
    std::span<const TagView> tags = all.first(extendedDataStart(all));
    const std::string_view type = record.type;
    if (type == "SECTION") {
      m_section = sectionNamed(upperName(findTag(tags, 2).value_or("")));
      if (m_section == Section::Header) applyHeaderDimensionVariables(tags, m_headerStyle);
      m_firstObject = true;
    } else if (type == "ENDSEC") {
      if (m_section == Section::Objects) m_objectsEnd = &record;
      if (m_section == Section::Blocks) m_blocksEnd = &record;
      m_section = Section::None;
    } else if (m_section == Section::Tables || m_section == Section::Objects) {
      noteOwned(record, tags);
      if (m_section == Section::Tables) takeTableRecord(record, tags);
      else takeObject(record, tags);
    } else if (m_section == Section::Entities || m_section == Section::Blocks) {
      if (isTextEntity(type) || type == "DIMENSION") {
        noteOwned(record, tags);
        noteUses(record, tags);
      } else {
        noteCommonData(record, tags);
      }
    }
  }

  Table* table(const std::string& name) {
    auto found = m_tables.find(name);
    return found == m_tables.end() || !found->second.head || !found->second.end ? nullptr : &found->second;
  }
  const UsedNames& layers() const { return m_layers; }
  const UsedNames& linetypes() const { return m_linetypes; }
  const UsedNames& textStyles() const { return m_textStyles; }
  const std::vector<Ownerless>& ownerless() const { return m_ownerless; }
  const std::vector<DictionaryEntry>& entries() const { return m_entries; }
  Record* objectsEnd() const { return m_objectsEnd; }
  Record* blocksEnd() const { return m_blocksEnd; }
  // DIMENSIONs that name no block or one the drawing lacks.
  std::vector<Record*> blocklessDimensions() const {
    std::vector<Record*> blockless;
    for (const auto& [dimension, block] : m_dimensions)
      if (block.empty() || !m_database.block(block)) blockless.push_back(dimension);
    return blockless;
  }
  // The dimension style of that name (upper case), or the header's variables.
  const DimensionStyle& dimensionStyle(const std::string& name) const {
    auto found = m_dimensionStyles.find(name);
    return found == m_dimensionStyles.end() ? m_headerStyle : found->second;
  }
  // The record that owns `handle` by naming it as a dictionary entry or a
  // hard-owned object, or 0.
  uint64_t owningRecord(uint64_t handle) const {
    auto found = m_ownedBy.find(handle);
    return found == m_ownedBy.end() ? 0 : found->second;
  }

 private:
  // A dictionary owns its entries; any record owns what it points to as
  // hard owner (360), its extension dictionary among them (an entity's
  // other hard-owner pointers are not read).
  void noteOwned(Record& record, std::span<const TagView> tags) {
    const bool dictionary = m_section == Section::Objects && isDictionary(record.type);
    for (const TagView& tag : tags)
      if (tag.code == 360 || (dictionary && tag.code == 350)) noteOwned(record, tag.value, dictionary);
  }
  void noteOwned(Record& record, std::string_view handle, bool dictionary) {
    uint64_t owned = parseHandle(handle);
    if (owned == 0 || owned == record.handle) return;
    if (dictionary) m_entries.push_back({&record, owned});
    m_ownedBy.emplace(owned, record.handle);
  }

  // What noteOwned() and noteUses() note of an entity other than a text or
  // a dimension, in one walk over its common data (up to the first subclass
  // marker after AcDbEntity): most records of a drawing are such.
  void noteCommonData(Record& record, std::span<const TagView> tags) {
    bool layer = false, linetype = false;
    for (const TagView& tag : tags.subspan(tags.empty() ? 0 : 1)) {
      switch (tag.code) {
        case 100:
          if (tag.value != "AcDbEntity") return;
          break;
        case 8:
          if (!std::exchange(layer, true)) m_layers.note(tag.value);
          break;
        case 6:
          if (!std::exchange(linetype, true) && !isByName(tag.value)) m_linetypes.note(tag.value);
          break;
        case 360: noteOwned(record, tag.value, false); break;
      }
    }
  }

  void takeTableRecord(Record& record, std::span<const TagView> tags) {
    if (record.type == "TABLE") {
      m_table = &m_tables[upperName(findTag(tags, 2).value_or(""))];
      m_table->head = &record;
    } else if (record.type == "ENDTAB") {
      if (m_table) m_table->end = &record;
      m_table = nullptr;
    } else if (m_table) {
      ++m_table->entries;
      auto name = findTag(tags, 2);
      if (name) m_table->names.insert(upperName(*name));
      if (name && record.type == "DIMSTYLE") {
        DimensionStyle& style = m_dimensionStyles.emplace(upperName(*name), m_headerStyle).first->second;
        applyDimensionStyle(tags, style);
      }
    }
  }

  // The layer and linetype of the common entity data (up to the first
  // subclass after AcDbEntity) and the style of a text.
  void noteUses(Record& record, std::span<const TagView> tags) {
    const std::string_view type = record.type;
    // Its block may come later in the drawing: looked up once all is read.
    if (type == "DIMENSION") m_dimensions.emplace_back(&record, std::string(findTag(tags, 2).value_or("")));
    bool common = true, layer = false, linetype = false, style = false;
    for (size_t i = 1; i < tags.size(); ++i) {
      const TagView& tag = tags[i];
      if (tag.code == 100 && tag.value != "AcDbEntity") common = false;
      if (common && tag.code == 8 && !std::exchange(layer, true)) m_layers.note(tag.value);
      if (common && tag.code == 6 && !std::exchange(linetype, true) && !isByName(tag.value))
        m_linetypes.note(tag.value);
      if (tag.code == 7 && isTextEntity(type) && !std::exchange(style, true)) m_textStyles.note(tag.value);
    }
  }

  // The owner (330) follows the handle and the 102 groups; an object
  // without one, or with none (0) given, is noted. The first object is the
  // root dictionary, which has no owner.
  void takeObject(Record& record, std::span<const TagView> tags) {
    Ownerless missing{&record, 1, false, {}};
    while (missing.at < tags.size()) {
      const TagView& tag = tags[missing.at];
      if (tag.code == 5) {
        ++missing.at;
      } else if (tag.code == 102 && tag.value.starts_with("{")) {
        bool reactors = tag.value == "{ACAD_REACTORS";
        for (++missing.at; missing.at < tags.size() && tags[missing.at].code != 102; ++missing.at)
          if (reactors && tags[missing.at].code == 330) missing.reactors.push_back(parseHandle(tags[missing.at].value));
        ++missing.at;
      } else {
        break;
      }
    }
    bool first = std::exchange(m_firstObject, false);
    if (first || record.handle == 0 || missing.at > tags.size()) return;
    missing.replace = missing.at < tags.size() && tags[missing.at].code == 330;
    if (!missing.replace || parseHandle(tags[missing.at].value) == 0) m_ownerless.push_back(std::move(missing));
  }

  const Database& m_database;
  // Every record asks which section it is in: named once per section.
  enum class Section { None, Header, Tables, Blocks, Entities, Objects, Other };
  static Section sectionNamed(std::string_view name) {
    if (name == "HEADER") return Section::Header;
    if (name == "TABLES") return Section::Tables;
    if (name == "BLOCKS") return Section::Blocks;
    if (name == "ENTITIES") return Section::Entities;
    if (name == "OBJECTS") return Section::Objects;
    return Section::Other;
  }
  Section m_section = Section::None;
  bool m_firstObject = false;
  std::unordered_map<std::string, Table> m_tables;
  Table* m_table = nullptr;
  UsedNames m_layers, m_linetypes, m_textStyles;
  std::vector<Ownerless> m_ownerless;
  std::vector<DictionaryEntry> m_entries;
  std::unordered_map<uint64_t, uint64_t> m_ownedBy;
  Record* m_objectsEnd = nullptr;
  Record* m_blocksEnd = nullptr;
  std::vector<std::pair<Record*, std::string>> m_dimensions;  // with the block each names
  DimensionStyle m_headerStyle;
  std::unordered_map<std::string, DimensionStyle> m_dimensionStyles;
};

namespace {

class Repairer {
 public:
  Repairer(Database& database, Survey& survey) : m_database(database), m_survey(survey) {}

  DrawingRepairs run() {
    addLayers();
    // A layer added takes linetype CONTINUOUS, which must then exist too.
    std::vector<std::string> linetypes = m_survey.linetypes().names();
    if (m_repairs.layers > 0) linetypes.push_back("CONTINUOUS");
    m_repairs.linetypes = addEntries("LTYPE", linetypes, [](const std::string& name) {
      return std::vector<Tag>{{2, name}, {70, "0"}, {3, ""}, {72, "65"}, {73, "0"}, {40, "0.0"}};
    });
    m_repairs.textStyles = addEntries("STYLE", m_survey.textStyles().names(), [](const std::string& name) {
      return std::vector<Tag>{{2, name}, {70, "0"},   {40, "0.0"}, {41, "1.0"}, {50, "0.0"},
                              {71, "0"}, {42, "0.2"}, {3, "txt"},  {4, ""}};
    });
    drawDimensions();
    if (m_database.version() >= "AC1012") {
      // Objects first: an ownerless object may report to one added here, and
      // a repaired drawing must need no more repair when read again.
      addNamedObjects();
      giveOwners();
    }
    m_repairs.tableCounts = static_cast<int>(m_counted.size());
    return m_repairs;
  }

 private:
  // New layers take colour 7 and linetype CONTINUOUS.
  void addLayers() {
    Table* layers = m_survey.table("LAYER");
    if (!layers) return;
    for (const std::string& name : m_survey.layers().names()) {
      if (layers->names.count(upperName(name)) || !m_database.addLayer(name, 7, false, false)) continue;
      layers->names.insert(upperName(name));
      ++m_repairs.layers;
      added(*layers);
    }
  }

  template <typename Body>
  int addEntries(const char* tableName, const std::vector<std::string>& names, Body body) {
    Table* table = m_survey.table(tableName);
    if (!table) return 0;
    int count = 0;
    for (const std::string& name : names) {
      if (!table->names.insert(upperName(name)).second) continue;
      m_database.addRecord(table->end, tableName, withSubclasses(tableName, body(name)), table->head);
      ++count;
      added(*table);
    }
    return count;
  }

  // Table entries from R13 on carry their class markers before the name.
  std::vector<Tag> withSubclasses(std::string_view tableName, std::vector<Tag> body) const {
    if (m_database.version() < "AC1012") return body;
    std::string subclass = tableName == "LTYPE" ? "AcDbLinetypeTableRecord" : "AcDbTextStyleTableRecord";
    body.insert(body.begin(), {{100, "AcDbSymbolTableRecord"}, {100, std::move(subclass)}});
    return body;
  }

  // One more entry: the table's count (its 70) grows with it when it was
  // already full.
  void added(Table& table) {
    ++table.entries;
    RecordTags tags(*table.head);
    std::optional<std::string_view> count = tags.find(70);
    int64_t stated = 0;
    if (!count || !parseInteger(*count, stated) || stated >= static_cast<int64_t>(table.entries)) return;
    if (!m_database.edit(*table.head)) return;
    for (Tag& tag : table.head->stored->tags)
      if (tag.code == 70) {
        tag.value = formatInteger(static_cast<int64_t>(table.entries));
        m_counted.insert(table.head);
        return;
      }
  }

  // A dimension without its block gets one with its picture: under the
  // name it gives, or a new anonymous name it is then given.
  void drawDimensions() {
    const bool subclasses = m_database.version() >= "AC1012";
    Table* blockRecords = m_survey.table("BLOCK_RECORD");
    if (!m_survey.blocksEnd() || (subclasses && !blockRecords)) return;
    for (Record* dimension : m_survey.blocklessDimensions()) {
      RecordTags read(*dimension);
      std::string name(read.find(2).value_or(""));
      // Two dimensions naming one missing block cannot both have it drawn.
      if (!name.empty() && m_blockNames.count(upperName(name))) continue;
      std::optional<std::string_view> style = read.find(3);
      std::vector<PictureEntity> picture =
          dimensionPicture(read.ordinary(), m_survey.dimensionStyle(upperName(style.value_or("STANDARD"))), subclasses);
      if (picture.empty() || !m_database.edit(*dimension)) continue;
      std::vector<Tag>& tags = dimension->stored->tags;
      auto named = std::find_if(tags.begin(), tags.end(), [](const Tag& tag) { return tag.code == 2; });
      if (name.empty()) name = newDimensionBlockName();
      if (named == tags.end()) tags.insert(tags.begin() + static_cast<std::ptrdiff_t>(blockNameAt(tags)), {2, name});
      else named->value = name;
      m_blockNames.insert(upperName(name));
      addBlock(name, std::move(picture), subclasses ? blockRecords : nullptr);
      ++m_repairs.dimensionPictures;
    }
  }

  // "*D" and the next number no block has.
  std::string newDimensionBlockName() {
    for (unsigned n = 1;; ++n) {
      std::string name = "*D" + std::to_string(n);
      if (!m_database.block(name) && !m_blockNames.count(name)) return name;
    }
  }

  // The block name goes first in the dimension's own data.
  static size_t blockNameAt(const std::vector<Tag>& tags) {
    for (size_t i = 1; i < tags.size(); ++i)
      if (tags[i].code == 100 && tags[i].value == "AcDbDimension") return i + 1;
    for (size_t i = 1; i < tags.size(); ++i)
      if (tags[i].code == 10) return i;
    return tags.size();
  }

  // BLOCK, its entities and ENDBLK at the end of the BLOCKS section; from
  // R13 on, owned by a new BLOCK_RECORD entry.
  void addBlock(const std::string& name, std::vector<PictureEntity> picture, Table* blockRecords) {
    Record* owner = nullptr;
    if (blockRecords) {
      owner = m_database.addRecord(blockRecords->end, "BLOCK_RECORD",
                                   {{100, "AcDbSymbolTableRecord"}, {100, "AcDbBlockTableRecord"}, {2, name}},
                                   blockRecords->head);
      added(*blockRecords);
    }
    auto common = [&](const char* subclass, std::vector<Tag> body) {
      std::vector<Tag> tags;
      if (blockRecords) tags.insert(tags.end(), {{100, "AcDbEntity"}, {8, "0"}, {100, subclass}});
      else tags.push_back({8, "0"});
      tags.insert(tags.end(), body.begin(), body.end());
      return tags;
    };
    Record* end = m_survey.blocksEnd();
    m_database.addRecord(
        end, "BLOCK",
        common("AcDbBlockBegin",
               {{2, name}, {70, name.starts_with('*') ? "1" : "0"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {3, name}}),
        owner);
    for (PictureEntity& entity : picture) m_database.addRecord(end, entity.type, std::move(entity.tags), owner);
    m_database.addRecord(end, "ENDBLK", common("AcDbBlockEnd", {}), owner);
  }

  // The record that names an object as its own owns it; failing that, the
  // one object it reports to.
  void giveOwners() {
    for (const Ownerless& object : m_survey.ownerless()) {
      uint64_t owner = m_survey.owningRecord(object.record->handle);
      if (owner == 0 && object.reactors.size() == 1) owner = object.reactors.front();
      if (owner == 0 || !m_database.byHandle(owner) || !m_database.edit(*object.record)) continue;
      std::vector<Tag>& tags = object.record->stored->tags;
      Tag given{330, formatHandle(owner)};
      if (object.replace) tags[object.at] = std::move(given);
      else tags.insert(tags.begin() + static_cast<std::ptrdiff_t>(object.at), std::move(given));
      ++m_repairs.owners;
    }
  }

  // An entry naming no object gets an empty XRECORD under that handle: the
  // name stays, and whoever looks it up finds no data rather than nothing.
  // Its owner is the record that names it first, as giveOwners() would find
  // when the drawing is read again; the dictionary when that one has no handle.
  void addNamedObjects() {
    if (!m_survey.objectsEnd()) return;
    for (const DictionaryEntry& entry : m_survey.entries()) {
      // The highest handle leaves no next one to give.
      if (entry.handle == UINT64_MAX || m_database.byHandle(entry.handle)) continue;
      uint64_t owning = m_survey.owningRecord(entry.handle);
      std::string handle = formatHandle(entry.handle), owner = formatHandle(owning ? owning : entry.dictionary->handle);
      m_database.insertRecord(m_survey.objectsEnd(), {{0, "XRECORD"},
                                                      {5, handle},
                                                      {102, "{ACAD_REACTORS"},
                                                      {330, owner},
                                                      {102, "}"},
                                                      {330, owner},
                                                      {100, "AcDbXrecord"},
                                                      {280, "1"}});
      ++m_repairs.namedObjects;
    }
  }

  Database& m_database;
  Survey& m_survey;
  DrawingRepairs m_repairs;
  std::unordered_set<const Record*> m_counted;
  std::unordered_set<std::string> m_blockNames;  // added here, upper case
};

void describe(std::string& line, int count, const char* one, const char* many) {
  if (count == 0) return;
  line += line.empty() ? "repaired on loading: " : ", ";
  line += std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string DrawingRepairs::summary() const {
  std::string line;
  describe(line, layers, "layer entry added", "layer entries added");
  describe(line, linetypes, "linetype entry added", "linetype entries added");
  describe(line, textStyles, "text style entry added", "text style entries added");
  describe(line, tableCounts, "table count corrected", "table counts corrected");
  describe(line, dimensionPictures, "dimension given its picture block", "dimensions given their picture blocks");
  describe(line, owners, "object given its owner", "objects given their owners");
  describe(line, namedObjects, "empty object added for a dictionary entry",
           "empty objects added for dictionary entries");
  return line.empty() ? line : line + ".";
}

DrawingRepair::DrawingRepair(Database& database) : m_database(database), m_survey(std::make_unique<Survey>(database)) {}

DrawingRepair::~DrawingRepair() = default;

bool DrawingRepair::wantsAllTags(std::string_view section) const { return Survey::wantsAllTags(section); }
std::span<const int16_t> DrawingRepair::wantedCodes() const { return Survey::kWantedCodes; }
void DrawingRepair::take(Record& record, std::span<const TagView> tags) { m_survey->take(record, tags); }

DrawingRepairs DrawingRepair::run() { return Repairer(m_database, *m_survey).run(); }

}  // namespace db
