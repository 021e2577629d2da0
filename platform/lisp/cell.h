// AutoLISP values: cells kept by the interpreter's store, nil being nullptr.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

namespace lisp {

class Interpreter;
struct Cell;
using Value = Cell*;  // nullptr is nil

// A built-in function. Receives its arguments evaluated, or, for a special
// form, as written.
using Subr = Value (*)(Interpreter& lisp, Value args);

enum class Type : uint8_t { Int, Real, String, Symbol, Cons, Entity, SelectionSet, Subr };

struct Cell {
  Type type = Type::Int;
  bool marked = false;
  bool special = false;  // a Subr that takes its arguments unevaluated
  bool owned = false;    // a selection set that ssget made, freed with the cell
  long integer = 0;
  double real = 0;
  long name[2] = {0, 0};  // entity names and selection sets
  std::string text;       // string contents, symbol name (upper case), Subr name
  Value car = nullptr;    // a cons's first, a symbol's value
  Value cdr = nullptr;
  Subr subr = nullptr;
};

inline bool isCons(Value v) { return v && v->type == Type::Cons; }
inline bool isType(Value v, Type t) { return v && v->type == t; }

// Owns every cell. Cells no longer reachable from a symbol are reused after a
// collection, which the interpreter runs only between top-level evaluations.
class Store {
 public:
  Value make(Type type);
  // Interned symbols; names are matched without regard to case.
  Value symbol(const std::string& name);
  // Frees what no symbol reaches. Walks without recursion, so arbitrarily
  // deep structures cannot exhaust the stack.
  void collect();
  size_t liveCount() const { return m_cells.size() - m_free.size(); }
  // True once enough cells were made since the last collection to be worth
  // walking the whole store again.
  bool collectionDue() const { return m_madeSinceCollection >= kCollectionInterval; }

 private:
  static constexpr size_t kCollectionInterval = 20000;
  std::deque<Cell> m_cells;
  std::vector<Cell*> m_free;
  std::unordered_map<std::string, Cell*> m_symbols;
  size_t m_madeSinceCollection = 0;
};

}  // namespace lisp
