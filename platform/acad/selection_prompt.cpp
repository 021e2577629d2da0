// Asking for objects: ads_ssget (interactive answers, "X", "L") and ads_entsel.
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>

#include "acad/console.h"
#include "acad/selection.h"
#include "adslib.h"
#include "db/database.h"
#include "db/number_text.h"
#include "db/record_tags.h"

namespace acad::selection {
namespace {

using db::Record;

std::string trimmed(const std::string& text) {
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return {};
  size_t end = text.find_last_not_of(" \t");
  return text.substr(start, end - start + 1);
}

bool selectable(const Record* record) { return record && record->entity && !record->erased; }

Record* lastEntity() {
  db::Database* database = db::currentDatabase();
  if (!database) return nullptr;
  const auto& entities = database->entities();
  for (auto it = entities.rbegin(); it != entities.rend(); ++it)
    if (!(*it)->erased) return *it;
  return nullptr;
}

// The value an entity has for a filter's group code, with the defaults of
// tags a drawing may leave out.
std::string valueFor(const Record& record, int code) {
  db::RecordTags tags(record);
  if (auto value = tags.find(code)) return std::string(*value);
  if (code == 8) return "0";
  if (code == 62) return "256";
  return {};
}

bool matches(const Record& record, const resbuf* item) {
  // A list cannot hold group 0 itself (0 ends ads_buildlist): RTDXF0 stands for it.
  int code = item->restype == RTDXF0 ? 0 : item->restype;
  std::string value = valueFor(record, code);
  int64_t integer = 0;
  double real = 0;
  switch (ads_reskind(item->restype)) {
    case ResKind::String:
      return item->resval.rstring && (std::strcmp(item->resval.rstring, "*") == 0 ||
                                      db::upperName(value) == db::upperName(item->resval.rstring));
    case ResKind::Short: return db::parseInteger(value, integer) && integer == item->resval.rint;
    case ResKind::Long: return db::parseInteger(value, integer) && integer == item->resval.rlong;
    case ResKind::Real: return db::parseReal(value, real) && real == item->resval.rreal;
    default: return false;
  }
}

// The ENTITIES section holds model space and the active layout's paper
// space; group 67 flags the paper-space entities.
bool inPaperSpace(const Record& record) {
  if (record.inText()) return record.paperSpaceAsRead;
  int64_t flag = 0;
  return db::parseInteger(valueFor(record, 67), flag) && flag != 0;
}

// What ALL picks: the entities of the current space, model space while
// TILEMODE is 1.
std::vector<Record*> currentSpaceEntities() {
  std::vector<Record*> found = allEntities(nullptr);
  db::Database* database = db::currentDatabase();
  bool paperSpace = database && !database->tileMode();
  std::erase_if(found, [paperSpace](const Record* record) { return inPaperSpace(*record) != paperSpace; });
  return found;
}

void report(size_t found) {
  std::string text = "\n";
  text += std::to_string(found);
  text += " found";
  acad::console::write(text);
}

// Adds entities not in the set yet; reports how many the answer found.
// Selecting everything of a large drawing must stay linear. An answer finds
// each entity once, so the first to find any is taken whole; `members`, the
// set's entities for look-up, is made when a later answer needs it.
void addAll(std::vector<Record*>& set, std::unordered_set<const Record*>& members, std::vector<Record*> found) {
  const size_t count = found.size();
  if (set.empty()) {
    set = std::move(found);
  } else {
    if (members.empty()) members.insert(set.begin(), set.end());
    for (Record* record : found)
      if (members.insert(record).second) set.push_back(record);
  }
  report(count);
}

// Answers until an empty one; false when the input ran out or was cancelled.
bool askForObjects(std::vector<Record*>& set) {
  std::unordered_set<const Record*> members;
  std::string answer;
  // A command that printed the prompt itself is not prompted twice.
  std::string prompt = acad::console::transcriptEndsWith("Select objects: ") ? "" : "\nSelect objects: ";
  for (; acad::console::readLine(prompt, answer); prompt = "\nSelect objects: ") {
    std::string text = trimmed(answer);
    std::string upper = db::upperName(text);
    if (text.empty()) return true;
    if (upper == "ALL") {
      addAll(set, members, currentSpaceEntities());
    } else if (upper.rfind("L=", 0) == 0 && text.size() > 2) {
      resbuf layer{nullptr, 8, {}};
      std::string name = text.substr(2);
      layer.resval.rstring = name.data();
      addAll(set, members, allEntities(&layer));
    } else if (Record* record = entityOfAnswer(text)) {
      addAll(set, members, {record});
    } else {
      acad::console::write("\n*Invalid selection*\nExpects a handle, Last, ALL or L=layer");
    }
  }
  return false;
}

}  // namespace

Record* entityOfAnswer(std::string_view answer) {
  std::string upper = db::upperName(answer);
  if (upper == "L" || upper == "LAST") return lastEntity();
  db::Database* database = db::currentDatabase();
  uint64_t handle = db::parseHandle(answer);
  if (!database || handle == 0) return nullptr;
  Record* record = database->byHandle(handle);
  return selectable(record) ? record : nullptr;
}

std::vector<Record*> allEntities(const resbuf* filter) {
  std::vector<Record*> found;
  db::Database* database = db::currentDatabase();
  if (!database) return found;
  // Most drawings are selected whole: one block, not a million entities'
  // worth of growing copies.
  found.reserve(database->entities().size());
  for (Record* record : database->entities()) {
    if (record->erased) continue;
    bool all = true;
    for (const resbuf* item = filter; item && all; item = item->rbnext) all = matches(*record, item);
    if (all) found.push_back(record);
  }
  return found;
}

}  // namespace acad::selection

extern "C" int ads_ssget(const char* mode, const void* /*pt1*/, const void* /*pt2*/, const resbuf* filter,
                         ads_name ss) {
  if (!ss || !db::currentDatabase()) return RTERROR;
  std::vector<db::Record*> found;
  std::string upper = db::upperName(mode ? mode : "");
  if (!upper.empty() && upper[0] == '_') upper.erase(0, 1);
  if (!mode) {
    if (!acad::selection::askForObjects(found)) return RTCAN;
  } else if (upper == "X") {
    found = acad::selection::allEntities(filter);
  } else if (upper == "L") {
    if (db::Record* last = acad::selection::entityOfAnswer("L")) found.push_back(last);
  } else {
    return RTERROR;
  }
  if (found.empty()) return RTERROR;
  acad::selection::makeSet(found, ss);
  return RTNORM;
}

// A script answers with the entity's handle (or "L" for the last one).
extern "C" int ads_entsel(const char* prompt, ads_name entity, ads_point picked) {
  if (!entity || !db::currentDatabase()) return RTERROR;
  std::string answer;
  if (!acad::console::readLine(prompt ? prompt : "\nSelect object: ", answer)) return RTCAN;
  db::Record* record = acad::selection::entityOfAnswer(acad::selection::trimmed(answer));
  if (!record) acad::console::write("\n*Invalid selection*\nExpects a handle or Last");
  if (!record || acdbGetAdsName(entity, AcDbObjectId(record)) != Acad::eOk) return RTERROR;
  if (picked) {
    db::RecordTags tags(*record);
    for (int axis = 0; axis < 3; ++axis) {
      picked[axis] = 0;
      if (auto value = tags.find(10 * (axis + 1))) db::parseReal(*value, picked[axis]);
    }
  }
  return RTNORM;
}
