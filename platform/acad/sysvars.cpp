// System variables: a small table of typed values by name (any case).
#include "acad/sysvars.h"

#include <map>

#include "acad/command_stack.h"
#include "acadmem.h"
#include "adslib.h"
#include "db/database.h"

namespace acad::sysvars {
namespace {

struct Variable {
  int type;  // RTSHORT, RTREAL or RTSTR
  short integer = 0;
  double real = 0.0;
  std::string text;
  bool readOnly = false;
};

std::map<std::string, Variable>& table() {
  static std::map<std::string, Variable> variables = {
      {"cmdecho", {RTSHORT, 1, 0.0, "", false}},         {"filedia", {RTSHORT, 1, 0.0, "", false}},
      {"expert", {RTSHORT, 0, 0.0, "", false}},          {"acadver", {RTSTR, 0, 0.0, "14.0", true}},
      {"dwgname", {RTSTR, 0, 0.0, "Drawing.dwg", true}}, {"dwgprefix", {RTSTR, 0, 0.0, "", true}},
  };
  return variables;
}

// TILEMODE belongs to the drawing: it is read from and written to the
// current one, so that ALL and a save see what was set.
bool isTileMode(const char* name) { return name && acad::commands::folded(name) == "tilemode"; }

int getTileMode(resbuf* result) {
  db::Database* database = db::currentDatabase();
  if (!database) return RTERROR;
  result->restype = RTSHORT;
  result->resval.rint = database->tileMode() ? 1 : 0;
  return RTNORM;
}

int setTileMode(const resbuf* value) {
  db::Database* database = db::currentDatabase();
  if (!database || value->restype != RTSHORT || (value->resval.rint != 0 && value->resval.rint != 1)) return RTERROR;
  database->setTileMode(value->resval.rint == 1);
  return RTNORM;
}

Variable* find(const char* name) {
  if (!name) return nullptr;
  auto found = table().find(acad::commands::folded(name));
  return found == table().end() ? nullptr : &found->second;
}
}  // namespace

bool commandEcho() { return find("CMDECHO")->integer != 0; }

void setHostString(const std::string& name, const std::string& value) {
  Variable& variable = table()[acad::commands::folded(name)];
  variable.type = RTSTR;
  variable.text = value;
}

}  // namespace acad::sysvars

// Fills `result` in place (its rbnext is left alone); a string value is a
// copy from the host allocator that the caller releases.
extern "C" int ads_getvar(const char* name, resbuf* result) {
  if (result && acad::sysvars::isTileMode(name)) return acad::sysvars::getTileMode(result);
  const acad::sysvars::Variable* variable = acad::sysvars::find(name);
  if (!variable || !result) return RTERROR;
  result->restype = static_cast<short>(variable->type);
  switch (variable->type) {
    case RTSHORT: result->resval.rint = variable->integer; break;
    case RTREAL: result->resval.rreal = variable->real; break;
    default:
      result->resval.rstring = acad__strdup(variable->text.c_str());
      if (!result->resval.rstring) return RTERROR;
  }
  return RTNORM;
}

// The value must have the variable's type; read-only variables refuse.
extern "C" int ads_setvar(const char* name, const resbuf* value) {
  if (value && acad::sysvars::isTileMode(name)) return acad::sysvars::setTileMode(value);
  acad::sysvars::Variable* variable = acad::sysvars::find(name);
  if (!variable || !value || variable->readOnly || value->restype != variable->type) return RTERROR;
  switch (variable->type) {
    case RTSHORT: variable->integer = value->resval.rint; break;
    case RTREAL: variable->real = value->resval.rreal; break;
    default:
      if (!value->resval.rstring) return RTERROR;
      variable->text = value->resval.rstring;
  }
  return RTNORM;
}
