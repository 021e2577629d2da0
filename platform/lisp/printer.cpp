// The printer walks lists with an explicit stack, so deep structures built by
// a program print without exhausting the stack.
#include "lisp/printer.h"

#include <cstdio>
#include <vector>

namespace lisp {
namespace {

std::string quotedString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\x1b': out += "\\e"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char code[8];
          std::snprintf(code, sizeof code, "\\%03o", static_cast<unsigned char>(c));
          out += code;
        } else {
          out.push_back(c);
        }
    }
  }
  return out + "\"";
}

std::string nameText(const char* kind, long id) {
  char text[64];
  std::snprintf(text, sizeof text, "<%s: %lx>", kind, static_cast<unsigned long>(id));
  return text;
}

std::string atomText(Value value, bool quoted) {
  if (!value) return "nil";
  switch (value->type) {
    case Type::Int: return std::to_string(value->integer);
    case Type::Real: return realText(value->real);
    case Type::String: return quoted ? quotedString(value->text) : value->text;
    case Type::Symbol: return value->text;
    case Type::Entity: return nameText("Entity name", value->name[0]);
    case Type::SelectionSet: return nameText("Selection set", value->name[0]);
    case Type::Subr: return "<Subr: " + value->text + ">";
    case Type::Cons: break;
  }
  return "";
}

}  // namespace

std::string realText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6g", value);
  std::string out = text;
  // "inf" and "nan" carry no point; everything else gets one.
  if (out.find_first_of(".in") == std::string::npos) {
    size_t exponent = out.find('e');
    out.insert(exponent == std::string::npos ? out.size() : exponent, ".0");
  }
  return out;
}

std::string toText(Value value, bool quoted) {
  if (!isCons(value)) return atomText(value, quoted);
  std::string out = "(";
  // Each entry is the rest of an open list still to print.
  std::vector<Value> open{value};
  bool first = true;
  while (!open.empty()) {
    Value& rest = open.back();
    if (!rest) {
      out += ")";
      open.pop_back();
      first = false;
      continue;
    }
    if (!isCons(rest)) {
      out += " . " + atomText(rest, quoted) + ")";
      open.pop_back();
      first = false;
      continue;
    }
    if (!first) out += " ";
    Value item = rest->car;
    rest = rest->cdr;
    if (isCons(item)) {
      out += "(";
      open.push_back(item);
      first = true;
    } else {
      out += atomText(item, quoted);
      first = false;
    }
  }
  return out;
}

}  // namespace lisp
