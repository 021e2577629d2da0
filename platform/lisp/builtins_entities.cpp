// Entity names of the current drawing: entlast, entnext, handent.
#include <charconv>

#include "db/database.h"
#include "lisp/builtins.h"

namespace lisp {
namespace {

using db::Record;

Value entityValue(Interpreter& lisp, Record* record) {
  ads_name name;
  if (!record || acdbGetAdsName(name, AcDbObjectId(record)) != Acad::eOk) return nullptr;
  return lisp.makeName(Type::Entity, name);
}

// The first entity not erased at or after `from` in drawing order.
Record* liveFrom(const std::vector<Record*>& entities, size_t from) {
  for (size_t i = from; i < entities.size(); ++i)
    if (!entities[i]->erased) return entities[i];
  return nullptr;
}

Value entlast(Interpreter& lisp, Value args) {
  Args(args).end();
  db::Database* database = db::currentDatabase();
  if (!database) return nullptr;
  const std::vector<Record*>& entities = database->entities();
  for (auto it = entities.rbegin(); it != entities.rend(); ++it)
    if (!(*it)->erased) return entityValue(lisp, *it);
  return nullptr;
}

// (entnext) the first entity; (entnext e) the one after e.
Value entnext(Interpreter& lisp, Value args) {
  Args list(args);
  bool hasStart = list.more();
  Value start = list.optional();
  list.end();
  if (hasStart && !isType(start, Type::Entity)) badArgument("lentityp", start);
  db::Database* database = db::currentDatabase();
  if (!database) return nullptr;
  const std::vector<Record*>& entities = database->entities();
  if (!hasStart) return entityValue(lisp, liveFrom(entities, 0));
  Record* current = db::recordOf(start->name);
  for (size_t i = 0; current && i < entities.size(); ++i)
    if (entities[i] == current) return entityValue(lisp, liveFrom(entities, i + 1));
  return nullptr;
}

// (handent "2F"): the entity with that handle, nil when there is none.
Value handent(Interpreter& lisp, Value args) {
  Args list(args);
  const std::string& text = stringArg(list.next());
  list.end();
  uint64_t handle = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), handle, 16);
  db::Database* database = db::currentDatabase();
  if (error != std::errc() || end != text.data() + text.size() || handle == 0 || !database) return nullptr;
  for (const auto& record : database->records())
    if (record->entity && !record->erased && record->handle == handle) return entityValue(lisp, record);
  return nullptr;
}

}  // namespace

void defineEntityBuiltins(Interpreter& lisp) {
  lisp.defineSubr("entlast", entlast);
  lisp.defineSubr("entnext", entnext);
  lisp.defineSubr("handent", handent);
}

}  // namespace lisp
